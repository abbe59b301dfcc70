#pragma once

#include "mainwindow/DesignSet.h"
#include "runtime/Object.h"
#include "runtime/String.h"

#include <array>
#include <cstdint>
#include <limits>

// The design-time property sets of the main window and its three controls.
namespace Window1::propertysets {

using namespace designset;

inline constexpr std::int32_t kNoIndex = std::numeric_limits<std::int32_t>::min();

inline constexpr std::array kWindowEntries {
    i4("Placement", 0),
    i4("Width", 776),
    i4("Height", 456),
    i4("MinWidth", 64),
    i4("MinHeight", 64),
    i4("MaxWidth", 32000),
    i4("MaxHeight", 32000),
    i4("Frame", 0),
    b("Composite", false),
    b("HasBackColor", false),
    c("BackColor", 255, 255, 255),
    s("Title", u8"ボルペル"),
    b("Visible", true),
    b("FullScreen", true),
    b("MenuBarVisible", true),
    b("CloseButton", true),
    b("Resizeable", true),
    b("LiveResize", true),
    b("MaximizeButton", false),
    b("MinimizeButton", true),
    b("FullScreenButton", false),
    i4("MacProcID", 0),
};

inline constexpr std::array kTimerEntries {
    i4("Mode", 2),
    i4("Period", 1000),
};

inline constexpr std::array kProgressBarEntries {
    s("Name", u8"limitbar"),
    i4("Index", kNoIndex),
    i4("Left", 20),
    i4("Top", 414),
    i4("Width", 736),
    i4("Height", 22),
    b("LockLeft", true),
    b("LockTop", false),
    b("LockRight", true),
    b("LockBottom", true),
    i4("TabPanelIndex", 0),
    b("Visible", true),
    s("HelpTag", u8""),
    b("AutoDeactivate", true),
    b("Enabled", true),
    i4("Value", 0),
    i4("Maximum", 60),
    s("InitialParent", u8""),
};

inline constexpr std::array kLabelEntries {
    s("Name", u8"timertext"),
    i4("Index", kNoIndex),
    i4("Left", 20),
    i4("Top", 14),
    i4("Width", 728),
    i4("Height", 388),
    b("LockLeft", true),
    b("LockTop", true),
    b("LockRight", true),
    b("LockBottom", true),
    i4("TabPanelIndex", 0),
    i4("TabIndex", 0),
    s("Text", u8"01:00"),
    i4("TextAlign", 1),
    c("TextColor", 0, 0, 0),
    b("Multiline", false),
    b("Enabled", true),
    b("Visible", true),
    b("Selectable", false),
    b("Transparent", false),
    s("HelpTag", u8""),
    b("AutoDeactivate", true),
    s("TextFont", u8"System"),
    b("Bold", true),
    b("Italic", false),
    b("Underline", false),
    s("DataSource", u8""),
    s("DataField", u8""),
    s("InitialParent", u8""),
};

inline constexpr auto kWindow = encode<kWindowEntries>();
inline constexpr auto kTimer = encode<kTimerEntries>();
inline constexpr auto kProgressBar = encode<kProgressBarEntries>();
inline constexpr auto kLabel = encode<kLabelEntries>();

static_assert(kWindow.size() == 297 && kWindowEntries.size() == 22);
static_assert(kTimer.size() == 20 && kTimerEntries.size() == 2);
static_assert(kProgressBar.size() == 211 && kProgressBarEntries.size() == 18);
static_assert(kLabel.size() == 353 && kLabelEntries.size() == 29);

// A set as the string the framework applies; its bytes are handed over exactly as encoded.
inline Ref<String> asString(const auto& set)
{
    return String::create(view(set), TextEncoding::UTF8);
}

} // namespace Window1::propertysets

// Hands the set to the framework, which applies every entry to the object. The callers hold both.
void SetProperties_(Object* object, String* set);
