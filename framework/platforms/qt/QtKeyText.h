#pragma once

#include <QList>
#include <QString>
#include <Qt>

#include <optional>
#include <string>

// The text a key press hands to a window's KeyDown, in UTF-8; nothing for a press that is no key of its
// own (a modifier alone, a key without text, a command chord with Ctrl or Meta held).
//
//   Return     "\r"     Enter (keypad) "\x03"   Escape "\x1b"   Tab, Backtab "\t"
//   Backspace  "\x08"   Delete         "\x7f"   Space  " "
//   Left "\x1c"  Right "\x1d"  Up "\x1e"  Down "\x1f"
//   Home "\x01"  End "\x04"    PageUp "\x0b"  PageDown "\x0c"
//   Insert, Help "\x05"         F1 to F35 "\x10"
//   any other key: its text, when that is printable
std::optional<std::string> QtKeyText(int key, Qt::KeyboardModifiers modifiers, const QString& text);
