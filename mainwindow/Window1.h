#pragma once

#include "library/Label.h"
#include "library/MenuItem.h"
#include "library/ProgressBar.h"
#include "library/QuitMenuItem.h"
#include "library/Timer.h"
#include "library/Window.h"

#include <cstdint>
#include <string_view>

namespace Window1 {

// The full-screen countdown window. It keeps no control of its own: every use finds the control, or the
// menu item, again by name.
class Window1 : public ::Window {
public:
    // Seconds left in the countdown: 60 from Open and each reset, down by one a tick, never below 0.
    std::int32_t limit = 0;

    static constexpr std::size_t kFirstOwn = ::Window::kMethodCount;
    static constexpr Slot<void()> kLayout { kFirstOwn + 0 };
    static constexpr Slot<void()> kCreateControls { kFirstOwn + 1 };
    static constexpr Slot<void()> kCreateControls0 { kFirstOwn + 2 };
    static constexpr Slot<RefPtr<::Timer>()> kVorpelTimer { kFirstOwn + 3 };
    static constexpr Slot<RefPtr<::ProgressBar>()> kLimitbar { kFirstOwn + 4 };
    static constexpr Slot<RefPtr<::Label>()> kTimertext { kFirstOwn + 5 };
    static constexpr Slot<void(::Timer*)> kVorpelTimerAction { kFirstOwn + 6 };
    static constexpr Slot<RefPtr<::MenuItem>()> kEditMenu { kFirstOwn + 7 };
    static constexpr Slot<RefPtr<::MenuItem>()> kEditSelectAll { kFirstOwn + 8 };
    static constexpr Slot<RefPtr<::MenuItem>()> kEditSeparator2 { kFirstOwn + 9 };
    static constexpr Slot<RefPtr<::MenuItem>()> kEditClear { kFirstOwn + 10 };
    static constexpr Slot<RefPtr<::MenuItem>()> kEditPaste { kFirstOwn + 11 };
    static constexpr Slot<RefPtr<::MenuItem>()> kEditCopy { kFirstOwn + 12 };
    static constexpr Slot<RefPtr<::MenuItem>()> kEditCut { kFirstOwn + 13 };
    static constexpr Slot<RefPtr<::MenuItem>()> kEditSeparator1 { kFirstOwn + 14 };
    static constexpr Slot<RefPtr<::MenuItem>()> kEditUndo { kFirstOwn + 15 };
    static constexpr Slot<RefPtr<::MenuItem>()> kFileMenu { kFirstOwn + 16 };
    static constexpr Slot<RefPtr<::QuitMenuItem>()> kFileQuit { kFirstOwn + 17 };
    static constexpr Slot<bool(std::int32_t, std::int32_t)> kEventMouseDown { kFirstOwn + 18 };
    static constexpr Slot<void()> kEventOpen { kFirstOwn + 19 };
    static constexpr Slot<bool(String*)> kEventKeyDown { kFirstOwn + 20 };
    static constexpr std::size_t kMethodCount = kFirstOwn + 21;

    // Construction (handlers of Layout and CreateControls).
    static void Layout(Window1*);
    static void CreateControls(Window1*);
    static void CreateControls0_(Window1*);

    // Control accessors.
    static RefPtr<::Timer> vorpel_timer(Window1*);
    static RefPtr<::ProgressBar> limitbar(Window1*);
    static RefPtr<::Label> timertext(Window1*);

    // The tick.
    static void vorpel_timer_Action(Window1*, ::Timer*);

    // Menu-item accessors.
    static RefPtr<::MenuItem> EditMenu(Window1*);
    static RefPtr<::MenuItem> EditSelectAll(Window1*);
    static RefPtr<::MenuItem> EditSeparator2(Window1*);
    static RefPtr<::MenuItem> EditClear(Window1*);
    static RefPtr<::MenuItem> EditPaste(Window1*);
    static RefPtr<::MenuItem> EditCopy(Window1*);
    static RefPtr<::MenuItem> EditCut(Window1*);
    static RefPtr<::MenuItem> EditSeparator1(Window1*);
    static RefPtr<::MenuItem> EditUndo(Window1*);
    static RefPtr<::MenuItem> FileMenu(Window1*);
    static RefPtr<::QuitMenuItem> FileQuit(Window1*);

    // The window's own events.
    static bool Event_MouseDown(Window1*, std::int32_t x, std::int32_t y);
    static void Event_Open(Window1*);
    static bool Event_KeyDown(Window1*, String* key);

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};

// The main window: the open one of this class, or a new one, constructed and opened.
RefPtr<Window1> instance();

// The control registered on the window under the name, as T; nil when there is none.
template <class T> RefPtr<T> fetchControl(Window1* window, std::string_view name)
{
    Ref<String> key = String::create(name);
    RefPtr<Object> found = callMethod(window, ::Window::kControlByName, key.ptr());
    return checkCast<T>(found.get());
}

} // namespace Window1
