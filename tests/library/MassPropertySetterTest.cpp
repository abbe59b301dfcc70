#include "support/PropertySetBuilder.h"

#include "library/MassPropertySetter.h"
#include "runtime/RuntimeException.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

using propset::build;
using propset::Entry;
using namespace std::string_literals;

namespace {

constexpr std::int32_t kNoIndex = std::numeric_limits<std::int32_t>::min();

std::string describe(const std::string& name, const propset::Value& value)
{
    if (auto* i4 = std::get_if<std::int32_t>(&value))
        return name + "=" + std::to_string(*i4);
    if (auto* b = std::get_if<bool>(&value))
        return name + "=" + (*b ? "true" : "false");
    if (auto* c = std::get_if<Color>(&value)) {
        char rgb[16];
        std::snprintf(rgb, sizeof rgb, "#%02X%02X%02X%02X", c->red, c->green, c->blue, c->alpha);
        return name + "=" + rgb;
    }
    return name + "=\"" + std::get<std::string>(value) + "\"";
}

// A base and a derived class whose setters record into fields and into one log. Both declare a Width, so
// which one a key reaches shows whether the class is searched before its base.
class Control : public Object {
public:
    std::int32_t macProcId = 0;
    bool multiLine = false;
    std::int32_t width = 0;
    std::vector<std::string> log;

    void note(std::string_view name, std::int32_t index, const propset::Value& value)
    {
        EXPECT_EQ(index, 0) << name;
        log.push_back(describe(std::string(name), value));
    }

    static ClassTable* ctbl;
    static ClassTable* lookup()
    {
        if (!ctbl) {
            ctbl = RuntimeNewClass(Object::lookup());
            RuntimeSetClassName(ctbl, "fixture.Control");
            ctbl->allocate = &allocateInstance<Control>;
            SetI4 setMacProcId = [](Object* self, std::int32_t index, std::int32_t value) {
                auto* control = static_cast<Control*>(self);
                control->macProcId = value;
                control->note("MacProcId", index, value);
            };
            SetBoolean setMultiLine = [](Object* self, std::int32_t index, bool value) {
                auto* control = static_cast<Control*>(self);
                control->multiLine = value;
                control->note("MultiLine", index, value);
            };
            SetI4 setWidth = [](Object* self, std::int32_t index, std::int32_t value) {
                auto* control = static_cast<Control*>(self);
                control->width = value;
                control->note("Control.Width", index, value);
            };
            SetF4 setRatio = [](Object*, std::int32_t, float) { ADD_FAILURE() << "an f4 setter was called"; };
            RuntimeRegisterProperty(ctbl, "MacProcId", "i4", setMacProcId, {}, {});
            RuntimeRegisterProperty(ctbl, "MultiLine", "b", setMultiLine, {}, {});
            RuntimeRegisterProperty(ctbl, "Width", "i4", setWidth, {}, {});
            RuntimeRegisterProperty(ctbl, "Ratio", "f4", setRatio, {}, {});
            RuntimeRegisterProperty(ctbl, "Locked", "i4", {}, {}, {});
            RuntimeRegisterProperty(ctbl, "Unset", "s", SetStringValue {}, {}, {});
            RuntimeRegisterProperty(ctbl, "Mixed", "b", setWidth, {}, {});
        }
        return ctbl;
    }
};
ClassTable* Control::ctbl = nullptr;

class Field : public Control {
public:
    std::int32_t ownWidth = 0;
    RefPtr<String> text;
    Color textColor;

