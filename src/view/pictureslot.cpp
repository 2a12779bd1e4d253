#include "view/pictureslot.h"

#include "view/assets.h"
#include "view/textureform.h"

#include <QAction>

namespace dorvane {

TPictureSlot::TPictureSlot(TPictureSlotSpec spec, TPictureSlotState state,
                           const TCommandRegistry& commands,
                           std::function<void(const QImage&)> show)
    : spec_(std::move(spec)), state_(state), commands_(commands), show_(std::move(show)) {}

void TPictureSlot::ShowTexture() {
    show_(BuiltinTexture(state_.texture));
    MirrorChecks();
}

bool TPictureSlot::ShowFile(const QString& path) {
    const TLoadedPicture picture = spec_.load(path, state_.texture);
    show_(picture.Image);
    if (picture.FromFile) {
        state_.path = path;
        state_.loaded = true;
    }
    MirrorChecks();
    return picture.FromFile;
}

TFileRequest TPictureSlot::DialogRequest(const QString& folder) const {
    return {QString(), folder, spec_.dialogFilter, false, QString()};
}

bool TPictureSlot::ChooseTexture(QWidget* parent) {
    MirrorChecks();
    const std::optional<int> choice =
        TTextureForm::Choose(parent, spec_.chooserTitle, state_.texture);
    if (!choice || *choice < 1) return false;
    if (*choice != state_.texture || state_.loaded) {
        state_.texture = *choice;
        state_.loaded = false;
        show_(BuiltinTexture(state_.texture));
    }
    MirrorChecks();
    return true;
}

void TPictureSlot::MirrorChecks() const {
    commands_.SetChecked(spec_.loadItem, state_.loaded);
    commands_.SetChecked(spec_.builtinItem, !state_.loaded);
}

} // namespace dorvane
