#include "widgets/aboutform.h"

#include "widgets/attention.h"
#include "widgets/dialogkeys.h"
#include "widgets/dialoglayout.h"
#include "widgets/kvoalabel.h"

#include "core/messages.h"
#include "core/size_text.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace dorvane {

namespace {

constexpr int kLeft = 88;
constexpr int kWidth = 301;
constexpr int kLine = 16;
constexpr int kTopPanel = 90;
constexpr int kBottomPanel = 27;
constexpr int kValueLeft = 282;

QLineEdit* ReadOnlyLine(QWidget* parent, int top, const QString& text, bool buttonFace) {
    auto* edit = new QLineEdit(text, parent);
    edit->setGeometry(kLeft, top, kWidth, kLine);
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignCenter);
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setTextMargins(0, 0, 0, 0);
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Text, Qt::black);
    if (buttonFace) colours.setColor(QPalette::Base, colours.color(QPalette::Button));
    edit->setPalette(colours);
    return edit;
}

QLabel* Label(QWidget* parent, int left, int top, const QString& text, int width = 0) {
    auto* label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize();
    label->resize(width > 0 ? width : label->width(), kLine);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

TKvoALabel* Link(QWidget* parent, int top, const QString& text) {
    auto* link = new TKvoALabel(text, parent);
    link->setGeometry(kLeft, top, kWidth, kLine);
    link->setAlignment(Qt::AlignCenter);
    return link;
}

} // namespace

QImage TAboutForm::DrawLogos(QSize size, const TJpegDrawer& drawJpeg) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (!drawJpeg) return picture;
    QPainter painter(&picture);
    const int g = (size.width() - 281) / 3;
    drawJpeg(painter, g, (size.height() - 41) / 2, QStringLiteral("LOGO2"));
    drawJpeg(painter, 2 * g + 41, (size.height() - 71) / 2, QStringLiteral("LOGO1"));
    return picture;
}

TAboutForm::TAboutForm(const TAboutInfo& info, TAboutActions actions, QWidget* parent)
    : QDialog(parent), info_(info), actions_(std::move(actions)) {
    setWindowTitle(QStringLiteral("О программе «") + QString::fromUtf8(kMessageCaption) +
                   QStringLiteral("»"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    // Tahoma 8 point where it is installed, the desktop's sans serif otherwise.
    QFont small(QStringLiteral("Tahoma"));
    small.setStyleHint(QFont::SansSerif);
    small.setPointSize(8);
    setFont(small);
    QPalette black = palette();
    black.setColor(QPalette::WindowText, Qt::black);
    setPalette(black);
    if (!info_.memory) info_.memory = [] { return ReadMemoryStatus(); };

    auto* top = new QFrame(this);
    top->setGeometry(0, 0, kClientWidth, kTopPanel);
    top->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    top->setLineWidth(1);
    logos_ = new QLabel(top);
    logos_->setGeometry(top->contentsRect());
    logos_->setPixmap(QPixmap::fromImage(DrawLogos(logos_->size(), info_.drawJpeg)));

    const auto close = [this](const std::function<void()>& action) {
        return [this, action] {
            if (action) action();
            accept();
        };
    };
    version_ = Link(this, 101, QStringLiteral("Версия: ") + info_.version);
    version_->OnClick = close(actions_.openReadme);
    ReadOnlyLine(this, 117, info_.storedTexts[0], true);
    mail_ = Link(this, 133, QStringLiteral("e-mail: ") + info_.mailAddress);
    mail_->OnClick = close(actions_.sendMail);
    site_ = Link(this, 149, QStringLiteral("url: ") + info_.siteAddress);
    site_->OnClick = close(actions_.openSite);
    for (int i = 1; i <= 3; ++i)
        ReadOnlyLine(this, 165 + 16 * (i - 1), info_.storedTexts[std::size_t(i)], false);

    Label(this, kLeft, 226, QStringLiteral("Правом использования этой копии обладает:"));
    Label(this, kLeft, 242, info_.environment.OwnerName, kWidth);
    Label(this, kLeft, 258, info_.environment.OrganizationName, kWidth);
    auto* bevel = new QFrame(this);
    bevel->setGeometry(kLeft, 278, kWidth, 2);
    bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    // A long system name is cut short with an ellipsis; the whole of it is
    // the label's tool tip.
    QLabel* system = Label(this, kLeft, 286, QString(), kWidth);
    system->setText(
        system->fontMetrics().elidedText(info_.environment.OsDescription, Qt::ElideRight, kWidth));
    system->setToolTip(info_.environment.OsDescription);
    Label(this, kLeft, 302, QStringLiteral("Доступная физическая память:"));
    Label(this, kLeft, 318, QStringLiteral("Свободная физическая память:"));
    Label(this, kLeft, 334, QStringLiteral("Используемая виртуальная память:"));
    // The figures end at the right edge of the texts above, so a caption
    // wider than its column in this font does not run into them.
    const auto value = [this](int y) {
        QLabel* label = Label(this, kValueLeft, y, QString(), kLeft + kWidth - kValueLeft);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    };
    physical_ = value(302);
    free_ = value(318);
    virtual_ = value(334);

    auto* bottom = new QFrame(this);
    bottom->setGeometry(0, kClientHeight - kBottomPanel, kClientWidth, kBottomPanel);
    ok_ = new QPushButton(QStringLiteral("OK"), bottom);
    ok_->setGeometry(323, 1, 75, 25);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    RefreshMemory();
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { RefreshMemory(); });
    timer_->start(kTimerMs);

    InstallSwallowAltKey(this);
    attention_ = new TAttention(this, QStringLiteral("TAboutForm"), version_, ok_);
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::RefreshMemory() {
    const std::optional<TMemoryStatus> status = info_.memory();
    // Unknown figures are left blank rather than shown as zero.
    physical_->setText(status ? FormatMegabytes(status->TotalPhysical) : QString());
    free_->setText(status ? FormatMegabytes(status->AvailablePhysical) : QString());
    virtual_->setText(status ? FormatMegabytes(status->VirtualInUse) : QString());
}

void TAboutForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

} // namespace dorvane
