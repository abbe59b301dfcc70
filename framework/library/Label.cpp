#include "Label.h"

#include "PropertySetters.h"
#include "runtime/CallTrace.h"
#include "runtime/MainThread.h"

ClassTable* Label::ctbl = nullptr;

namespace {
void textChanged(Label* label)
{
    RuntimeControlChanged(*label, ControlAspect::Text);
}
void fontChanged(Label* label)
{
    RuntimeControlChanged(*label, ControlAspect::Font);
}
void alignmentChanged(Label* label)
{
    RuntimeControlChanged(*label, ControlAspect::Alignment);
}

void setCaption(Object* object, std::int32_t index, String* text)
{
    staticCaptionSetter(static_cast<Label*>(object), index, text);
}
void setTextColor(Object* object, std::int32_t, Color color)
{
    staticTextColorSetter(static_cast<Label*>(object), color);
}
void setMultiline(Object* object, std::int32_t index, bool value)
{
    StaticTextMultilineSetter(static_cast<Label*>(object), index, value);
}
void setTextSize(Object* object, std::int32_t index, float size)
{
    staticTextSizeSetter(static_cast<Label*>(object), index, size);
}
void setTextUnit(Object* object, std::int32_t, std::uint8_t unit)
{
    StaticTextUnitSetter(static_cast<Label*>(object), unit);
}

template <bool Label::*Member> constexpr auto fontFlag()
{
    return &property::set<Label, bool, Member, &fontChanged>;
}
template <bool Label::*Member> constexpr auto getFlag()
{
    return &property::get<Label, bool, Member>;
}
} // namespace

void Label::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(RectControl::lookup());
    RuntimeSetClassName(ctbl, "Label");
    ctbl->allocate = &allocateInstance<Label>;
    auto scope = [] { return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }); };
    RuntimeRegisterProperty(
        ctbl, "Text", "s", &setCaption, &property::getString<Label, &Label::text>, scope());
    RuntimeRegisterProperty(ctbl, "TextAlign", "i4",
        &property::set<Label, std::int32_t, &Label::textAlign, &alignmentChanged>,
        &property::get<Label, std::int32_t, &Label::textAlign>, scope());
    RuntimeRegisterProperty(
        ctbl, "TextColor", "c", &setTextColor, &property::get<Label, Color, &Label::textColor>, scope());
    RuntimeRegisterProperty(ctbl, "MultiLine", "b", &setMultiline, getFlag<&Label::multiLine>(), scope());
    RuntimeRegisterProperty(ctbl, "Selectable", "b", &property::set<Label, bool, &Label::selectable>,
        getFlag<&Label::selectable>(), scope());
    RuntimeRegisterProperty(ctbl, "Transparent", "b", &property::set<Label, bool, &Label::transparent>,
        getFlag<&Label::transparent>(), scope());
    RuntimeRegisterProperty(ctbl, "TextFont", "s",
        &property::setString<Label, &Label::textFont, &fontChanged>,
        &property::getString<Label, &Label::textFont>, scope());
    RuntimeRegisterProperty(ctbl, "Bold", "b", fontFlag<&Label::bold>(), getFlag<&Label::bold>(), scope());
    RuntimeRegisterProperty(
        ctbl, "Italic", "b", fontFlag<&Label::italic>(), getFlag<&Label::italic>(), scope());
    RuntimeRegisterProperty(
        ctbl, "Underline", "b", fontFlag<&Label::underline>(), getFlag<&Label::underline>(), scope());
    RuntimeRegisterProperty(ctbl, "DataSource", "s", &property::setString<Label, &Label::dataSource>,
        &property::getString<Label, &Label::dataSource>, scope());
    RuntimeRegisterProperty(ctbl, "DataField", "s", &property::setString<Label, &Label::dataField>,
        &property::getString<Label, &Label::dataField>, scope());
    RuntimeRegisterProperty(
        ctbl, "TextSize", "f4", &setTextSize, &property::get<Label, float, &Label::textSize>, scope());
    RuntimeRegisterProperty(ctbl, "TextUnit", "FontUnits", &setTextUnit,
        &property::get<Label, std::uint8_t, &Label::textUnit>, scope());
}

ClassTable* Label::lookup()
{
    return classLookup<Label>();
}

void staticCaptionSetter(Label* label, std::int32_t index, String* text)
{
    if (!label)
        RaiseNilObjectException();
    property::setString<Label, &Label::text, &textChanged>(label, index, text);
}

void staticTextColorSetter(Label* label, Color color)
{
    if (!label)
        RaiseNilObjectException();
    if (label->textColor == color)
        return;
    label->textColor = color;
    RuntimeControlChanged(*label, ControlAspect::TextColor);
}

void staticTextSizeSetter(Label* label, std::int32_t index, float size)
{
    if (!label)
        RaiseNilObjectException();
    property::set<Label, float, &Label::textSize, &fontChanged>(label, index, size);
}

void StaticTextUnitSetter(Label* label, std::uint8_t unit)
{
    if (!label)
        RaiseNilObjectException();
    property::set<Label, std::uint8_t, &Label::textUnit, &fontChanged>(label, 0, unit);
}

void StaticTextMultilineSetter(Label* label, std::int32_t index, bool value)
{
    if (!label)
        RaiseNilObjectException();
    property::set<Label, bool, &Label::multiLine, &alignmentChanged>(label, index, value);
}

void Label::Text::Set(Label* label, std::int32_t index, String* text)
{
    TracedCall trace("Label.Text.Set", { label, index, text });
    UITrap_();
    staticCaptionSetter(label, index, text);
}

RefPtr<String> Label::Text::Get(Label* label)
{
    UITrap_();
    if (!label)
        RaiseNilObjectException();
    return RefPtr<String>(label->text);
}

void Label::TextColor::Set(Label* label, std::int32_t index, Color color)
{
    TracedCall trace("Label.TextColor.Set", { label, index, color });
    UITrap_();
    staticTextColorSetter(label, color);
}

void Label::TextSize::Set(Label* label, std::int32_t index, float size)
{
    TracedCall trace("Label.TextSize.Set", { label, index, size });
    UITrap_();
    staticTextSizeSetter(label, index, size);
}

void Label::TextUnit::Set(Label* label, std::int32_t index, std::uint8_t unit)
{
    TracedCall trace("Label.TextUnit.Set", { label, index, unit });
    UITrap_();
    StaticTextUnitSetter(label, unit);
}
