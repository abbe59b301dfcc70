#pragma once

#include "runtime/String.h"

#include <QString>

#include <string_view>

// The framework's text is UTF-8 bytes, Qt's is UTF-16: the one way across.
inline QString QtFromUtf8(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline QString QtFromUtf8(const String& text)
{
    return QtFromUtf8(text.bytes());
}
