// The game window's settings: the look it starts with, the writes at its
// destruction, and "Все по умолчанию" with the restart that follows it.
#include "mainform.h"

#include "view/controlpanel.h"

#include "play/game_files.h"
#include "play/saved_game_file.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace dorvane {

void TMainForm::ApplyStoredLook() {
    // A stored picture that is gone or damaged leaves the built-in texture.
    if (settings_.LoadField && !settings_.Field.isEmpty()) ShowFieldPicture(settings_.Field);
    if (settings_.LoadBackground && !settings_.Background.isEmpty())
        ShowBackgroundPicture(settings_.Background);
    if (stayOnTopItem_->isChecked()) StayOnTop(true);
}

void TMainForm::StayOnTop(bool on) {
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing the flags hides a shown window.
    if (shown) show();
}

void TMainForm::WriteSettingsAtExit() {
    TGameSettings& s = settings_;
    const qint32 storedLevel = s.Intellect;
    TakeGameOptions(s, *controller_);
    if (!levelChosen_) s.Intellect = storedLevel;
    s.Help = panel_->hintCheck->isChecked();
    s.LoadBackground = loadBackground_;
    s.LoadField = loadField_;
    s.SoundBegin = soundItems_[0]->isChecked();
    s.SoundMove = soundItems_[1]->isChecked();
    s.SoundEnd = soundItems_[2]->isChecked();
    s.ShowGrid = gridItem_->isChecked();
    s.ShowCoordinates = coordinatesItem_->isChecked();
    s.ControlPanel = panelItem_->isChecked();
    s.StayOnTop = stayOnTopItem_->isChecked();
    s.Position = pos();
    s.StyleButton = board_->StyleButton();
    s.TextureOfField = look_.FieldTexture;
    s.TextureOfFon = look_.FonTexture;
    s.ColorScheme = scheme_.Number;
    WriteGameSettingsAtExit(*store_, s);
}

void TMainForm::ResetAllSettings() {
    // Offered when the store could be written at the start; a restart that
    // failed to start the new copy may be tried again.
    if (!defaultsItem_->isEnabled()) return;
    if (!messages_.AskYesNo(QStringLiteral("Текущие настройки будут потеряны, Вы уверены?")))
        return;
    EraseAllSettingsKeepingInstallerValues(*store_);
    settingsWritable_ = false; // the exit must not bring the old values back
    RestartProgram();
}

void TMainForm::RestartProgram() {
    // A temporary game that cannot be written only means the new copy starts
    // a new game.
    SaveTemporaryGame(*controller_);
    store_->RegWriteBool(QStringLiteral("ReStart"), true);
    const bool started = startProgram_
                             ? startProgram_()
                             : QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                                       QCoreApplication::arguments().mid(1));
    if (!started) {
        // Closing now would leave the player without the program: this copy
        // stays (it will save nothing), and no later start picks up the game.
        QFile::remove(TemporaryGamePath());
        store_->RegWriteBool(QStringLiteral("ReStart"), false);
        return;
    }
    close();
}

} // namespace dorvane
