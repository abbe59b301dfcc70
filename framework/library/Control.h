#pragma once

#include "runtime/Object.h"
#include "runtime/String.h"
#include "runtime/WeakPtr.h"

#include <cstdint>

class Window;

// An object placed on a window. The framework keeps its window (weakly: the window owns its controls).
class Control : public Object {
public:
    RefPtr<String> name;
    std::int32_t index = 0;
    std::int32_t tabPanelIndex = 0;
    WeakPtr<::Window> window;

    static constexpr Slot<void(::Window*)> kSetWindow { 0 };
    static constexpr std::size_t kMethodCount = 1;
    static void SetWindow_(Control*, ::Window*);

    struct Name {
        static void Set(Control*, std::int32_t, String*);
        static RefPtr<String> Get(Control*);
    };
    struct Index {
        static void Set(Control*, std::int32_t, std::int32_t);
    };
    struct TabPanelIndex {
        static void Set(Control*, std::int32_t, std::int32_t);
    };

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};
