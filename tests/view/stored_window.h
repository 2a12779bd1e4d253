// The game window as the start-up makes it, on a real settings store, with
// every message recorded and every question answered Yes unless the test
// says otherwise. Its music engine is stepped by the test, without sound,
// unless music says otherwise.
#pragma once

#include "view/mainform.h"

#include "game/random.h"

#include <QStringList>
#include <QTest>

namespace dorvane::test {

struct TWindow {
    explicit TWindow(SettingsAccess& store, const TMusicParts& music = {})
        : form(random, store, music) {
        form.Messages().SetResponder([this](TMessageKind kind, const QString& text) {
            messages << text;
            return kind != TMessageKind::Question || answer;
        });
        form.show();
        // The window's first hint search runs on the worker; commands wait
        // for it as a player's would.
        idle = QTest::qWaitFor([this] { return !form.Controller().Blocked(); }, 10000);
    }
    TScriptedRandom random;
    TMainForm form;
    bool idle = false;
    QStringList messages;
    bool answer = true;
};

} // namespace dorvane::test
