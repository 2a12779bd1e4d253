// The game window's menus, built from its commands, and what each command
// does.
#include "view/mainform.h"

#include "view/controlpanel.h"
#include "view/helpform.h"
#include "widgets/menutools.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace dorvane {

namespace {

// A menu's items in order; Separator stands for a line between them.
constexpr int kSeparator = -1;

void AddItems(QMenu* menu, const TCommandRegistry& commands, std::initializer_list<int> items) {
    for (int item : items) {
        if (item == kSeparator)
            menu->addSeparator();
        else
            menu->addAction(commands.Action(static_cast<TCommand>(item)));
    }
}

constexpr int Item(TCommand command) {
    return static_cast<int>(command);
}

} // namespace

QAction* TMainForm::FindAction(const QString& text) const {
    for (QAction* action : findChildren<QAction*>())
        if (WithoutMnemonic(action->text()) == text) return action;
    return nullptr;
}

void TMainForm::BuildMenus() {
    // Alt with the underlined letter opens a menu: И, П and, for the help
    // menu, С, one letter for each title.
    gameMenu_ = menuBar()->addMenu(QStringLiteral("&Игра"));
    AddItems(gameMenu_, commands_,
             {Item(TCommand::StartSide1), Item(TCommand::StartSide2), Item(TCommand::PassMove),
              Item(TCommand::ResetScore), Item(TCommand::FindMove), kSeparator,
              Item(TCommand::ToBegin), Item(TCommand::StepBack), Item(TCommand::ResumePlay),
              Item(TCommand::StepForward), Item(TCommand::ToEnd), kSeparator,
              Item(TCommand::LoadGame), Item(TCommand::SaveGame)});
    afterSaveItem_ = gameMenu_->addSeparator();
    AddItems(gameMenu_, commands_, {Item(TCommand::Close)});

    QMenu* parameters = menuBar()->addMenu(QStringLiteral("&Параметры"));
    AddItems(parameters, commands_,
             {Item(TCommand::Hint), Item(TCommand::GoFast), Item(TCommand::Complication)});
    AddItems(parameters->addMenu(QStringLiteral("Игроки")), commands_,
             {Item(TCommand::RegimComputer), Item(TCommand::RegimHumans)});
    levelMenu_ = parameters->addMenu(QStringLiteral("Интеллект компьютера"));
    AddItems(levelMenu_, commands_,
             {Item(TCommand::LevelHigh), Item(TCommand::LevelAverage), Item(TCommand::LevelLow)});
    parameters->addSeparator();
    QMenu* view = parameters->addMenu(QStringLiteral("Вид"));
    AddItems(view, commands_,
             {Item(TCommand::LoadField), Item(TCommand::FieldTexture), kSeparator,
              Item(TCommand::LoadBackground), Item(TCommand::BackgroundTexture), kSeparator,
              Item(TCommand::Grid), Item(TCommand::Coordinates), Item(TCommand::ControlPanel)});
    AddItems(view->addMenu(QStringLiteral("Стиль")), commands_,
             {Item(TCommand::StyleButtons), Item(TCommand::StylePicture)});
    AddItems(
        view->addMenu(QStringLiteral("Цветовая схема")), commands_,
        {Item(TCommand::SchemeDefault), Item(TCommand::SchemeDark), Item(TCommand::SchemeCustom)});
    AddItems(parameters->addMenu(QStringLiteral("Звуки")), commands_,
             {Item(TCommand::SoundBegin), Item(TCommand::SoundMove), Item(TCommand::SoundEnd)});
    AddItems(parameters->addMenu(QStringLiteral("Музыка")), commands_,
             {Item(TCommand::MusicPrevious), Item(TCommand::MusicRestart),
              Item(TCommand::MusicPlay), Item(TCommand::MusicPause), Item(TCommand::MusicNext),
              Item(TCommand::MusicRandom), kSeparator, Item(TCommand::MusicOpenFolder),
              Item(TCommand::MusicAddFolder), Item(TCommand::MusicOpenList),
              Item(TCommand::MusicAddList), kSeparator, Item(TCommand::MusicList)});
    // A window that keeps no settings touches no desktop files either.
    if (store_)
        AddItems(parameters->addMenu(QStringLiteral("Запуск")), commands_,
                 {Item(TCommand::LinkGames), Item(TCommand::LinkMainMenu),
                  Item(TCommand::LinkDesktop), Item(TCommand::LinkAutostart), kSeparator,
                  Item(TCommand::ShellIntegration)});
    AddItems(parameters, commands_,
             {kSeparator, Item(TCommand::StayOnTop), Item(TCommand::MinimizeToTray),
              Item(TCommand::KeepWindows), kSeparator, Item(TCommand::Defaults)});
}

