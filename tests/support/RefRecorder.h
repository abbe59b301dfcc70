#pragma once

#include "runtime/RefTrace.h"

#include <cstdint>
#include <string>
#include <vector>

// Records the reference-count changes of one object or string while alive, as "+2 -1 ..." steps.
class RefRecorder {
public:
    explicit RefRecorder(const void* target)
        : m_target(target)
    {
        RuntimeSetRefTrace(&RefRecorder::hook, this);
    }
    ~RefRecorder() { RuntimeSetRefTrace(nullptr, nullptr); }
    RefRecorder(const RefRecorder&) = delete;
    RefRecorder& operator=(const RefRecorder&) = delete;

    const std::vector<std::string>& steps() const { return m_steps; }

private:
    static void hook(RefEvent event, const void* target, std::uint32_t countAfter, void* context)
    {
        auto* self = static_cast<RefRecorder*>(context);
        if (target != self->m_target)
            return;
        bool up = event == RefEvent::LockObject || event == RefEvent::LockString;
        self->m_steps.push_back((up ? "+" : "-") + std::to_string(countAfter));
    }
    const void* m_target;
    std::vector<std::string> m_steps;
};
