#include "StackCheck.h"

#include "RuntimeException.h"

#include <cstdint>
#include <pthread.h>

namespace {
struct StackBounds {
    std::uintptr_t low = 0;
    bool known = false;
};

StackBounds currentThreadBounds()
{
    StackBounds bounds;
    pthread_attr_t attributes;
    if (pthread_getattr_np(pthread_self(), &attributes) != 0)
        return bounds;
    void* address = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attributes, &address, &size) == 0 && size > kStackSafetyMargin) {
        bounds.low = reinterpret_cast<std::uintptr_t>(address) + kStackSafetyMargin;
        bounds.known = true;
    }
    pthread_attr_destroy(&attributes);
    return bounds;
}
} // namespace

void RuntimeStackCheck()
{
    thread_local const StackBounds bounds = currentThreadBounds();
    auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
    if (bounds.known && here < bounds.low)
        RuntimeRaise(StackOverflowException::lookup(), "The stack is nearly exhausted.");
}