void TMainForm::OnCommand(TCommand command, std::function<void()> run, bool gated) {
    connect(commands_.Action(command), &QAction::triggered, this, [this, run, gated] {
        if (gated && controller_->Blocked()) {
            MirrorOptions(); // the item's mark goes back
            return;
        }
        run();
    });
}

void TMainForm::ConnectCommands() {
    TGameController& game = *controller_;
    const auto checked = [this](TCommand command) {
        return commands_.Action(command)->isChecked();
    };
    // The game's commands: the controller refuses them itself while it is busy.
    OnCommand(
        TCommand::StartSide1, [&game] { game.StartGame(TSide::First); }, false);
    OnCommand(
        TCommand::StartSide2, [&game] { game.StartGame(TSide::Second); }, false);
    OnCommand(
        TCommand::PassMove, [&game] { game.PassMove(); }, false);
    OnCommand(
        TCommand::ResetScore, [&game] { game.ResetCommand(); }, false);
    OnCommand(
        TCommand::FindMove, [this] { OpenHintWindow(); }, false);
    OnCommand(
        TCommand::ToBegin, [&game] { game.ToBegin(); }, false);
    OnCommand(
        TCommand::StepBack, [&game] { game.StepBack(); }, false);
    OnCommand(
        TCommand::ResumePlay, [&game] { game.ResumePlay(); }, false);
    OnCommand(
        TCommand::StepForward, [&game] { game.StepForward(); }, false);
    OnCommand(
        TCommand::ToEnd, [&game] { game.ToEnd(); }, false);
    OnCommand(
        TCommand::LoadGame, [this] { savedGames_->LoadCommand(); }, true);
    OnCommand(
        TCommand::SaveGame, [this] { savedGames_->SaveCommand(); }, true);
    OnCommand(
        TCommand::Close, [this] { close(); }, false);

    // Options: the settings take the new value, the marks follow them.
    OnCommand(
        TCommand::Hint,
        [this, checked, &game] {
            game.SetHintOn(checked(TCommand::Hint));
            MirrorOptions();
        },
        false);
    OnCommand(
        TCommand::GoFast,
        [this, checked, &game] {
            game.SetGoFast(checked(TCommand::GoFast));
            board_->SetGoFast(game.GoFast());
            MirrorOptions();
        },
        false);
    OnCommand(
        TCommand::Complication,
        [this, checked, &game] {
            game.SetComplication(checked(TCommand::Complication));
            MirrorOptions();
        },
        false);
    // A refused change of mode or level puts the marks back (ShowPlayers,
    // ShowIntellect).
    OnCommand(
        TCommand::RegimComputer, [&game] { game.SetRegim(1); }, false);
    OnCommand(
        TCommand::RegimHumans, [&game] { game.SetRegim(2); }, false);
    OnCommand(
        TCommand::LevelHigh, [&game] { game.SetIntellect(TStrength::High); }, false);
    OnCommand(
        TCommand::LevelAverage, [&game] { game.SetIntellect(TStrength::Average); }, false);
    OnCommand(
        TCommand::LevelLow, [&game] { game.SetIntellect(TStrength::Low); }, false);

    // The look. The dialogs wait while the computer thinks.
    OnCommand(
        TCommand::LoadField, [this] { look_->LoadFieldPicture(chooser_); }, true);
    OnCommand(
        TCommand::FieldTexture, [this] { look_->ChooseFieldTexture(); }, true);
    OnCommand(
        TCommand::LoadBackground, [this] { look_->LoadBackgroundPicture(chooser_); }, true);
    OnCommand(
        TCommand::BackgroundTexture, [this] { look_->ChooseBackgroundTexture(); }, true);
    OnCommand(
        TCommand::Grid, [this, checked] { look_->SetGrid(checked(TCommand::Grid)); }, false);
    OnCommand(
        TCommand::Coordinates,
        [this, checked] { look_->SetCoordinates(checked(TCommand::Coordinates)); }, false);
    OnCommand(
        TCommand::ControlPanel,
        [this, checked] { ShowControlPanel(checked(TCommand::ControlPanel)); }, false);
    OnCommand(
        TCommand::StyleButtons, [this] { look_->SetStyle(true); }, false);
    OnCommand(
        TCommand::StylePicture, [this] { look_->SetStyle(false); }, false);
    OnCommand(
        TCommand::SchemeDefault, [this] { look_->ApplyScheme(kSchemeDefault); }, false);
    OnCommand(
        TCommand::SchemeDark, [this] { look_->ApplyScheme(kSchemeDark); }, false);
    OnCommand(
        TCommand::SchemeCustom, [this] { look_->EditCustomScheme(chooser_); }, true);
    OnCommand(
        TCommand::About, [this] { help_->OpenAboutWindow(); }, true);
    OnCommand(
        TCommand::SoundBegin,
        [this, checked] { settings_.Look.SoundBegin = checked(TCommand::SoundBegin); }, false);
    OnCommand(
        TCommand::SoundMove,
        [this, checked] { settings_.Look.SoundMove = checked(TCommand::SoundMove); }, false);
    OnCommand(
        TCommand::SoundEnd,
        [this, checked] { settings_.Look.SoundEnd = checked(TCommand::SoundEnd); }, false);
    OnCommand(
        TCommand::StayOnTop, [this, checked] { StayOnTop(checked(TCommand::StayOnTop)); }, false);
    OnCommand(
        TCommand::MinimizeToTray, [this] { MinimizeToTrayClicked(); }, false);
    OnCommand(
        TCommand::KeepWindows, [this] { KeepWindowsClicked(); }, true);
    OnCommand(
        TCommand::Defaults, [this] { ResetAllSettings(); }, true);
    ConnectMusicCommands();
    ConnectDesktopCommands();
}

