#include "Format.h"

#include "runtime/RuntimeException.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

enum class TokenKind { Zero, Hash, Point, Literal };

struct Token {
    TokenKind kind;
    std::string text; // for literals
};

// The format split into placeholders, the decimal point and literal text. Grouping commas only set a
// flag: separators are placed by digit position, not where the commas were written.
struct Layout {
    std::vector<Token> tokens;
    std::size_t integerPlaceholders = 0;
    std::size_t fractionPlaceholders = 0;
    bool hasPoint = false;
    bool grouping = false;
    // Integer digit positions (0 = units) up to this one are always shown; -1 when no "0" asks for any.
    long zeroPaddedTo = -1;
    // Fraction digits up to this count are always shown.
    std::size_t zeroPaddedFraction = 0;
};

void appendLiteral(Layout& layout, std::string_view text)
{
    if (!layout.tokens.empty() && layout.tokens.back().kind == TokenKind::Literal)
        layout.tokens.back().text.append(text);
    else
        layout.tokens.push_back({ TokenKind::Literal, std::string(text) });
}

Layout parse(std::string_view format)
{
    Layout layout;
    std::vector<bool> integerZeros;
    for (std::size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '0' || c == '#') {
            layout.tokens.push_back({ c == '0' ? TokenKind::Zero : TokenKind::Hash, {} });
            if (layout.hasPoint) {
                ++layout.fractionPlaceholders;
                if (c == '0')
                    layout.zeroPaddedFraction = layout.fractionPlaceholders;
            } else {
                ++layout.integerPlaceholders;
                integerZeros.push_back(c == '0');
            }
        } else if (c == '.' && !layout.hasPoint) {
            layout.tokens.push_back({ TokenKind::Point, {} });
            layout.hasPoint = true;
        } else if (c == ',' && !layout.hasPoint) {
            layout.grouping = true;
        } else if (c == '\\') {
            // A trailing backslash has nothing to escape and stands for itself.
            if (i + 1 < format.size())
                ++i;
            appendLiteral(layout, format.substr(i, 1));
        } else if (c == '"') {
            std::size_t close = format.find('"', i + 1);
            std::size_t end = close == std::string_view::npos ? format.size() : close;
            appendLiteral(layout, format.substr(i + 1, end - i - 1));
            i = end;
        } else {
            appendLiteral(layout, format.substr(i, 1));
        }
    }
    for (std::size_t i = 0; i < integerZeros.size(); ++i) {
        if (integerZeros[i]) {
            layout.zeroPaddedTo = static_cast<long>(integerZeros.size() - 1 - i);
            break;
        }
    }
    return layout;
}

// A magnitude as decimal digits, rounded to a number of fraction digits.
struct Digits {
    std::string integer; // without leading zeros: empty for zero
    std::string fraction; // exactly the requested count
    bool zero() const { return integer.empty() && fraction.find_first_not_of('0') == std::string::npos; }
};

// Rounds the shortest decimal form of the magnitude, not its binary value, so that 2.675 gives 2.68 as
// written.
Digits roundedDigits(double magnitude, std::size_t fractionDigits)
{
    std::array<char, 64> buffer {};
    auto [end, error] = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::scientific);
    VORPEL_ASSERT(error == std::errc(), "a double did not fit its scientific form");
    std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    std::size_t e = text.find('e');
    std::string mantissa;
    for (char c : text.substr(0, e)) {
        if (c != '.')
            mantissa.push_back(c);
    }
    long exponent = std::strtol(std::string(text.substr(e + 1)).c_str(), nullptr, 10);

    // Digit i of the mantissa stands at decimal position exponent - i (0 = units, -1 = tenths).
    long top = std::max(exponent, 0L);
    long bottom = -static_cast<long>(fractionDigits);
    std::string fixed(static_cast<std::size_t>(top - bottom + 1), '0');
    auto digitAt = [&](long position) -> char {
        long index = exponent - position;
        return index >= 0 && index < static_cast<long>(mantissa.size())
            ? mantissa[static_cast<std::size_t>(index)]
            : '0';
    };
    for (long position = top; position >= bottom; --position)
        fixed[static_cast<std::size_t>(top - position)] = digitAt(position);
    if (digitAt(bottom - 1) >= '5') {
        std::size_t i = fixed.size();
        while (i > 0 && fixed[i - 1] == '9')
            fixed[--i] = '0';
        if (i == 0)
            fixed.insert(fixed.begin(), '1');
        else
            ++fixed[i - 1];
    }

    Digits digits;
    std::size_t integerLength = fixed.size() - fractionDigits;
    std::string_view integer = std::string_view(fixed).substr(0, integerLength);
    std::size_t first = integer.find_first_not_of('0');
    digits.integer = first == std::string_view::npos ? std::string() : std::string(integer.substr(first));
    digits.fraction = fixed.substr(integerLength);
    return digits;
}

