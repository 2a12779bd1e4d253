// The game window's look: colour schemes, field and background pictures.
#include "mainform.h"

#include "view/assets.h"
#include "view/controlpanel.h"
#include "view/pictureloader.h"
#include "view/textureform.h"

#include <QFileDialog>
#include <QPushButton>

namespace dorvane {

void TMainForm::ApplyScheme(int scheme) {
    scheme_ = dorvane::ApplyScheme(scheme, custom_, playerNames_, palette().color(QPalette::Base),
                                   figureList_.FigureCount());
    controller_->RenameSide(1, scheme_.SideName1);
    controller_->RenameSide(0, scheme_.SideName2);
    schemeItems_[0]->setChecked(scheme == 1);
    schemeItems_[1]->setChecked(scheme == 2);
    panel_->ColourSide(0, scheme_.TextColor1, scheme_.BackColor1);
    panel_->ColourSide(1, scheme_.TextColor2, scheme_.BackColor2);
    SetCaptionColour(panel_->startButtons[0], scheme_.StartColor1);
    SetCaptionColour(panel_->startButtons[1], scheme_.StartColor2);
    SetCaptionColour(panel_->passButton, scheme_.NoMoveColor);
    SetCaptionColour(panel_->resetButton, scheme_.ResetColor);
    ColourHint();

    TBoardFigures figures;
    figures.side1 = QPixmap::fromImage(figureList_.Figure(scheme_.Figure1));
    figures.side2 = QPixmap::fromImage(figureList_.Figure(scheme_.Figure2));
    figures.anyMove = QPixmap::fromImage(figureList_.Figure(scheme_.FigureAny));
    figures.bestMove = QPixmap::fromImage(figureList_.Figure(scheme_.FigureBest));
    board_->SetFigures(figures);
    startItems_[0]->setIcon(QIcon(QPixmap::fromImage(figureList_.SmallFigure(scheme_.Figure1))));
    startItems_[1]->setIcon(QIcon(QPixmap::fromImage(figureList_.SmallFigure(scheme_.Figure2))));
    passItem_->setIcon(QIcon(QPixmap::fromImage(figureList_.SmallFigure(scheme_.FigureAny))));
    if (!board_->StyleButton()) board_->RepaintField();
    board_->RequestRedraw(TRedraw::AllAtOnce);
}

void TMainForm::NameEdited(std::uint8_t sideFlag, const QString& name) {
    if (!controller_->RenameSide(sideFlag, name)) return;
    // The custom scheme keeps names of its own; the built-in ones share theirs.
    // Either is kept at once, whatever the exit will write.
    const bool custom = scheme_.Number == kSchemeCustom;
    if (custom)
        (sideFlag == 1 ? custom_.Player1 : custom_.Player2) = name;
    else
        (sideFlag == 1 ? playerNames_.Player1 : playerNames_.Player2) = name;
    if (!store_) return;
    const QString value =
        QLatin1String(custom ? "SPlayer" : "Player") + QLatin1Char(sideFlag == 1 ? '1' : '2');
    store_->RegWriteString(value, name);
}

void TMainForm::ColourHint() {
    if (hintSide_ == 1)
        panel_->ColourHint(scheme_.TextColor1, scheme_.BackColor1);
    else
        panel_->ColourHint(scheme_.TextColor2, scheme_.BackColor2);
}

namespace {

QString AskPicture(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, QString(), folder,
                                        QStringLiteral("Рисунки (*.bmp *.jpg *.jpeg *.png *.gif)"));
}

} // namespace

void TMainForm::LoadFieldPicture() {
    loadFieldItem_->setChecked(loadField_);
    const QString path = AskPicture(this, pictureFolder_);
    if (!path.isEmpty()) UseFieldPicture(path);
}

bool TMainForm::UseFieldPicture(const QString& path) {
    const bool shown = ShowFieldPicture(path);
    // The path is kept at once, whatever the exit will write.
    if (shown && store_) store_->RegWriteString(QStringLiteral("Field"), path);
    return shown;
}

bool TMainForm::ShowFieldPicture(const QString& path) {
    // Not a bitmap: the built-in texture, and nothing else changes.
    const TLoadedPicture picture = dorvane::LoadFieldPicture(path, look_.FieldTexture);
    board_->SetFieldTexture(picture.Image);
    if (picture.FromFile) {
        fieldPath_ = path;
        loadField_ = true;
    }
    loadFieldItem_->setChecked(loadField_);
    fieldTextureItem_->setChecked(!loadField_);
    RefreshField();
    return picture.FromFile;
}

void TMainForm::ChooseFieldTexture() {
    fieldTextureItem_->setChecked(!loadField_);
    const std::optional<int> choice =
        TTextureForm::Choose(this, QStringLiteral("Текстура поля"), look_.FieldTexture);
    if (!choice || *choice < 1) return;
    const int chosen = *choice;
    gridItem_->setChecked(true);
    board_->SetGrid(true);
    if (chosen != look_.FieldTexture || loadField_) {
        look_.FieldTexture = chosen;
        board_->SetFieldTexture(BuiltinTexture(chosen));
        loadField_ = false;
    }
    loadFieldItem_->setChecked(loadField_);
    fieldTextureItem_->setChecked(!loadField_);
    RefreshField();
}

void TMainForm::LoadBackgroundPicture() {
    loadBackgroundItem_->setChecked(loadBackground_);
    const QString path = AskPicture(this, pictureFolder_);
    if (!path.isEmpty()) UseBackgroundPicture(path);
}

bool TMainForm::UseBackgroundPicture(const QString& path) {
    const bool shown = ShowBackgroundPicture(path);
    if (shown && store_) store_->RegWriteString(QStringLiteral("Background"), path);
    return shown;
}

bool TMainForm::ShowBackgroundPicture(const QString& path) {
    const TLoadedPicture picture = dorvane::LoadBackgroundPicture(path, look_.FonTexture);
    board_->SetBackground(QPixmap::fromImage(picture.Image));
    if (picture.FromFile) {
        backgroundPath_ = path;
        loadBackground_ = true;
    }
    loadBackgroundItem_->setChecked(loadBackground_);
    backgroundTextureItem_->setChecked(!loadBackground_);
    return picture.FromFile;
}

void TMainForm::ChooseBackgroundTexture() {
    backgroundTextureItem_->setChecked(!loadBackground_);
    const std::optional<int> choice =
        TTextureForm::Choose(this, QStringLiteral("Текстура фона"), look_.FonTexture);
    if (!choice || *choice < 1) return;
    const int chosen = *choice;
    if (chosen != look_.FonTexture || loadBackground_) {
        look_.FonTexture = chosen;
        board_->SetBackground(QPixmap::fromImage(BuiltinTexture(chosen)));
        loadBackground_ = false;
    }
    loadBackgroundItem_->setChecked(loadBackground_);
    backgroundTextureItem_->setChecked(!loadBackground_);
}

} // namespace dorvane
