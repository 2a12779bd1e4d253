// The program's own non-modal message window: an icon, a text and "OK",
// always on top and centred on the screen. One exists at a time: a second
// message replaces the text of the one shown and brings it forward, so a
// message never waits for the player and never stacks up.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace dorvane {

enum class TSystemIcon { None, Information, Warning, Question, Error };

class TMessageForm final : public QDialog {
public:
    static constexpr int kIconLeft = 12;
    static constexpr int kIconSize = 32;
    static constexpr int kMinTextRight = 200;

    explicit TMessageForm(QWidget* parent = nullptr);
    ~TMessageForm() override;

    // The icon and the text; the window takes the size they need.
    void SetText(const QString& text, TSystemIcon icon);

    // The window shown now, if any.
    static TMessageForm* Current();

    QLabel* Icon() const { return image_; }
    QLabel* Text() const { return text_; }
    QPushButton* OkButton() const { return ok_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* image_ = nullptr;
    QLabel* text_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// Shows the text in the message window: the one already open takes it and
// comes forward (restored, onto the screen, activated); otherwise a new one
// opens. Returns at once.
void ShowInfoMessage(const QString& text, TSystemIcon icon);

// "Имеются незавершенные операции!" in the message window.
void MsgUnfinishedOperations();

// Brings a window forward: restored when minimised, moved back to the centre
// of the screen when it lies outside, raised and, when asked, activated.
void BringWindowForward(QWidget* window, bool makeForeground, bool moveOntoScreen);

} // namespace dorvane
