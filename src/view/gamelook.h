// How the game window looks: the colour scheme on the panel, the board and
// the menus, the field and background pictures, the grid, the coordinates
// and the board's style. Its state is the window's settings record; the
// values the program keeps at once (side names, picture paths) are written
// to the store here when they change.
#pragma once

#include "view/colorscheme.h"
#include "view/commands.h"
#include "view/figurelist.h"
#include "view/filechooser.h"
#include "view/pictureslot.h"

#include "core/messages.h"
#include "core/settings_access.h"
#include "game/board.h"
#include "play/game_settings.h"

#include <QString>

#include <memory>

class QWidget;

namespace dorvane {

class TBoardWidget;
class TControlPanel;
class TGameController;

struct TGameLookParts {
    QWidget* window = nullptr; // the dialogs' parent
    TBoardWidget* board = nullptr;
    TControlPanel* panel = nullptr;
    const TCommandRegistry* commands = nullptr;
    TGameController* controller = nullptr;
    TFigureList* figures = nullptr;
    SettingsAccess* store = nullptr; // none: nothing is kept
    // The window's SettingsWritable: "Применить" of the scheme editor stores
    // and applies only while it holds.
    const bool* settingsWritable = nullptr;
    TMessageService* messages = nullptr;
};

class TGameLook {
public:
    TGameLook(const TGameLookParts& parts, TGameSettings& settings);

    // At the window's creation: the stored look, the pictures of the last
    // run among it (a picture that is gone leaves the built-in texture).
    void ApplyStored();

    void ApplyScheme(int scheme);
    // "Другая": the scheme editor, modal; after "Применить" with writable
    // settings the custom scheme is stored and applied. Picture files are
    // asked for through chooser.
    void EditCustomScheme(const TFileChooser& chooser);
    const TColorScheme& Scheme() const { return scheme_; }
    // A name box was edited: the custom scheme keeps names of its own, the
    // built-in ones share theirs; either is written at once.
    void NameEdited(TSide side, const QString& name);

    void SetStyle(bool buttons);
    void SetGrid(bool on);
    void SetCoordinates(bool on);

    void LoadFieldPicture(const TFileChooser& chooser);
    void ChooseFieldTexture();
    void LoadBackgroundPicture(const TFileChooser& chooser);
    void ChooseBackgroundTexture();
    // The picture in the file, kept as "Field" / "Background" when it could
    // be shown; false leaves the built-in texture and the state as it was.
    bool UseFieldPicture(const QString& path);
    bool UseBackgroundPicture(const QString& path);

    // Sets the look's check marks and enabled states from the settings.
    void MirrorChecks() const;

private:
    void MirrorSchemeChecks() const;
    // The added pictures of the last run, into the figure list.
    void AddStoredPictures();
    // Rebuilds the field picture in the picture style and redraws at once.
    void RefreshField();
    void LoadPicture(TPictureSlot& slot, const TFileChooser& chooser);
    bool UsePicture(TPictureSlot& slot, const QString& path);

    TGameLookParts parts_;
    TGameSettings& settings_;
    TColorScheme scheme_;
    std::unique_ptr<TPictureSlot> field_;
    std::unique_ptr<TPictureSlot> background_;
};

} // namespace dorvane
