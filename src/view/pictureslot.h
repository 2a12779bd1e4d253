// A picture the player may put in place of a built-in texture: the field's
// or the background's. The two differ only in their data (which file kinds
// are taken, the texture chooser's caption, the settings' names and where
// the picture goes), so one type serves both.
//
// The state lives in the settings record the slot is given: the texture
// number, whether a loaded picture is shown and its path. A picture that
// cannot be loaded leaves the built-in texture and changes nothing else.
#pragma once

#include "view/commands.h"
#include "view/filechooser.h"
#include "view/pictureloader.h"

#include <QImage>
#include <QString>

#include <functional>

class QWidget;

namespace dorvane {

struct TPictureSlotSpec {
    TCommand loadItem;    // "Загружать рисунок ..."
    TCommand builtinItem; // "Встроенная текстура ..."
    QString chooserTitle; // the texture chooser's caption
    QString dialogFilter; // the picture files offered
    QString pathSetting;  // "Field", "Background"
    TLoadedPicture (*load)(const QString& path, int builtinTexture);
};

// Where the slot keeps its state: members of the window's settings record.
struct TPictureSlotState {
    int& texture;
    bool& loaded;
    QString& path;
};

class TPictureSlot {
public:
    // show puts the picture in place.
    TPictureSlot(TPictureSlotSpec spec, TPictureSlotState state, const TCommandRegistry& commands,
                 std::function<void(const QImage&)> show);
    const TPictureSlotSpec& Spec() const { return spec_; }

    // The built-in texture in force, without a picture.
    void ShowTexture();
    // The picture in the file; false (the built-in texture shown, the state
    // as it was) when it cannot be used.
    bool ShowFile(const QString& path);
    // "Загружать рисунок ...": what the picture dialog offers, starting in folder.
    TFileRequest DialogRequest(const QString& folder) const;
    // "Встроенная текстура ...": the texture chooser; true when a texture was
    // applied ("Применить").
    bool ChooseTexture(QWidget* parent);
    void MirrorChecks() const;

private:
    TPictureSlotSpec spec_;
    TPictureSlotState state_;
    const TCommandRegistry& commands_;
    std::function<void(const QImage&)> show_;
};

} // namespace dorvane
