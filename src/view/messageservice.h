// The one way the game window shows a message box. Everything the program says
// to the player goes through here with the caption "Dorvane", so a test can
// install a responder that reads each text and answers it instead of a person.
#pragma once

#include "play/game_view.h"

#include <QString>

#include <functional>

class QWidget;

namespace dorvane {

enum class TMessageKind { Information, Warning, Question };

class TMessageService {
public:
    // Returns the answer to a question (true = Yes); ignored for the others.
    using TResponder = std::function<bool(TMessageKind kind, const QString& text)>;

    explicit TMessageService(QWidget* owner) : owner_(owner) {}

    void Show(const QString& text, TMessageIcon icon);
    bool AskYesNo(const QString& text);

    // With a responder no dialog is shown; tests answer through it.
    void SetResponder(TResponder responder) { responder_ = std::move(responder); }

private:
    QWidget* owner_;
    TResponder responder_;
};

} // namespace dorvane
