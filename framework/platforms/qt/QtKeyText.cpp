#include "QtKeyText.h"

namespace {
// The keys without a character of their own each give one fixed control character, whatever the
// modifiers.
const char* namedKeyText(int key)
{
    switch (key) {
    case Qt::Key_Return:
        return "\r";
    case Qt::Key_Enter:
        return "\x03";
    case Qt::Key_Escape:
        return "\x1b";
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return "\t";
    case Qt::Key_Backspace:
        return "\x08";
    case Qt::Key_Delete:
        return "\x7f";
    case Qt::Key_Space:
        return " ";
    case Qt::Key_Left:
        return "\x1c";
    case Qt::Key_Right:
        return "\x1d";
    case Qt::Key_Up:
        return "\x1e";
    case Qt::Key_Down:
        return "\x1f";
    case Qt::Key_Home:
        return "\x01";
    case Qt::Key_End:
        return "\x04";
    case Qt::Key_PageUp:
        return "\x0b";
    case Qt::Key_PageDown:
        return "\x0c";
    case Qt::Key_Insert:
    case Qt::Key_Help:
        return "\x05";
    default:
        // Function keys have no text of their own; they share one code.
        if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
            return "\x10";
        return nullptr;
    }
}

bool isModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}
} // namespace

std::optional<std::string> QtKeyText(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (isModifierKey(key))
        return std::nullopt;
    if (const char* named = namedKeyText(key))
        return std::string(named);
    // With Ctrl or Meta held a letter is a command: a menu takes it, or nobody.
    if (modifiers & (Qt::ControlModifier | Qt::MetaModifier))
        return std::nullopt;
    if (text.isEmpty())
        return std::nullopt;
    for (char32_t c : text.toUcs4()) {
        if (!QChar::isPrint(c))
            return std::nullopt;
    }
    return text.toStdString();
}
