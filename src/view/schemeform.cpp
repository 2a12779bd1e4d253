#include "view/schemeform.h"

#include "view/colorscheme.h"
#include "view/controlpanel.h"

#include "widgets/attention.h"
#include "widgets/dialogkeys.h"
#include "widgets/dialoglayout.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

namespace dorvane {

namespace {

constexpr int kFigureButton = 48;
constexpr int kSwatch = 14;

const std::array<const char*, TSchemeForm::kElements> kElementNames{
    "Текст игрока 1",   "Текст игрока 2",   "Фон игрока 1", "Фон игрока 2",
    "«Старт» игрока 1", "«Старт» игрока 2", "«Нет хода»",   "«Сброс»"};

QIcon Swatch(const QColor& color) {
    QPixmap swatch(kSwatch, kSwatch);
    swatch.fill(color);
    QPainter painter(&swatch);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, kSwatch - 1, kSwatch - 1);
    return QIcon(swatch);
}

QLabel* Caption(QWidget* parent, const QString& text, int left, int top, int width) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(left, top, width, 16);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TSchemeForm::TSchemeForm(const TSchemeEditorParts& parts, QWidget* parent)
    : QDialog(parent), parts_(parts) {
    setWindowTitle(QStringLiteral("Цветовая схема"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    const TCustomScheme& custom = *parts_.custom;
    for (int i = 0; i < kElements; ++i)
        colors8_[std::size_t(i)] = ColorFromStored(std::uint32_t(custom.Colors[std::size_t(i)]));
    colors_ = SchemeColorList(palette());

    BuildPreview();
    BuildLists();

    std::tie(apply_, cancel_) =
        AddButtonBar(this, QStringLiteral("Применить"), QStringLiteral("Отмена"));
    cancel_->setDefault(true);

    for (int i = 0; i < kElements; ++i)
        SetElementColor(i, colors8_[std::size_t(i)]);
    SelectElement(0);
    SelectFigureButton(1);
    cancel_->setFocus();
    InstallSwallowAltKey(this);
    attention_ = new TAttention(this, QStringLiteral("TSchemeForm"), cancel_);
}

TSchemeForm::~TSchemeForm() = default;

void TSchemeForm::BuildPreview() {
    auto* preview = new QFrame(this);
    preview->setGeometry(8, 8, 279, 225);
    preview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    preview->setAutoFillBackground(true);
    QPalette desktop = preview->palette();
    desktop.setColor(QPalette::Window, desktop.color(QPalette::Dark));
    desktop.setColor(QPalette::WindowText, Qt::white);
    preview->setPalette(desktop);

    const TCustomScheme& custom = *parts_.custom;
    for (int side = 0; side < 2; ++side) {
        auto* name = new QLineEdit(side == 0 ? custom.Player1 : custom.Player2, preview);
        name->setGeometry(side == 0 ? 8 : 144, 8, 127, 21);
        name->setAlignment(Qt::AlignCenter);
        name->setMaxLength(64);
        name->installEventFilter(this);
        names_[std::size_t(side)] = name;
    }
    const std::array<QString, 4> captions{QStringLiteral("Старт"), QStringLiteral("Старт"),
                                          QStringLiteral("Нет хода"), QStringLiteral("Сброс")};
    const std::array<QRect, 4> places{QRect(8, 35, 127, 25), QRect(144, 35, 127, 25),
                                      QRect(8, 66, 263, 25), QRect(8, 97, 263, 25)};
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        auto* button = new QPushButton(captions[i], preview);
        button->setGeometry(places[i]);
        button->setFocusPolicy(Qt::TabFocus);
        const int element = int(i) + 4;
        connect(button, &QPushButton::clicked, this, [this, element] { SelectElement(element); });
        buttons_[i] = button;
    }
    Caption(preview, QStringLiteral("Игроки"), 8, 128, 127);
    Caption(preview, QStringLiteral("Ходы"), 144, 128, 127);
    const std::array<QString, 4> words{QStringLiteral("Первый"), QStringLiteral("Второй"),
                                       QStringLiteral("Любой"), QStringLiteral("Лучший")};
    for (int k = 1; k <= 4; ++k) {
        const int column = (k <= 2 ? 8 : 144) + ((k - 1) % 2) * 64;
        Caption(preview, words[std::size_t(k - 1)], column, 146, 63);
        auto* button = new QToolButton(preview);
        button->setGeometry(column + (63 - kFigureButton) / 2, 164, kFigureButton, kFigureButton);
        button->setIconSize(QSize(TFigureList::kFigureSize, TFigureList::kFigureSize));
        button->setCheckable(true); // the one being edited stays pressed
        connect(button, &QToolButton::clicked, this, [this, k] { SelectFigureButton(k); });
        figureButtons_[std::size_t(k - 1)] = button;
    }
}

void TSchemeForm::BuildLists() {
    auto* elementCaption = new QLabel(QStringLiteral("Элемент"), this);
    elementCaption->setGeometry(8, 240, 135, 16);
    elementList_ = new QComboBox(this);
    elementList_->setGeometry(8, 256, 135, 24);
    for (const char* name : kElementNames)
        elementList_->addItem(QString::fromUtf8(name));
    connect(elementList_, &QComboBox::activated, this, [this](int i) { SelectElement(i); });

    auto* colorCaption = new QLabel(QStringLiteral("Цвет"), this);
    colorCaption->setGeometry(8, 286, 135, 16);
    colorList_ = new QComboBox(this);
    colorList_->setGeometry(8, 302, 135, 24);
    colorList_->setMaxVisibleItems(16);
    for (const TNamedColor& entry : colors_)
        colorList_->addItem(Swatch(entry.color), entry.name);
    connect(colorList_, &QComboBox::activated, this, [this](int i) { ChooseColor(i); });

    auto* figureCaption = new QLabel(QStringLiteral("Фигуры"), this);
    figureCaption->setGeometry(151, 240, 136, 16);
    figureList_ = new QComboBox(this);
    figureList_->setGeometry(151, 256, 136, 48);
    figureList_->setIconSize(QSize(TFigureList::kFigureSize, TFigureList::kFigureSize));
    for (int k = 0; k < parts_.figures->FigureCount(); ++k)
        AddFigureItem(k);
    connect(figureList_, &QComboBox::activated, this, [this](int i) { ChooseFigure(i); });

    add_ = new QPushButton(QStringLiteral("Добавить рисунок"), this);
    add_->setGeometry(151, 307, 136, 22);
    connect(add_, &QPushButton::clicked, this, [this] { AddPicture(); });
    export_ = new QPushButton(QStringLiteral("Экспорт рисунков"), this);
    export_->setGeometry(151, 331, 136, 22);
    connect(export_, &QPushButton::clicked, this, [this] { ExportPictures(); });
}

void TSchemeForm::AddFigureItem(int figure) {
    figureList_->addItem(QIcon(QPixmap::fromImage(parts_.figures->Figure(figure))),
                         QString::number(figure + 1));
}

QPushButton* TSchemeForm::PreviewButton(int element) const {
    return element >= 4 && element < kElements ? buttons_[std::size_t(element - 4)] : nullptr;
}

QColor TSchemeForm::ElementColor(int i) const {
    return colors8_[std::size_t(i)];
}

void TSchemeForm::SetElementColor(int i, const QColor& color) {
    colors8_[std::size_t(i)] = color;
    if (i < 4) {
        const int side = i % 2;
        SetBoxColours(names_[std::size_t(side)], colors8_[std::size_t(side)],
                      colors8_[std::size_t(side + 2)]);
    } else {
        SetCaptionColour(buttons_[std::size_t(i - 4)], color);
    }
}

void TSchemeForm::ShowColor(const QColor& color) {
    // A colour that is none of the list's shows as an entry of its own at
    // the end, which the next colour shown replaces.
    while (colorList_->count() > int(colors_.size()))
        colorList_->removeItem(colorList_->count() - 1);
    const int entry = FindSchemeColor(colors_, color);
    if (entry >= 0) {
        colorList_->setCurrentIndex(entry);
        return;
    }
    colorList_->addItem(Swatch(color), QStringLiteral("Другой (%1, %2, %3)")
                                           .arg(color.red())
                                           .arg(color.green())
                                           .arg(color.blue()));
    colorList_->setCurrentIndex(colorList_->count() - 1);
}

void TSchemeForm::SelectElement(int i) {
    if (i < 0 || i >= kElements) return;
    indexColor_ = i;
    elementList_->setCurrentIndex(i);
    ShowColor(colors8_[std::size_t(i)]);
}

void TSchemeForm::ChooseColor(int entry) {
    if (entry < 0 || entry >= int(colors_.size())) return; // the present colour itself
    SetElementColor(indexColor_, colors_[std::size_t(entry)].color);
    ShowColor(colors8_[std::size_t(indexColor_)]);
}

void TSchemeForm::SelectFigureButton(int k) {
    if (k < 1 || k > 4) return;
    indexButton_ = k;
    for (int b = 1; b <= 4; ++b) {
        const int figure = parts_.custom->Figures[std::size_t(b - 1)];
        figureButtons_[std::size_t(b - 1)]->setIcon(
            QIcon(QPixmap::fromImage(parts_.figures->Figure(figure))));
        figureButtons_[std::size_t(b - 1)]->setChecked(b == k);
    }
    const int figure = parts_.custom->Figures[std::size_t(k - 1)];
    figureList_->setCurrentIndex(figure < figureList_->count() ? figure : -1);
}

void TSchemeForm::ChooseFigure(int figure) {
    if (figure < 0 || figure >= parts_.figures->FigureCount()) return;
    parts_.custom->Figures[std::size_t(indexButton_ - 1)] = figure;
    SelectFigureButton(indexButton_);
}

void TSchemeForm::AddPicture() {
    TFileRequest request;
    request.title = QStringLiteral("Добавить рисунок");
    request.folder = parts_.dirOfPicture ? *parts_.dirOfPicture : QString();
    request.filter = QStringLiteral("Рисунки (*.bmp *.jpg *.jpeg *.png *.gif *.ico)");
    const QString path = parts_.chooser ? parts_.chooser(request) : QString();
    if (path.isEmpty()) return;
    if (!parts_.figures->AddPicture(path)) {
        // Nothing is added: the lists stay as they are.
        if (parts_.messages)
            parts_.messages->Show(QStringLiteral("Неверный формат файла!"), TMessageIcon::Warning);
        return;
    }
    parts_.custom->Paths = parts_.figures->Paths();
    AddFigureItem(parts_.figures->FigureCount() - 1);
}

void TSchemeForm::ExportPictures() {
    TFileRequest request;
    request.title = QStringLiteral("Выбор директории для сохранения рисунков.");
    request.folder = parts_.dirOfPicture ? *parts_.dirOfPicture : QString();
    request.chooseFolder = true;
    const QString folder = parts_.chooser ? parts_.chooser(request) : QString();
    if (folder.isEmpty()) return;
    // As a save dialog asks before it replaces a file.
    const QStringList existing = parts_.figures->ExistingExports(folder);
    if (!existing.isEmpty() && parts_.messages &&
        !parts_.messages->AskYesNo(
            QStringLiteral("%1 уже существует.\nЗаменить файлы рисунков в этой папке?")
                .arg(existing.join(QStringLiteral(", ")))))
        return;
    const bool written = parts_.figures->Export(folder);
    if (parts_.dirOfPicture) {
        *parts_.dirOfPicture = folder;
        if (parts_.dirOfPictureChanged) parts_.dirOfPictureChanged();
    }
    if (!written && parts_.messages) MsgCannotExecute(*parts_.messages);
}

void TSchemeForm::TakeOver() {
    TCustomScheme& custom = *parts_.custom;
    for (int i = 0; i < kElements; ++i)
        custom.Colors[std::size_t(i)] = qint32(StoredFromColor(colors8_[std::size_t(i)]));
    if (!names_[0]->text().isEmpty()) custom.Player1 = names_[0]->text();
    if (!names_[1]->text().isEmpty()) custom.Player2 = names_[1]->text();
}

void TSchemeForm::done(int result) {
    TakeOver();
    QDialog::done(result);
}

void TSchemeForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

bool TSchemeForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn) {
        if (watched == names_[0]) SelectElement(0);
        if (watched == names_[1]) SelectElement(1);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace dorvane
