#include "view/commands.h"

#include "view/assets.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QObject>

namespace dorvane {

namespace {

enum class TKind { Command, Check, Radio };

struct TCommandSpec {
    TCommand id;
    const char* text;
    QKeyCombination key;
    int picture; // entry of the small-picture list; -1 none
    TKind kind;
    int group; // radio group number (the same number, one group)
    bool enabled;
};

constexpr QKeyCombination kNoKey{};

// The window's commands as the menus show them. The start items' texts and
// pictures and the pass item's picture follow the colour scheme.
const std::array<TCommandSpec, kCommandCount> kCommands{{
    {TCommand::StartSide1, "Зелёные начинают", Qt::Key_F1, -1, TKind::Command, 0, true},
    {TCommand::StartSide2, "Синие начинают", Qt::Key_F2, -1, TKind::Command, 0, true},
    {TCommand::PassMove, "Нет хода", Qt::Key_F3, -1, TKind::Command, 0, true},
    {TCommand::ResetScore, "Сбросить счет", Qt::Key_F4, 3, TKind::Command, 0, true},
    {TCommand::FindMove, "Найти ход", Qt::Key_F5, 10, TKind::Command, 0, true},
    {TCommand::ToBegin, "В начало", Qt::Key_F6, 4, TKind::Command, 0, false},
    {TCommand::StepBack, "Назад", Qt::Key_F7, 5, TKind::Command, 0, false},
    {TCommand::ResumePlay, "Играть", Qt::Key_F8, 6, TKind::Command, 0, false},
    {TCommand::StepForward, "Вперед", Qt::Key_F9, 7, TKind::Command, 0, false},
    {TCommand::ToEnd, "В конец", Qt::Key_F10, 8, TKind::Command, 0, false},
    {TCommand::LoadGame, "Загрузить игру", Qt::Key_F11, 0, TKind::Command, 0, true},
    {TCommand::SaveGame, "Сохранить игру", Qt::Key_F12, 1, TKind::Command, 0, true},
    {TCommand::Close, "Закрыть", Qt::ALT | Qt::Key_F4, -1, TKind::Command, 0, true},
    {TCommand::Hint, "Подсказка", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::GoFast, "Ходить быстро", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::Complication, "Усложнение", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::RegimComputer, "Человек и Компьютер", kNoKey, -1, TKind::Radio, 1, true},
    {TCommand::RegimHumans, "Человек и Человек", kNoKey, -1, TKind::Radio, 1, true},
    {TCommand::LevelHigh, "Высокий", kNoKey, -1, TKind::Radio, 2, true},
    {TCommand::LevelAverage, "Средний", kNoKey, -1, TKind::Radio, 2, true},
    {TCommand::LevelLow, "Низкий", kNoKey, -1, TKind::Radio, 2, true},
    {TCommand::LoadField, "Загружать рисунок поля", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::FieldTexture, "Встроенная текстура поля", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::LoadBackground, "Загружать рисунок фона", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::BackgroundTexture, "Встроенная текструра фона", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::Grid, "Сетка", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::Coordinates, "Координаты", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::ControlPanel, "Панель управления", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::StyleButtons, "Кнопки", kNoKey, -1, TKind::Radio, 3, true},
    {TCommand::StylePicture, "Рисунок", kNoKey, -1, TKind::Radio, 3, true},
    {TCommand::SchemeDefault, "По умолчанию", kNoKey, -1, TKind::Radio, 4, true},
    {TCommand::SchemeDark, "Темная", kNoKey, -1, TKind::Radio, 4, true},
    {TCommand::SchemeCustom, "Другая", kNoKey, -1, TKind::Radio, 4, true},
    {TCommand::SoundBegin, "Начало игры", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::SoundMove, "Ход", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::SoundEnd, "Конец игры", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::MusicPrevious, "Предыдущая", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::MusicRestart, "В начало", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::MusicPlay, "Воспроизводить", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::MusicPause, "Пауза", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::MusicNext, "Следующая", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::MusicRandom, "Случайный выбор", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::MusicOpenFolder, "Открыть директорию", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::MusicAddFolder, "Добавить директорию", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::MusicOpenList, "Открыть список", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::MusicAddList, "Добавить список", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::MusicList, "Список", kNoKey, 15, TKind::Command, 0, true},
    {TCommand::MusicShowList, "Показать список звуковых файлов", kNoKey, 15, TKind::Command, 0,
     true},
    {TCommand::LinkGames, "Создать/удалить ярлык в группе «Игры»", kNoKey, -1, TKind::Command, 0,
     true},
    {TCommand::LinkMainMenu, "Создать/удалить ярлык в главном меню", kNoKey, -1, TKind::Command, 0,
     true},
    {TCommand::LinkDesktop, "Создать/удалить ярлык на рабочем столе", kNoKey, -1, TKind::Command, 0,
     true},
    {TCommand::LinkAutostart, "Создать/удалить ярлык в группе «Автозагрузка»", kNoKey, -1,
     TKind::Command, 0, true},
    {TCommand::ShellIntegration, "Интеграция в оболочку", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::StayOnTop, "Поверх всех окон", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::MinimizeToTray, "Минимизировать в трей", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::KeepWindows, "Не скрывать окна при минимизации", kNoKey, -1, TKind::Check, 0, true},
    {TCommand::Defaults, "Все по умолчанию", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::Feedback, "Отзывы и предложения", kNoKey, 2, TKind::Command, 0, true},
    {TCommand::Site, "Сайт Dorvane", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::Support, "Поддержать проект", kNoKey, -1, TKind::Command, 0, true},
    {TCommand::About, "О программе", kNoKey, -1, TKind::Command, 0, true},
}};

} // namespace

TCommandRegistry::TCommandRegistry(QObject* owner) {
    std::array<QActionGroup*, 5> groups{};
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        const TCommandSpec& spec = kCommands[i];
        Q_ASSERT(static_cast<std::size_t>(spec.id) == i);
        auto* action = new QAction(QString::fromUtf8(spec.text), owner);
        if (spec.key != kNoKey) action->setShortcut(QKeySequence(spec.key));
        if (spec.picture >= 0)
            action->setIcon(QIcon(QPixmap::fromImage(SmallPicture(spec.picture))));
        action->setCheckable(spec.kind != TKind::Command);
        if (spec.kind == TKind::Radio) {
            QActionGroup*& group = groups[std::size_t(spec.group)];
            if (!group) group = new QActionGroup(owner);
            group->addAction(action);
        }
        action->setEnabled(spec.enabled);
        actions_[i] = action;
    }
    // The keys people expect of any program, beside the window's own: they
    // come second, so the menus go on showing the F-keys and Alt+F4. A
    // disabled "Назад" refuses Ctrl+Z as it refuses F7.
    const std::array<std::pair<TCommand, QKeyCombination>, 2> expected{{
        {TCommand::StepBack, Qt::CTRL | Qt::Key_Z},
        {TCommand::Close, Qt::CTRL | Qt::Key_Q},
    }};
    for (const auto& [command, key] : expected) {
        QAction* action = Action(command);
        action->setShortcuts({action->shortcut(), QKeySequence(key)});
    }
}

bool TCommandRegistry::Find(const QAction* action, TCommand& command) const {
    for (std::size_t i = 0; i < actions_.size(); ++i)
        if (actions_[i] == action) {
            command = static_cast<TCommand>(i);
            return true;
        }
    return false;
}

void TCommandRegistry::SetChecked(TCommand command, bool checked) const {
    Action(command)->setChecked(checked);
}

void TCommandRegistry::SetEnabled(TCommand command, bool enabled) const {
    Action(command)->setEnabled(enabled);
}

} // namespace dorvane
