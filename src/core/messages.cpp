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

void MsgRestartNeeded(TMessageService& messages) {
    messages.Show(QStringLiteral("Изменения вступят в силу после перезагрузки программы «") +
                      QString::fromUtf8(kMessageCaption) + QStringLiteral("»"),
                  TMessageIcon::Information);
}

void MsgCannotExecute(TMessageService& messages) {
    messages.Show(QStringLiteral("Команду невозможно выполнить!"), TMessageIcon::Warning);
}

void MsgNoInterface(TMessageService& messages) {
    messages.Show(QStringLiteral("Нет доступа к интерфейсу!"), TMessageIcon::Warning);
}

bool ConfirmClearList(TMessageService& messages) {
    return messages.AskYesNo(QStringLiteral("Очистить список, Вы уверены?"));
}

} // namespace dorvane
