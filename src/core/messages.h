// The program's message boxes: one caption, two icons for statements and the
// question box, shared by the game, the music player and the shell. The
// service decides nothing; it shows what its caller says. The widget side
// (src/widgets/messageboxes.h) draws the boxes; a test installs a responder
// instead, which reads every text and answers the questions.
#pragma once

#include <QString>

#include <functional>

namespace dorvane {

// Every message box of the program carries this caption.
inline constexpr const char* kMessageCaption = "Dorvane";

enum class TMessageIcon { Information, Warning };
enum class TMessageKind { Information, Warning, Question };

class TMessageService {
public:
    // Returns the answer to a question (true = Yes); ignored for the others.
    using TResponder = std::function<bool(TMessageKind kind, const QString& text)>;

    virtual ~TMessageService() = default;

    // A statement: shown without waiting for the player to read it, so that
    // a caller entered from a timer or a worker's result never runs a nested
    // event loop. The box is modal for its window.
    void Show(const QString& text, TMessageIcon icon);
    // A Yes/No question with the question icon; true only for Yes. It waits
    // for the answer, so only a command of the player may ask.
    bool AskYesNo(const QString& text);

    // With a responder no box is shown; tests answer through it.
    void SetResponder(TResponder responder) { responder_ = std::move(responder); }

protected:
    virtual void Present(TMessageKind kind, const QString& text) = 0;
    virtual bool Ask(const QString& text) = 0;

private:
    TResponder responder_;
};

// The messages shared by several windows.
// "Изменения вступят в силу после перезагрузки программы «Dorvane»" (information).
void MsgRestartNeeded(TMessageService& messages);
// "Команду невозможно выполнить!" (warning): a launch that every way failed.
void MsgCannotExecute(TMessageService& messages);
// "Нет доступа к интерфейсу!" (warning).
void MsgNoInterface(TMessageService& messages);
// "Очистить список, Вы уверены?"; true only for Yes.
bool ConfirmClearList(TMessageService& messages);

} // namespace dorvane
