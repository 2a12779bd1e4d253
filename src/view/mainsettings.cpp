// The game window's settings at its destruction, and "Все по умолчанию" with
// the restart that follows it.
#include "view/mainform.h"

#include "core/data_folder.h"
#include "music/music_settings.h"
#include "music/music_sources.h"
#include "play/game_files.h"
#include "play/saved_game_file.h"
#include "widgets/messageform.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace dorvane {

void TMainForm::WriteSettingsAtExit() {
    settings_.Position = pos();
    // The player's switches and sources as it ends, not as they were read.
    TMusicEngine& engine = player_->Engine();
    music_.MusicAddSub = engine.Loader().WithSubfolders();
    music_.DirOfMusic = StoredMusicSource(engine.Loader().MusicSource(), MusicFolder());
    music_.PlayMusic = engine.PlayOn();
    music_.SelectionAccidental = engine.RandomOn();
    // One write of the file, in the order the program has always written:
    // the window's values, the shell's, the recent games, the music's.
    const TSettingsBatch batch(*store_);
    WriteGameSettingsAtExit(*store_, settings_);
    ShellSettingsSchema().WriteAtExit(*store_, shell_);
    recent_.Write(*store_);
    MusicSettingsSchema().WriteAtExit(*store_, music_);
    WriteRecentSources(*store_, engine.Loader().RecentSources());
}

void TMainForm::ResetAllSettings() {
    // Offered when the store could be written at the start; a restart that
    // failed to start the new copy may be tried again.
    if (!commands_.Action(TCommand::Defaults)->isEnabled()) return;
    // The restart ends this copy; with a long file operation under way it
    // could not, and the new copy would run beside it on erased settings.
    if (longOperations_.Running()) {
        MsgUnfinishedOperations();
        return;
    }
    if (!messages_.AskYesNo(QStringLiteral("Текущие настройки будут потеряны, Вы уверены?")))
        return;
    EraseAllSettingsKeepingInstallerValues(*store_);
    settingsWritable_ = false; // the exit must not bring the old values back
    player_->ForgetPlaylistSettings();
    RestartProgram();
}

void TMainForm::RestartProgram() {
    // A temporary game that cannot be written only means the new copy starts
    // a new game.
    SaveTemporaryGame(*controller_);
    const auto mark = [this](bool restart) {
        shell_.ReStart = restart;
        ShellSettingsSchema().WriteNow(*store_, shell_, QStringLiteral("ReStart"));
    };
    mark(true);
    const bool started = startProgram_
                             ? startProgram_()
                             : QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
    if (!started) {
        // Closing now would leave the player without the program: this copy
        // stays (it will save nothing), and no later start picks up the game.
        QFile::remove(TemporaryGamePath());
        mark(false);
        return;
    }
    close();
}

} // namespace dorvane
