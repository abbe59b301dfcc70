#include "MassPropertySetter.h"

#include "runtime/CallTrace.h"
#include "runtime/FaultInjection.h"
#include "runtime/RuntimeException.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>

namespace {

// Keys come from the set, so anything may be in them: the message shows odd bytes as \xNN and cuts a
// runaway key short.
std::string quoted(std::string_view key)
{
    constexpr std::size_t limit = 64;
    std::string out = "\"";
    for (std::size_t i = 0; i < key.size() && i < limit; ++i) {
        auto byte = static_cast<unsigned char>(key[i]);
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            out.push_back(static_cast<char>(byte));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out.append(escaped);
        }
    }
    if (key.size() > limit)
        out.append("...");
    out.push_back('"');
    return out;
}

class Reader {
public:
    Reader(Object& object, std::string_view bytes)
        : m_object(object)
        , m_bytes(bytes)
    {
    }

    void run()
    {
        while (m_position < m_bytes.size())
            entry();
    }

private:
    [[noreturn]] void fail(std::string_view what, std::string_view detail = {}) const
    {
        std::string message = "design-time property set: ";
        message.append(what).append(" ").append(quoted(m_key)).append(" at offset ");
        message.append(std::to_string(m_entryStart));
        if (!detail.empty())
            message.append(": ").append(detail);
        RuntimeRaise(InvalidArgumentException::lookup(), message);
    }

    std::size_t remaining() const { return m_bytes.size() - m_position; }

    // The next count bytes of the value, or an error naming how far the set fell short.
    std::string_view take(std::size_t count, std::string_view typeCode)
    {
        if (remaining() < count) {
            fail("value of",
                "the set ends after " + std::to_string(remaining()) + " of the " + std::to_string(count)
                    + " bytes of its " + std::string(typeCode) + " value");
        }
        std::string_view taken = m_bytes.substr(m_position, count);
        m_position += count;
        return taken;
    }

    static std::uint32_t bigEndian(std::string_view four)
    {
        std::uint32_t value = 0;
        for (char c : four)
            value = (value << 8) | static_cast<unsigned char>(c);
        return value;
    }

    template <class Setter> Setter setterAs(const PropertyInfo& property)
    {
        const Setter* setter = std::get_if<Setter>(&property.setter);
        if (setter && *setter)
            return *setter;
        if (std::holds_alternative<std::monostate>(property.setter) || setter)
            fail("property", "it has no setter");
        fail("property", "its setter does not match its type " + property.typeCode);
    }

    void entry()
    {
        m_entryStart = m_position;
        std::size_t space = m_bytes.find(' ', m_position);
        m_key = m_bytes.substr(
            m_position, space == std::string_view::npos ? std::string_view::npos : space - m_position);
        if (space == std::string_view::npos)
            fail("key", "the set ends before the space after it");
        if (m_key.empty())
            fail("empty key");
        m_position = space + 1;

        const PropertyInfo* property = m_object.classTable()->findProperty(m_key);
        if (!property)
            fail("unknown property");
        const std::string& type = property->typeCode;
        if (type == "i4") {
            auto set = setterAs<SetI4>(*property);
            set(&m_object, 0, static_cast<std::int32_t>(bigEndian(take(4, type))));
        } else if (type == "b") {
            auto set = setterAs<SetBoolean>(*property);
            auto byte = static_cast<unsigned char>(take(1, type)[0]);
            if (byte > 1) {
                char shown[8];
                std::snprintf(shown, sizeof shown, "%02X", byte);
                fail("boolean", "its byte is " + std::string(shown) + ", not 00 or 01");
            }
            set(&m_object, 0, byte == 1);
        } else if (type == "c") {
            auto set = setterAs<SetColor>(*property);
            std::string_view rgb = take(3, type);
            set(&m_object, 0,
                Color { static_cast<std::uint8_t>(rgb[0]), static_cast<std::uint8_t>(rgb[1]),
                    static_cast<std::uint8_t>(rgb[2]), 0 });
        } else if (type == "s") {
            auto set = setterAs<SetStringValue>(*property);
            std::uint32_t count = bigEndian(take(4, type));
            if (count > remaining()) {
                fail("string",
                    "its byte count " + std::to_string(count) + " runs past the end, "
                        + std::to_string(remaining()) + " bytes remain");
            }
            Ref<String> value = String::create(take(count, type), TextEncoding::UTF8);
            set(&m_object, 0, value.ptr());
        } else {
            fail("property", "its type " + type + " cannot be read from a property set");
        }
    }

    Object& m_object;
    std::string_view m_bytes;
    std::size_t m_position = 0;
    std::size_t m_entryStart = 0;
    std::string_view m_key;
};

} // namespace

void RuntimeMassPropertySetter(Object* object, String* set)
{
    TracedCall trace("RuntimeMassPropertySetter", { object, set });
    if (!object)
        RaiseNilObjectException();
    RuntimeFaultPoint();
    if (!set || set->length() == 0)
        return;
    // A setter may drop the last outside reference to either; both must outlive the loop.
    Ref<Object> keepObject(*object);
    Ref<String> keepSet(*set);
    Reader(*object, set->bytes()).run();
}
