#pragma once

#include "RectControl.h"
#include "runtime/Color.h"

// A static text.
class Label : public RectControl {
public:
    // Written only through the setters, which tell the platform what changed.
    String& text() const { return m_text.get(); }
    std::int32_t textAlign() const { return m_textAlign; } // 0 left, 1 centre, 2 right
    Color textColor() const { return m_textColor; }
    bool multiLine() const { return m_multiLine; }
    bool selectable() const { return m_selectable; }
    bool transparent() const { return m_transparent; }
    String& textFont() const { return m_textFont.get(); }
    bool bold() const { return m_bold; }
    bool italic() const { return m_italic; }
    bool underline() const { return m_underline; }
    String& dataSource() const { return m_dataSource.get(); }
    String& dataField() const { return m_dataField.get(); }
    float textSize() const { return m_textSize; } // 0: the platform's default size
    std::uint8_t textUnit() const { return m_textUnit; } // 0: points

    static constexpr std::size_t kMethodCount = RectControl::kMethodCount;

    struct Text {
        static void Set(Label*, std::int32_t, String*);
        static RefPtr<String> Get(Label*);
    };
    struct TextColor {
        static void Set(Label*, std::int32_t, Color);
    };
    struct TextSize {
        static void Set(Label*, std::int32_t, float);
    };
    struct TextUnit {
        static void Set(Label*, std::int32_t, std::uint8_t);
    };

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();

private:
    friend void staticCaptionSetter(Label*, std::int32_t, String*);
    friend void staticTextColorSetter(Label*, Color);
    friend void staticTextSizeSetter(Label*, std::int32_t, float);
    friend void StaticTextUnitSetter(Label*, std::uint8_t);
    friend void StaticTextMultilineSetter(Label*, std::int32_t, bool);

    Ref<String> m_text = String::create("");
    std::int32_t m_textAlign = 0;
    Color m_textColor { 0, 0, 0, 0 };
    bool m_multiLine = false;
    bool m_selectable = false;
    bool m_transparent = false;
    Ref<String> m_textFont = String::create("System");
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    Ref<String> m_dataSource = String::create("");
    Ref<String> m_dataField = String::create("");
    float m_textSize = 0;
    std::uint8_t m_textUnit = 0;
};

void staticCaptionSetter(Label*, std::int32_t, String*);
void staticTextColorSetter(Label*, Color);
void staticTextSizeSetter(Label*, std::int32_t, float);
void StaticTextUnitSetter(Label*, std::uint8_t);
void StaticTextMultilineSetter(Label*, std::int32_t, bool);
