#include "textureform.h"

#include "assets.h"

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
constexpr int kButtonBar = 27;

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
    const int top = kClientHeight - kButtonBar;
    apply_ = new QPushButton(QStringLiteral("Применить"), this);
    close_ = new QPushButton(QStringLiteral("Закрыть"), this);
    apply_->setGeometry(kClientWidth - 2 * 82 - 4, top + 1, 80, 25);
    close_->setGeometry(kClientWidth - 82 - 2, top + 1, 80, 25);
    close_->setDefault(true);
    close_->setFocus();
    connect(apply_, &QPushButton::clicked, this, &QDialog::accept);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
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
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.NewNumber();
}

void TTextureForm::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

} // namespace dorvane
