#pragma once

#include <QList>
#include <QString>
#include <Qt>

#include <optional>
#include <string>

// The text a key press hands to a window's KeyDown, in UTF-8: a fixed control character for the keys
// without a character of their own (the table is in QtKeyText.cpp), otherwise the key's text when that is
// printable. Nothing for a press that is no key of its own (a modifier alone, a key without text, a
// command chord with Ctrl or Meta held).
std::optional<std::string> QtKeyText(int key, Qt::KeyboardModifiers modifiers, const QString& text);
