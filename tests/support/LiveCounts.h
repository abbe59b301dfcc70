#pragma once

#include "runtime/Object.h"
#include "runtime/String.h"

#include <cstddef>
#include <ostream>

// How many runtime objects and strings are alive: the runtime's own measure of what a run holds on to.
struct LiveCounts {
    std::size_t objects = 0;
    std::size_t strings = 0;

    static LiveCounts now() { return { RuntimeLiveObjectCount(), RuntimeLiveStringCount() }; }

    friend bool operator==(const LiveCounts&, const LiveCounts&) = default;
    friend std::ostream& operator<<(std::ostream& out, const LiveCounts& counts)
    {
        return out << counts.objects << " objects, " << counts.strings << " strings";
    }
};
