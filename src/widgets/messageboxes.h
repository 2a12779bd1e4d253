// The message service drawn as Qt message boxes over an owner window.
#pragma once

#include "core/messages.h"

class QWidget;

namespace dorvane {

class TMessageBoxes final : public TMessageService {
public:
    explicit TMessageBoxes(QWidget* owner) : owner_(owner) {}

protected:
    void Present(TMessageKind kind, const QString& text) override;
    bool Ask(const QString& text) override;

private:
    QWidget* owner_;
};

} // namespace dorvane
