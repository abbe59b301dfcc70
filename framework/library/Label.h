#pragma once

#include "RectControl.h"
#include "runtime/Color.h"

// A static text.
class Label : public RectControl {
public:
    Ref<String> text = String::create("");
    std::int32_t textAlign = 0; // 0 left, 1 centre, 2 right
    Color textColor { 0, 0, 0, 0 };
    bool multiLine = false;
    bool selectable = false;
    bool transparent = false;
    Ref<String> textFont = String::create("System");
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Ref<String> dataSource = String::create("");
    Ref<String> dataField = String::create("");
    float textSize = 0; // 0: the platform's default size
    std::uint8_t textUnit = 0; // 0: points

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
};

void staticCaptionSetter(Label*, std::int32_t, String*);
void staticTextColorSetter(Label*, Color);
void staticTextSizeSetter(Label*, std::int32_t, float);
void StaticTextUnitSetter(Label*, std::uint8_t);
void StaticTextMultilineSetter(Label*, std::int32_t, bool);
