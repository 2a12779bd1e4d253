// The dialogs of the program that stand in the way of its close. A modal
// dialog runs its own event loop inside the code that opened it (a save
// dialog inside the playlist window's command, say), and a signal, the
// media controls or a later start can ask the program to close from inside
// that loop. Destroying the windows then would pull the dialog and its
// caller's window out from under the caller, which still runs. So the close
// ends the dialogs first and goes on only once they are gone: their exec()
// calls have returned and their callers have finished.
#pragma once

namespace dorvane {

// True while a modal dialog or a popup menu of the program is shown.
bool DialogsInTheWay();

// Rejects every modal dialog and closes every popup menu, so that the
// loops they run return.
void EndOpenDialogs();

// Closes the dialogs without an owner (the message window): they would keep
// the program running once its main window has gone.
void CloseOwnerlessDialogs();

} // namespace dorvane
