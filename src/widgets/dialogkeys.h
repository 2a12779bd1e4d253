// A lone Alt press in a dialog must not move the focus to a menu: every
// dialog with key preview lets its key-down pass through SwallowAltKey.
#pragma once

class QWidget;

namespace dorvane {

// The Alt key becomes no key (0); any other key stays.
void SwallowAltKey(int& key);

// Lets every key press of the dialog (and its controls) pass through
// SwallowAltKey first; an Alt press then goes no further.
void InstallSwallowAltKey(QWidget* dialog);

} // namespace dorvane