void TMainForm::ConnectDesktopCommands() {
    // Like every dialog, they wait while the computer thinks.
    const std::array<std::pair<TCommand, TLauncherPlace>, 4> launchers{{
        {TCommand::LinkGames, TLauncherPlace::Games},
        {TCommand::LinkMainMenu, TLauncherPlace::MainMenu},
        {TCommand::LinkDesktop, TLauncherPlace::Desktop},
        {TCommand::LinkAutostart, TLauncherPlace::Autostart},
    }};
    for (const auto& [command, place] : launchers)
        OnCommand(
            command,
            [this, place = place] {
                if (desktop_) desktop_->ToggleLauncher(place);
            },
            true);
    OnCommand(
        TCommand::ShellIntegration,
        [this] {
            if (desktop_) desktop_->OpenFileTypes();
        },
        true);
}

void TMainForm::ConnectMusicCommands() {
    // The music plays beside the game: its switches work while the computer
    // thinks; only the source dialogs wait, as every dialog does. The engine
    // puts the marks right (MusicSwitchesChanged).
    TMusicEngine& engine = player_->Engine();
    using TOperation = void (TMusicEngine::*)();
    const std::array<std::pair<TCommand, TOperation>, 6> transport{{
        {TCommand::MusicPrevious, &TMusicEngine::Previous},
        {TCommand::MusicRestart, &TMusicEngine::Restart},
        {TCommand::MusicPlay, &TMusicEngine::TogglePlay},
        {TCommand::MusicPause, &TMusicEngine::TogglePause},
        {TCommand::MusicNext, &TMusicEngine::Next},
        {TCommand::MusicRandom, &TMusicEngine::ToggleRandom},
    }};
    for (const auto& [command, operation] : transport)
        OnCommand(
            command, [&engine, operation = operation] { (engine.*operation)(); }, false);
    constexpr std::array<TCommand, 4> sources{TCommand::MusicOpenFolder, TCommand::MusicAddFolder,
                                              TCommand::MusicOpenList, TCommand::MusicAddList};
    for (std::size_t i = 0; i < sources.size(); ++i)
        OnCommand(
            sources[i], [this, tag = int(i) + 1] { player_->ChooseSource(tag); }, true);
    OnCommand(
        TCommand::MusicList, [this] { player_->TogglePlaylistWindow(); }, false);
    OnCommand(
        TCommand::MusicShowList, [this] { player_->RevealPlaylistWindow(); }, false);
}

void TMainForm::MirrorOptions() {
    const TGameOptions& game = controller_->Options();
    const TLookSettings& look = settings_.Look;
    commands_.SetChecked(TCommand::Hint, game.HintOn);
    commands_.SetChecked(TCommand::GoFast, game.GoFast);
    commands_.SetChecked(TCommand::Complication, game.Complication);
    commands_.SetChecked(TCommand::ControlPanel, look.ControlPanel);
    commands_.SetChecked(TCommand::SoundBegin, look.SoundBegin);
    commands_.SetChecked(TCommand::SoundMove, look.SoundMove);
    commands_.SetChecked(TCommand::SoundEnd, look.SoundEnd);
    commands_.SetChecked(TCommand::StayOnTop, look.StayOnTop);
    commands_.SetChecked(TCommand::MinimizeToTray, shell_.MinimizeToTray);
    commands_.SetChecked(TCommand::KeepWindows, keepWindows_);
    look_->MirrorChecks();
    player_->MirrorChecks();
}

void TMainForm::OpenHintWindow() {
    const TColorScheme& scheme = look_->Scheme();
    const THelpLook look{board_->FieldTexture(), figureList_.SmallFigure(scheme.Figure1),
                         figureList_.SmallFigure(scheme.Figure2)};
    THelpForm::Run(*controller_, look, this);
}

} // namespace dorvane
