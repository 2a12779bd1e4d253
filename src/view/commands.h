// Every command of the game window, declared once as a QAction: its text,
// its key, its picture, whether it is a check or one of a radio group. The
// menus, the control panel's buttons and whatever else offers a command (the
// tray menu, the playlist window, D-Bus) bind to these actions, so a command
// has one enabled state and one check mark wherever it appears.
//
// The check marks are not the settings: the window keeps its options in the
// settings record and sets the marks from it (TMainForm::MirrorOptions).
#pragma once

#include <QString>

#include <array>

class QAction;
class QObject;

namespace dorvane {

enum class TCommand {
    // "Игра"
    StartSide1,
    StartSide2,
    PassMove,
    ResetScore,
    FindMove,
    ToBegin,
    StepBack,
    ResumePlay,
    StepForward,
    ToEnd,
    LoadGame,
    SaveGame,
    Close,
    // "Параметры"
    Hint,
    GoFast,
    Complication,
    RegimComputer,
    RegimHumans,
    LevelHigh,
    LevelAverage,
    LevelLow,
    // "Параметры" -> "Вид"
    LoadField,
    FieldTexture,
    LoadBackground,
    BackgroundTexture,
    Grid,
    Coordinates,
    ControlPanel,
    StyleButtons,
    StylePicture,
    SchemeDefault,
    SchemeDark,
    SchemeCustom, // "Другая": the editor, then the scheme
    // "Параметры" -> "Звуки"
    SoundBegin,
    SoundMove,
    SoundEnd,
    // "Параметры" -> "Музыка": the music player's transport and sources.
    MusicPrevious,
    MusicRestart,
    MusicPlay,
    MusicPause,
    MusicNext,
    MusicRandom,
    MusicOpenFolder,
    MusicAddFolder,
    MusicOpenList,
    MusicAddList,
    MusicList,     // "Список": the playlist window, opened or closed
    MusicShowList, // the control panel's button: the playlist window shown
    // "Параметры" -> "Запуск": the launchers and the file types.
    LinkGames,
    LinkMainMenu,
    LinkDesktop,
    LinkAutostart,
    ShellIntegration,
    StayOnTop,
    MinimizeToTray,
    KeepWindows, // "Не скрывать окна при минимизации": the mode of the next run
    Defaults,
    // "Справка"
    Feedback,
    Site,
    Support,
    About,
};
inline constexpr int kCommandCount = static_cast<int>(TCommand::About) + 1;

class TCommandRegistry {
public:
    // The actions are children of owner, which gives their shortcuts a window.
    explicit TCommandRegistry(QObject* owner);

    QAction* Action(TCommand command) const { return actions_[std::size_t(command)]; }
    // The command whose action is this one; false for an action of no command.
    bool Find(const QAction* action, TCommand& command) const;
    // Sets a check mark without emitting triggered (toggled still fires).
    void SetChecked(TCommand command, bool checked) const;
    void SetEnabled(TCommand command, bool enabled) const;

private:
    std::array<QAction*, kCommandCount> actions_{};
};

} // namespace dorvane
