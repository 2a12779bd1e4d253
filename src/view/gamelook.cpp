#include "view/gamelook.h"
#include "widgets/window_mode.h"

#include "view/assets.h"
#include "view/boardwidget.h"
#include "view/controlpanel.h"
#include "view/schemeform.h"

#include "play/game_controller.h"

#include <QAction>
#include <QWidget>

namespace dorvane {

TGameLook::TGameLook(const TGameLookParts& parts, TGameSettings& settings)
    : parts_(parts), settings_(settings) {
    TLookSettings& look = settings_.Look;
    field_ = std::make_unique<TPictureSlot>(
        TPictureSlotSpec{TCommand::LoadField, TCommand::FieldTexture,
                         QStringLiteral("Текстура поля"),
                         // The field must be a bitmap: nothing else is offered.
                         QStringLiteral("Рисунки BMP (*.bmp *.BMP)"), QStringLiteral("Field"),
                         &dorvane::LoadFieldPicture},
        TPictureSlotState{look.TextureOfField, look.LoadField, look.Field}, *parts_.commands,
        [this](const QImage& picture) { parts_.board->SetFieldTexture(picture); });
    background_ = std::make_unique<TPictureSlot>(
        TPictureSlotSpec{TCommand::LoadBackground, TCommand::BackgroundTexture,
                         QStringLiteral("Текстура фона"),
                         QStringLiteral("Рисунки (*.bmp *.jpg *.jpeg *.png *.gif)"),
                         QStringLiteral("Background"), &dorvane::LoadBackgroundPicture},
        TPictureSlotState{look.TextureOfFon, look.LoadBackground, look.Background},
        *parts_.commands, [this](const QImage& picture) {
            parts_.board->SetBackground(QPixmap::fromImage(picture));
        });
}

void TGameLook::ApplyStored() {
    TLookSettings& look = settings_.Look;
    TBoardWidget& board = *parts_.board;
    board.SetGrid(look.ShowGrid);
    board.SetCoordinatesVisible(look.ShowCoordinates);
    board.SetGoFast(settings_.Game.GoFast);
    // The stored pictures come back; one that cannot be shown now (a drive
    // not mounted yet, a file cut short) leaves the built-in texture in its
    // place but keeps the preference, its path and its check mark: only the
    // player's own choice changes those.
    field_->ShowTexture();
    background_->ShowTexture();
    board.SetStyleButton(look.StyleButton);
    SetStyle(look.StyleButton);
    AddStoredPictures();
    if (look.LoadField && !look.Field.isEmpty()) field_->ShowFile(look.Field);
    if (look.LoadBackground && !look.Background.isEmpty()) background_->ShowFile(look.Background);
    ApplyScheme(look.ColorScheme);
}

void TGameLook::ApplyScheme(int scheme) {
    QWidget& window = *parts_.window;
    TFigureList& figures = *parts_.figures;
    const TCommandRegistry& commands = *parts_.commands;
    scheme_ = dorvane::ApplyScheme(scheme, settings_.Custom, settings_.Names,
                                   window.palette().color(QPalette::Base), figures.FigureCount());
    settings_.Look.ColorScheme = scheme_.Number;
    parts_.controller->RenameSide(TSide::First, scheme_.SideName1);
    parts_.controller->RenameSide(TSide::Second, scheme_.SideName2);
    MirrorSchemeChecks();
    // The player's own scheme is shown as chosen; the built-in ones keep
    // their hues but stay readable on a dark desktop.
    const QColor face = window.palette().color(QPalette::Button);
    const auto readable = [this](const QColor& text, const QColor& back) {
        return scheme_.Number == kSchemeCustom ? text : ReadableOn(text, back);
    };
    parts_.panel->SetColours(
        {readable(scheme_.TextColor1, scheme_.BackColor1), scheme_.BackColor1,
         readable(scheme_.TextColor2, scheme_.BackColor2), scheme_.BackColor2,
         readable(scheme_.StartColor1, face), readable(scheme_.StartColor2, face),
         readable(scheme_.NoMoveColor, face), readable(scheme_.ResetColor, face)});

    TBoardFigures board;
    board.side1 = QPixmap::fromImage(figures.Figure(scheme_.Figure1));
    board.side2 = QPixmap::fromImage(figures.Figure(scheme_.Figure2));
    board.anyMove = QPixmap::fromImage(figures.Figure(scheme_.FigureAny));
    board.bestMove = QPixmap::fromImage(figures.Figure(scheme_.FigureBest));
    parts_.board->SetFigures(board);
    // The "Нет хода" button's colour: a bright magenta in the built-in
    // schemes, which none of the field textures or the button face comes
    // near, and the player's own colour in "Другая".
    parts_.board->SetCursorColour(scheme_.NoMoveColor);
    const auto icon = [&figures](int figure) {
        return QIcon(QPixmap::fromImage(figures.SmallFigure(figure)));
    };
    commands.Action(TCommand::StartSide1)->setIcon(icon(scheme_.Figure1));
    commands.Action(TCommand::StartSide2)->setIcon(icon(scheme_.Figure2));
    commands.Action(TCommand::PassMove)->setIcon(icon(scheme_.FigureAny));
    if (!parts_.board->StyleButton()) parts_.board->RepaintField();
    parts_.board->RequestRedraw(TRedraw::AllAtOnce);
}

void TGameLook::AddStoredPictures() {
    // A stored picture that cannot be loaded (gone, damaged) is skipped. The
    // figures after it move up one place, so the custom figures that named
    // them follow them; one that named the skipped picture is its default
    // again. The list of paths is then the list of loaded pictures.
    TFigureList& figures = *parts_.figures;
    TCustomScheme& custom = settings_.Custom;
    const TCustomScheme defaults = DefaultGameSettings().Custom;
    std::array<qint32, 4> figureOf = custom.Figures;
    for (qsizetype i = 0; i < custom.Paths.size(); ++i) {
        const int stored = kBuiltinFigures + int(i);
        const int now = figures.FigureCount();
        const bool added = figures.AddPicture(custom.Paths[i]);
        for (std::size_t f = 0; f < figureOf.size(); ++f)
            if (custom.Figures[f] == stored) figureOf[f] = added ? now : defaults.Figures[f];
    }
    custom.Figures = figureOf;
    custom.Paths = figures.Paths();
}

void TGameLook::EditCustomScheme(const TFileChooser& chooser) {
    TSchemeEditorParts editor;
    editor.custom = &settings_.Custom;
    editor.figures = parts_.figures;
    editor.chooser = chooser;
    editor.dirOfPicture = &settings_.Look.DirOfPicture;
    editor.dirOfPictureChanged = [this] {
        if (parts_.store)
            WriteGameSettingNow(*parts_.store, settings_, QStringLiteral("DirOfPicture"));
    };
    editor.messages = parts_.messages;
    bool applied = false;
    {
        TSchemeForm form(editor, parts_.window);
        const TModalScope modal;
        applied = form.exec() == QDialog::Accepted;
    }
    const bool writable = parts_.settingsWritable && *parts_.settingsWritable && parts_.store;
    if (applied && writable) {
        WriteCustomScheme(*parts_.store, settings_.Custom);
        ApplyScheme(kSchemeCustom);
        return;
    }
    // The radio item was checked by the click; the scheme on screen is
    // still the one before.
    MirrorSchemeChecks();
}

void TGameLook::MirrorSchemeChecks() const {
    const TCommandRegistry& commands = *parts_.commands;
    commands.SetChecked(TCommand::SchemeDefault, scheme_.Number == kSchemeDefault);
    commands.SetChecked(TCommand::SchemeDark, scheme_.Number == kSchemeDark);
    commands.SetChecked(TCommand::SchemeCustom, scheme_.Number == kSchemeCustom);
}

void TGameLook::NameEdited(TSide side, const QString& name) {
    if (!parts_.controller->RenameSide(side, name)) return;
    const bool custom = scheme_.Number == kSchemeCustom;
    const bool first = side == TSide::First;
    QString& kept = custom ? (first ? settings_.Custom.Player1 : settings_.Custom.Player2)
                           : (first ? settings_.Names.Player1 : settings_.Names.Player2);
    kept = name;
    if (!parts_.store) return;
    const QString value =
        QLatin1String(custom ? "SPlayer" : "Player") + QLatin1Char(first ? '1' : '2');
    WriteGameSettingNow(*parts_.store, settings_, value);
}

void TGameLook::SetStyle(bool buttons) {
    settings_.Look.StyleButton = buttons;
    MirrorChecks();
    if (buttons == parts_.board->StyleButton()) return;
    parts_.board->SetStyleButton(buttons);
    parts_.board->RequestRedraw(TRedraw::AllAtOnce);
}

void TGameLook::SetGrid(bool on) {
    settings_.Look.ShowGrid = on;
    parts_.board->SetGrid(on);
    MirrorChecks();
    RefreshField();
}

void TGameLook::SetCoordinates(bool on) {
    settings_.Look.ShowCoordinates = on;
    parts_.board->SetCoordinatesVisible(on);
    MirrorChecks();
}

void TGameLook::RefreshField() {
    if (parts_.board->StyleButton()) return;
    parts_.board->RepaintField();
    parts_.board->RequestRedraw(TRedraw::AllAtOnce);
}

void TGameLook::LoadPicture(TPictureSlot& slot, const TFileChooser& chooser) {
    slot.MirrorChecks(); // a cancelled dialog leaves the marks as they were
    const QString path = chooser(slot.DialogRequest(settings_.Look.DirOfPicture));
    if (!path.isEmpty()) UsePicture(slot, path);
}

bool TGameLook::UsePicture(TPictureSlot& slot, const QString& path) {
    const bool shown = slot.ShowFile(path);
    // The path is kept at once, whatever the exit will write.
    if (shown && parts_.store)
        WriteGameSettingNow(*parts_.store, settings_, slot.Spec().pathSetting);
    if (&slot == field_.get()) RefreshField();
    return shown;
}

void TGameLook::LoadFieldPicture(const TFileChooser& chooser) {
    LoadPicture(*field_, chooser);
}

bool TGameLook::UseFieldPicture(const QString& path) {
    return UsePicture(*field_, path);
}

void TGameLook::ChooseFieldTexture() {
    if (!field_->ChooseTexture(parts_.window)) return;
    // A built-in field comes with its grid.
    SetGrid(true);
}

void TGameLook::LoadBackgroundPicture(const TFileChooser& chooser) {
    LoadPicture(*background_, chooser);
}

bool TGameLook::UseBackgroundPicture(const QString& path) {
    return UsePicture(*background_, path);
}

void TGameLook::ChooseBackgroundTexture() {
    background_->ChooseTexture(parts_.window);
}

void TGameLook::MirrorChecks() const {
    const TCommandRegistry& commands = *parts_.commands;
    const TLookSettings& look = settings_.Look;
    commands.SetChecked(TCommand::Grid, look.ShowGrid);
    commands.SetChecked(TCommand::Coordinates, look.ShowCoordinates);
    commands.SetChecked(TCommand::StyleButtons, look.StyleButton);
    commands.SetChecked(TCommand::StylePicture, !look.StyleButton);
    // The field's items only mean something in the picture style.
    for (TCommand item : {TCommand::LoadField, TCommand::FieldTexture, TCommand::Grid})
        commands.SetEnabled(item, !look.StyleButton);
    field_->MirrorChecks();
    background_->MirrorChecks();
}

} // namespace dorvane
