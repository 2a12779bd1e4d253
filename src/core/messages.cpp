#include "core/messages.h"

namespace dorvane {

void TMessageService::Show(const QString& text, TMessageIcon icon) {
    const TMessageKind kind =
        icon == TMessageIcon::Warning ? TMessageKind::Warning : TMessageKind::Information;
    if (responder_)
        responder_(kind, text);
    else
        Present(kind, text);
}

bool TMessageService::AskYesNo(const QString& text) {
    return responder_ ? responder_(TMessageKind::Question, text) : Ask(text);
}

} // namespace dorvane
