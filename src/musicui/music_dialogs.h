// The music player's folder and file dialogs, as the model's chooser
// functions: modal, so for the player's own commands only.
#pragma once

#include "music/music_loader.h"
#include "music/playlist_writer.h"

class QFileDialog;
class QWidget;

namespace dorvane {

TSourceChooser DialogSourceChooser(QWidget* parent);
TSaveChooser DialogSaveChooser(QWidget* parent);

// The save dialog before it runs, for DialogSaveChooser and tests: its
// filters, the proposed name, and the name's extension following the filter
// the player picks.
void PrepareSaveDialog(QFileDialog& dialog, const TSaveRequest& request);
TPlaylistFormat SelectedFormat(const QFileDialog& dialog);

} // namespace dorvane
