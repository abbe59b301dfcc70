#pragma once

#include "library/Timer.h"
#include "library/Window.h"

#include <cstdint>

namespace Window1 {

// The class of the main window's timer control. A Timer is not a Control, so it keeps its window and its
// index itself and offers them to the framework through the _PaneChild interface.
class vorpel_timer : public ::Timer {
public:
    std::int32_t Index = 0;
    RefPtr<::Window> ownerWindow;

    static constexpr Slot<void(::Window*)> kSetWindow { ::Timer::kMethodCount + 0 };
    static constexpr Slot<RefPtr<::Window>()> kWindow { ::Timer::kMethodCount + 1 };
    static constexpr Slot<std::int32_t()> kIndex { ::Timer::kMethodCount + 2 };
    static constexpr Slot<void(std::int32_t)> kSetIndex { ::Timer::kMethodCount + 3 };
    static constexpr Slot<void()> kConstructor { ::Timer::kMethodCount + 4 };
    static constexpr std::size_t kMethodCount = ::Timer::kMethodCount + 5;

    static void SetWindow_(vorpel_timer*, ::Window*);
    static RefPtr<::Window> Window(vorpel_timer*);
    static std::int32_t Index_(vorpel_timer*);
    static void SetIndex_(vorpel_timer*, std::int32_t);
    static void Constructor(vorpel_timer*);
    // The finaliser: drops the link to the window.
    static void exit_(vorpel_timer*);

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};

} // namespace Window1
