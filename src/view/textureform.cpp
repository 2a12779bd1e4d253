#include "textureform.h"
#include "widgets/window_mode.h"

#include "assets.h"

#include "widgets/attention.h"
#include "widgets/dialogkeys.h"
#include "widgets/dialoglayout.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include <functional>

namespace dorvane {

namespace {

constexpr int kFrameSize = 100;
constexpr int kPictureSize = 96;

// A raised frame with a picture that reports a left click.
class TTextureFrame : public QFrame {
public:
    TTextureFrame(QWidget* parent, std::function<void()> clicked)
        : QFrame(parent), clicked_(std::move(clicked)) {
        setFrameStyle(QFrame::WinPanel | QFrame::Raised);
        setLineWidth(2);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) clicked_();
        QFrame::mousePressEvent(event);
    }

private:
    std::function<void()> clicked_;
};

} // namespace

TTextureForm::TTextureForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Текстура"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    for (int i = 0; i < 5; ++i) {
        const int number = i + 1;
        auto* frame = new TTextureFrame(this, [this, number] { SetNewNumber(number); });
        frame->setGeometry(2 + i * (kFrameSize + 1), 2, kFrameSize, kFrameSize);
        auto* picture = new QLabel(frame);
        const int inset = (kFrameSize - kPictureSize) / 2;
        picture->setGeometry(inset, inset, kPictureSize, kPictureSize);
        picture->setScaledContents(true);
        picture->setPixmap(QPixmap::fromImage(BuiltinTexture(number)));
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        frames_[std::size_t(i)] = frame;
    }

    // The button bar along the bottom, buttons to the right as in every
    // dialog of the program.
    std::tie(apply_, close_) =
        AddButtonBar(this, QStringLiteral("Применить"), QStringLiteral("Закрыть"));
    close_->setDefault(true);
    close_->setFocus();
    InstallSwallowAltKey(this);
    new TAttention(this, QStringLiteral("TTextureForm"), close_);
}

QFrame* TTextureForm::Frame(int number) const {
    if (number < 1 || number > 5) return nullptr;
    return frames_[std::size_t(number - 1)];
}

void TTextureForm::SetNewNumber(int v) {
    if (v == newNumber_) return;
    if (QFrame* old = Frame(newNumber_)) old->setFrameShadow(QFrame::Raised);
    newNumber_ = v;
    if (QFrame* now = Frame(newNumber_)) now->setFrameShadow(QFrame::Sunken);
}

std::optional<int> TTextureForm::Choose(QWidget* parent, const QString& caption, int current) {
    TTextureForm form(parent);
    form.setWindowTitle(caption);
    form.SetNewNumber(current);
    const TModalScope modal;
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.NewNumber();
}

void TTextureForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

} // namespace dorvane
