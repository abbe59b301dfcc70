#pragma once

#include "runtime/ClassTable.h"

#include <cstddef>

class Window;

// The hidden interface of objects placed on a window that are not controls: the framework links them to
// their window through it. Its operations, in order: _SetWindow(Window*), Window() -> RefPtr<Window>,
// _Index() -> int32, _SetIndex(int32).
struct PaneChild_ {
    static constexpr std::size_t kSetWindow = 0;
    static constexpr std::size_t kWindow = 1;
    static constexpr std::size_t kIndex = 2;
    static constexpr std::size_t kSetIndex = 3;
    static ClassTable* ctbl;
    static ClassTable* lookup();
};
