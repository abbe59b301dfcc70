#include "Label.h"

#include "PropertySetters.h"
#include "runtime/CallTrace.h"
#include "runtime/MainThread.h"

ClassTable* Label::ctbl = nullptr;

void Label::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(RectControl::lookup());
    RuntimeSetClassName(ctbl, "Label");
    ctbl->allocate = &allocateInstance<Label>;
    using property::get;
    using property::row;
    using property::trapFirst;
    using enum ControlAspect;
    static constexpr property::Row properties[] = {
        { "Text", "s", trapFirst<&staticCaptionSetter>, &get<&Label::m_text> },
        row<&Label::m_textAlign, Alignment>("TextAlign", "i4"),
        { "TextColor", "c", trapFirst<&staticTextColorSetter>, &get<&Label::m_textColor> },
        { "MultiLine", "b", trapFirst<&StaticTextMultilineSetter>, &get<&Label::m_multiLine> },
        row<&Label::m_selectable>("Selectable", "b"),
        row<&Label::m_transparent>("Transparent", "b"),
        row<&Label::m_textFont, Font>("TextFont", "s"),
        row<&Label::m_bold, Font>("Bold", "b"),
        row<&Label::m_italic, Font>("Italic", "b"),
        row<&Label::m_underline, Font>("Underline", "b"),
        row<&Label::m_dataSource>("DataSource", "s"),
        row<&Label::m_dataField>("DataField", "s"),
        { "TextSize", "f4", trapFirst<&staticTextSizeSetter>, &get<&Label::m_textSize> },
        { "TextUnit", "FontUnits", trapFirst<&StaticTextUnitSetter>, &get<&Label::m_textUnit> },
    };
    property::registerRows(ctbl, properties);
}

ClassTable* Label::lookup()
{
    return classLookup<Label>();
}

void staticCaptionSetter(Label* label, std::int32_t, String* text)
{
    if (!label)
        RaiseNilObjectException();
    property::store<&Label::m_text, ControlAspect::Text>(label, text);
}

void staticTextColorSetter(Label* label, Color color)
{
    if (!label)
        RaiseNilObjectException();
    property::store<&Label::m_textColor, ControlAspect::TextColor>(label, color);
}

void staticTextSizeSetter(Label* label, std::int32_t, float size)
{
    if (!label)
        RaiseNilObjectException();
    property::store<&Label::m_textSize, ControlAspect::Font>(label, size);
}

void StaticTextUnitSetter(Label* label, std::uint8_t unit)
{
    if (!label)
        RaiseNilObjectException();
    property::store<&Label::m_textUnit, ControlAspect::Font>(label, unit);
}

void StaticTextMultilineSetter(Label* label, std::int32_t, bool value)
{
    if (!label)
        RaiseNilObjectException();
    property::store<&Label::m_multiLine, ControlAspect::Alignment>(label, value);
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
    return RefPtr<String>(label->m_text);
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