    static ClassTable* ctbl;
    static ClassTable* lookup()
    {
        if (!ctbl) {
            ctbl = RuntimeNewClass(Control::lookup());
            RuntimeSetClassName(ctbl, "fixture.Field");
            ctbl->allocate = &allocateInstance<Field>;
            SetI4 setWidth = [](Object* self, std::int32_t index, std::int32_t value) {
                auto* field = static_cast<Field*>(self);
                field->ownWidth = value;
                field->note("Field.Width", index, value);
            };
            SetStringValue setText = [](Object* self, std::int32_t index, String* value) {
                auto* field = static_cast<Field*>(self);
                field->text = value;
                field->note("Text", index, std::string(value->bytes()));
            };
            SetColor setTextColor = [](Object* self, std::int32_t index, Color value) {
                auto* field = static_cast<Field*>(self);
                field->textColor = value;
                field->note("TextColor", index, value);
            };
            RuntimeRegisterProperty(ctbl, "Width", "i4", setWidth, {}, {});
            RuntimeRegisterProperty(ctbl, "Text", "s", setText, {}, {});
            RuntimeRegisterProperty(ctbl, "TextColor", "c", setTextColor, {}, {});
        }
        return ctbl;
    }
};
ClassTable* Field::ctbl = nullptr;

void applySet(Object* object, const std::string& bytes)
{
    Ref<String> set = String::create(bytes);
    RuntimeMassPropertySetter(object, set.ptr());
}

} // namespace

TEST(MassPropertySetter, AppliesEntriesInOrderFindingKeysWithoutCaseInTheClassThenItsBases)
{
    Ref<Field> field = newObject<Field>();
    applySet(field.ptr(),
        build({
            { "Width", 5 },
            { "MacProcID", 7 },
            { "Multiline", true },
            { "TEXTCOLOR", Color { 1, 2, 3 } },
            { "text", "abc"s },
            { "width", 6 },
        }));
    EXPECT_EQ(field->log,
        (std::vector<std::string> { "Field.Width=5", "MacProcId=7", "MultiLine=true", "TextColor=#01020300",
            "Text=\"abc\"", "Field.Width=6" }));
    EXPECT_EQ(field->ownWidth, 6);
    EXPECT_EQ(field->width, 0) << "the derived class's Width hides the base's";
    EXPECT_EQ(field->macProcId, 7);
    EXPECT_TRUE(field->multiLine);

    Ref<Control> control = newObject<Control>();
    applySet(control.ptr(), build({ { "Width", 9 }, { "MultiLine", false } }));
    EXPECT_EQ(control->log, (std::vector<std::string> { "Control.Width=9", "MultiLine=false" }));
}

TEST(MassPropertySetter, ValuesAreReadByTypeSoTheyMayHoldAnyByte)
{
    const std::string text("a b\x80\xFF\x00 \"z\"", 10);
    Ref<Field> field = newObject<Field>();
    applySet(field.ptr(),
        build({
            { "MacProcId", 0x20202020 },
            { "Width", -1 },
            { "TextColor", Color { 0x20, 0x80, 0xFF } },
            { "Text", text },
            { "Width", kNoIndex },
            { "MultiLine", true },
        }));
    EXPECT_EQ(field->macProcId, 0x20202020);
    EXPECT_EQ(field->textColor, (Color { 0x20, 0x80, 0xFF, 0 }));
    EXPECT_EQ(field->ownWidth, kNoIndex);
    EXPECT_TRUE(field->multiLine);
    ASSERT_TRUE(field->text);
    EXPECT_EQ(field->text->bytes(), text);
    EXPECT_EQ(field->text->encoding(), TextEncoding::UTF8);
    EXPECT_EQ(field->text->refCount(), 1u) << "the value is a new string held by the property alone";
    EXPECT_EQ(field->log.size(), 6u);
}

TEST(MassPropertySetter, NilOrEmptySetDoesNothingAndNilObjectRaises)
{
    Ref<Field> field = newObject<Field>();
    RuntimeMassPropertySetter(field.ptr(), nullptr);
    applySet(field.ptr(), "");
    EXPECT_TRUE(field->log.empty());
    EXPECT_EQ(field->refCount(), 1u);

    Ref<String> set = String::create(build({ { "Width", 1 } }));
    try {
        RuntimeMassPropertySetter(nullptr, set.ptr());
        FAIL() << "no exception";
    } catch (const RaisedException& raised) {
        EXPECT_TRUE(raised.is<NilObjectException>());
    }
}

