#pragma once

#include "support/PropertySetBuilder.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

// Vorpel's four design-time property sets, byte for byte, for the benchmarks and as fuzzing seeds.
namespace designsets {

using namespace std::string_literals;
using propset::Entry;

inline constexpr std::int32_t kNoIndex = std::numeric_limits<std::int32_t>::min();

inline const std::vector<Entry>& window()
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
        { "BackColor", Color { 255, 255, 255, 0 } },
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

inline const std::vector<Entry>& timer()
{
    static const std::vector<Entry> entries {
        { "Mode", 2 },
        { "Period", 1000 },
    };
    return entries;
}

inline const std::vector<Entry>& progressBar()
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

inline const std::vector<Entry>& label()
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
        { "TextColor", Color { 0, 0, 0, 0 } },
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

struct NamedSet {
    const char* name;
    const std::vector<Entry>& entries;
    std::size_t size; // the byte count the program's own encoding has
};

inline const NamedSet all[] = {
    { "window", window(), 297 },
    { "timer", timer(), 20 },
    { "progressbar", progressBar(), 211 },
    { "label", label(), 353 },
};

} // namespace designsets