std::string shortest(double value)
{
    if (value == 0)
        return "0"; // also for -0
    std::array<char, 64> buffer {};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    VORPEL_ASSERT(error == std::errc(), "a double did not fit its shortest form");
    return std::string(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
}

std::string layOut(double value, const Layout& layout)
{
    Digits digits = roundedDigits(std::fabs(value), layout.fractionPlaceholders);
    bool signPending = std::signbit(value) && !digits.zero();

    std::string out;
    auto emitSign = [&] {
        if (signPending)
            out.push_back('-');
        signPending = false;
    };
    auto emitIntegerDigit = [&](std::size_t position) {
        emitSign();
        out.push_back(
            position < digits.integer.size() ? digits.integer[digits.integer.size() - 1 - position] : '0');
        if (layout.grouping && position > 0 && position % 3 == 0)
            out.push_back(',');
    };

    std::size_t width = digits.integer.size();
    if (layout.zeroPaddedTo >= 0)
        width = std::max(width, static_cast<std::size_t>(layout.zeroPaddedTo) + 1);
    // Digits beyond the placeholders all show, ahead of the first one (or of the point if none).
    auto emitOverflow = [&] {
        for (std::size_t position = width; position-- > layout.integerPlaceholders;)
            emitIntegerDigit(position);
    };

    std::size_t fractionShown = layout.zeroPaddedFraction;
    std::size_t lastNonZero = digits.fraction.find_last_not_of('0');
    if (lastNonZero != std::string::npos)
        fractionShown = std::max(fractionShown, lastNonZero + 1);

    std::size_t integerSeen = 0;
    std::size_t fractionSeen = 0;
    for (const Token& token : layout.tokens) {
        switch (token.kind) {
        case TokenKind::Literal:
            out.append(token.text);
            break;
        case TokenKind::Point:
            if (layout.integerPlaceholders == 0)
                emitOverflow();
            emitSign();
            out.push_back('.');
            break;
        case TokenKind::Zero:
        case TokenKind::Hash:
            if (integerSeen < layout.integerPlaceholders) {
                if (integerSeen == 0)
                    emitOverflow();
                std::size_t position = layout.integerPlaceholders - 1 - integerSeen++;
                if (position < width)
                    emitIntegerDigit(position);
            } else {
                std::size_t index = fractionSeen++;
                if (index < fractionShown)
                    out.push_back(digits.fraction[index]);
            }
            break;
        }
    }
    return out;
}

} // namespace

Ref<String> StringFormat(double value, String* format, std::int32_t flags)
{
    if (flags != kFormatSeparatorsAsWritten) {
        RuntimeRaise(UnsupportedOperationException::lookup(),
            "number format flags " + std::to_string(flags)
                + " are not supported; only 1 (separators as written)");
    }
    if (std::isnan(value))
        return String::create("NaN");
    if (std::isinf(value))
        return String::create(value > 0 ? "INF" : "-INF");
    if (!format || format->length() == 0)
        return String::create(shortest(value));

    Layout layout = parse(format->bytes());
    if (layout.integerPlaceholders == 0 && !layout.hasPoint) {
        // Nothing to hold the number: the format is all text.
        std::string text;
        for (const Token& token : layout.tokens)
            text.append(token.text);
        return String::create(text, format->encoding());
    }
    return String::create(layOut(value, layout), format->encoding());
}

Ref<String> Format(double value, String* format)
{
    return StringFormat(value, format, kFormatSeparatorsAsWritten);
}