TEST(MassPropertySetter, MalformedSetsRaiseNamingTheKeyAndOffsetAndKeepEarlierEntries)
{
    // Every case starts with one good entry of 10 bytes, so the bad entry is at offset 10.
    const std::string good = build({ { "Width", 1 } });
    ASSERT_EQ(good.size(), 10u);
    struct Case {
        const char* name;
        std::string rest;
        const char* fragment;
    };
    const Case cases[] = {
        { "key without a space at the end", "Width", "key \"Width\" at offset 10" },
        { "end inside an i4", "Width \x01\x02"s,
            "value of \"Width\" at offset 10: the set ends after 2 of the 4" },
        { "end right after the space", "Width ", "value of \"Width\" at offset 10: the set ends after 0 of" },
        { "end inside a colour", "TextColor \x01\x02"s, "value of \"TextColor\" at offset 10" },
        { "end before a boolean", "MultiLine ", "value of \"MultiLine\" at offset 10" },
        { "end inside a string count", "Text \x00\x00"s, "value of \"Text\" at offset 10" },
        { "string count past the end", "Text \x00\x00\x00\x04xyz"s,
            "string \"Text\" at offset 10: its byte count 4" },
        { "huge string count", "Text \xFF\xFF\xFF\xFFxyz"s,
            "string \"Text\" at offset 10: its byte count 4294967295" },
        { "empty key", " \x00\x00\x00\x01"s, "empty key \"\" at offset 10" },
        { "unknown key", build({ { "Foo", 1 } }), "unknown property \"Foo\" at offset 10" },
        { "key that is a prefix of a property", build({ { "Widt", 1 } }),
            "unknown property \"Widt\" at offset 10" },
        { "odd bytes in a key", "F\x80o\x01 ", "unknown property \"F\\x80o\\x01\" at offset 10" },
        { "boolean byte 02", "MultiLine \x02"s, "boolean \"MultiLine\" at offset 10: its byte is 02" },
        { "boolean byte FF", "MultiLine \xFF"s, "boolean \"MultiLine\" at offset 10: its byte is FF" },
        { "unsupported type code", "Ratio \x00\x00\x00\x00"s,
            "property \"Ratio\" at offset 10: its type f4" },
        { "no setter", build({ { "Locked", 1 } }), "property \"Locked\" at offset 10: it has no setter" },
        { "nil setter", build({ { "Unset", ""s } }), "property \"Unset\" at offset 10: it has no setter" },
        { "setter of another type", build({ { "Mixed", true } }),
            "property \"Mixed\" at offset 10: its setter" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Field> field = newObject<Field>();
        try {
            applySet(field.ptr(), good + c.rest);
            ADD_FAILURE() << "no exception";
        } catch (const RaisedException& raised) {
            EXPECT_TRUE(raised.is<InvalidArgumentException>());
            EXPECT_NE(std::string(raised.what()).find("design-time property set: "s + c.fragment),
                std::string::npos)
                << raised.what();
        }
        EXPECT_EQ(field->log, (std::vector<std::string> { "Field.Width=1" }));
    }
}

TEST(MassPropertySetter, EntriesAfterTheBadOneAreNotApplied)
{
    Ref<Field> field = newObject<Field>();
    EXPECT_THROW(
        applySet(field.ptr(), build({ { "Width", 1 }, { "Foo", 2 }, { "Width", 3 } })), RaisedException);
    EXPECT_EQ(field->log, (std::vector<std::string> { "Field.Width=1" }));
}

namespace {

// The sets the designer writes for the countdown's window, timer, progress bar and label.
const std::vector<Entry>& windowSet()
{
    static const std::vector<Entry> entries {
        { "Placement", 0 },
        { "Width", 776 },
        { "Height", 456 },
        { "MinWidth", 64 },
        { "MinHeight", 64 },
        { "MaxWidth", 32000 },
        { "MaxHeight", 32000 },
        { "Frame", 0 },
        { "Composite", false },
        { "HasBackColor", false },
        { "BackColor", Color { 0xFF, 0xFF, 0xFF } },
        { "Title", "ボルペル"s },
        { "Visible", true },
        { "FullScreen", true },
        { "MenuBarVisible", true },
        { "CloseButton", true },
        { "Resizeable", true },
        { "LiveResize", true },
        { "MaximizeButton", false },
        { "MinimizeButton", true },
        { "FullScreenButton", false },
        { "MacProcID", 0 },
    };
    return entries;
}

const std::vector<Entry>& timerSet()
{
    static const std::vector<Entry> entries { { "Mode", 2 }, { "Period", 1000 } };
    return entries;
}

const std::vector<Entry>& progressBarSet()
{
    static const std::vector<Entry> entries {
        { "Name", "limitbar"s },
        { "Index", kNoIndex },
        { "Left", 20 },
        { "Top", 414 },
        { "Width", 736 },
        { "Height", 22 },
        { "LockLeft", true },
        { "LockTop", false },
        { "LockRight", true },
        { "LockBottom", true },
        { "TabPanelIndex", 0 },
        { "Visible", true },
        { "HelpTag", ""s },
        { "AutoDeactivate", true },
        { "Enabled", true },
        { "Value", 0 },
        { "Maximum", 60 },
        { "InitialParent", ""s },
    };
    return entries;
}

const std::vector<Entry>& labelSet()
{
    static const std::vector<Entry> entries {
        { "Name", "timertext"s },
        { "Index", kNoIndex },
        { "Left", 20 },
        { "Top", 14 },
        { "Width", 728 },
        { "Height", 388 },
        { "LockLeft", true },
        { "LockTop", true },
        { "LockRight", true },
        { "LockBottom", true },
        { "TabPanelIndex", 0 },
        { "TabIndex", 0 },
        { "Text", "01:00"s },
        { "TextAlign", 1 },
        { "TextColor", Color { 0x00, 0x00, 0x00 } },
        { "Multiline", false },
        { "Enabled", true },
        { "Visible", true },
        { "Selectable", false },
        { "Transparent", false },
        { "HelpTag", ""s },
        { "AutoDeactivate", true },
        { "TextFont", "System"s },
        { "Bold", true },
        { "Italic", false },
        { "Underline", false },
        { "DataSource", ""s },
        { "DataField", ""s },
        { "InitialParent", ""s },
    };
    return entries;
}

// The classes spell two keys differently from the sets; lookup must not care.
std::string declaredName(const std::string& key)
{
    if (key == "MacProcID")
        return "MacProcId";
    if (key == "Multiline")
        return "MultiLine";
    return key;
}

// An object of a class made to declare exactly one set's properties. Each property gets its own slot,
// so the log shows which property every value reached.
class Recorder : public Object {
public:
    std::vector<std::string> log;
};

constexpr std::size_t kSlotCount = 96;

std::vector<std::string>& slotNames()
{
    static std::vector<std::string> names;
    return names;
}

void record(Object* self, std::size_t slot, std::int32_t index, const propset::Value& value)
{
    EXPECT_EQ(index, 0);
    static_cast<Recorder*>(self)->log.push_back(describe(slotNames()[slot], value));
}

template <std::size_t Slot> void recordI4(Object* self, std::int32_t index, std::int32_t value)
{
    record(self, Slot, index, value);
}
template <std::size_t Slot> void recordBoolean(Object* self, std::int32_t index, bool value)
{
    record(self, Slot, index, value);
}
template <std::size_t Slot> void recordColor(Object* self, std::int32_t index, Color value)
{
    record(self, Slot, index, value);
}
template <std::size_t Slot> void recordString(Object* self, std::int32_t index, String* value)
{
    EXPECT_EQ(value->encoding(), TextEncoding::UTF8);
    record(self, Slot, index, std::string(value->bytes()));
}

template <std::size_t... Slots>
PropertySetter recordingSetter(std::size_t typeIndex, std::size_t slot, std::index_sequence<Slots...>)
{
    static constexpr std::array<SetI4, kSlotCount> i4 { &recordI4<Slots>... };
    static constexpr std::array<SetBoolean, kSlotCount> b { &recordBoolean<Slots>... };
    static constexpr std::array<SetColor, kSlotCount> c { &recordColor<Slots>... };
    static constexpr std::array<SetStringValue, kSlotCount> s { &recordString<Slots>... };
    switch (typeIndex) {
    case 0:
        return i4[slot];
    case 1:
        return b[slot];
    case 2:
        return c[slot];
    default:
        return s[slot];
    }
}

const ClassTable* recorderClass(const std::vector<Entry>& set)
{
    static std::map<const std::vector<Entry>*, ClassTable*> made;
    ClassTable*& table = made[&set];
    if (table)
        return table;
    table = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(table, "fixture.Recorder");
    table->allocate = &allocateInstance<Recorder>;
    for (const Entry& entry : set) {
        std::size_t slot = slotNames().size();
        EXPECT_LT(slot, kSlotCount) << "more fixture properties than recording slots";
        slotNames().push_back(declaredName(entry.key));
        RuntimeRegisterProperty(table, declaredName(entry.key), propset::typeCode(entry.value),
            recordingSetter(entry.value.index(), slot, std::make_index_sequence<kSlotCount>()), {}, {});
    }
    return table;
}

std::vector<std::string> expectedLog(const std::vector<Entry>& set, std::size_t count)
{
    std::vector<std::string> log;
    for (std::size_t i = 0; i < count; ++i)
        log.push_back(describe(declaredName(set[i].key), set[i].value));
    return log;
}

Ref<Recorder> newRecorder(const std::vector<Entry>& set)
{
    Ref<Object> object = RuntimeNewObject(recorderClass(set));
    return adoptRef(*static_cast<Recorder*>(object.leakRef()));
}

struct RealSet {
    const char* name;
    const std::vector<Entry>& entries;
    std::size_t size;
};

const RealSet realSets[] = {
    { "window", windowSet(), 297 },
    { "timer", timerSet(), 20 },
    { "progress bar", progressBarSet(), 211 },
    { "label", labelSet(), 353 },
};

} // namespace

TEST(MassPropertySetter, RealSetsReadToExactlyTheirEndInOrder)
{
    for (const RealSet& real : realSets) {
        SCOPED_TRACE(real.name);
        const std::string bytes = build(real.entries);
        EXPECT_EQ(bytes.size(), real.size);
        Ref<Recorder> recorder = newRecorder(real.entries);
        applySet(recorder.ptr(), bytes);
        EXPECT_EQ(recorder->log, expectedLog(real.entries, real.entries.size()));
    }
}

TEST(MassPropertySetter, EveryTruncationOfARealSetFailsCleanlyUnlessItEndsBetweenEntries)
{
    for (const RealSet& real : realSets) {
        SCOPED_TRACE(real.name);
        const std::string bytes = build(real.entries);
        // Where each entry starts, and the end.
        std::vector<std::size_t> starts { 0 };
        for (const Entry& entry : real.entries)
            starts.push_back(starts.back() + build({ entry }).size());
        ASSERT_EQ(starts.back(), bytes.size());

        for (std::size_t length = 0; length < bytes.size(); ++length) {
            std::size_t complete = 0;
            while (starts[complete + 1] <= length)
                ++complete;
            Ref<Recorder> recorder = newRecorder(real.entries);
            bool raised = false;
            try {
                applySet(recorder.ptr(), bytes.substr(0, length));
            } catch (const RaisedException& exception) {
                raised = true;
                EXPECT_TRUE(exception.is<InvalidArgumentException>()) << exception.what();
                EXPECT_NE(std::string(exception.what()).find("at offset " + std::to_string(starts[complete])),
                    std::string::npos)
                    << "length " << length << ": " << exception.what();
            }
            EXPECT_EQ(raised, length != starts[complete]) << "length " << length;
            EXPECT_EQ(recorder->log, expectedLog(real.entries, complete)) << "length " << length;
        }
    }
}

TEST(MassPropertySetter, RandomByteFlipsInARealSetApplyOrRaiseInvalidArgument)
{
    std::mt19937 random(20240601);
    for (const RealSet& real : realSets) {
        SCOPED_TRACE(real.name);
        const std::string bytes = build(real.entries);
        std::uniform_int_distribution<std::size_t> position(0, bytes.size() - 1);
        std::uniform_int_distribution<int> mask(1, 255);
        std::uniform_int_distribution<int> flips(1, 3);
        for (int trial = 0; trial < 1500; ++trial) {
            std::string damaged = bytes;
            for (int n = flips(random); n > 0; --n)
                damaged[position(random)] ^= static_cast<char>(mask(random));
            Ref<Recorder> recorder = newRecorder(real.entries);
            try {
                applySet(recorder.ptr(), damaged);
            } catch (const RaisedException& exception) {
                EXPECT_TRUE(exception.is<InvalidArgumentException>())
                    << "trial " << trial << ": " << exception.what();
            }
        }
    }
}
