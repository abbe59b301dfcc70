#pragma once

#include <QKeySequence>

#include <string_view>

// A menu item's KeyboardShortcut ("Cmd+Q", "Cmd+Shift+Z", "F5") as a key sequence. Cmd is the primary
// modifier and becomes Ctrl; Option becomes Alt; the other parts are read as Qt reads them. Empty or
// unreadable text gives an empty sequence: no shortcut.
QKeySequence QtShortcut(std::string_view text);
