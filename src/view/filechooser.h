// How a command asks the player for a file. The window's commands take the
// chooser as a value, so a test answers in place of the dialog.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace dorvane {

struct TFileRequest {
    QString title;
    QString folder; // where the dialog starts
    QString filter; // "Файлы dorvane (*.dvn)"
    bool save = false;
    QString defaultSuffix;     // added to a name typed without one (saving)
    bool chooseFolder = false; // a folder is chosen, not a file; title is the dialog's text
};

// The chosen file's path; empty when the player cancelled.
using TFileChooser = std::function<QString(const TFileRequest& request)>;

// The toolkit's file dialog over parent, modal: for commands of the player
// only, never for anything a timer or a worker's result can start.
TFileChooser DialogFileChooser(QWidget* parent);

} // namespace dorvane
