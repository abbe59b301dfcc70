#include "MainThread.h"

#include "FaultInjection.h"
#include "RuntimeException.h"

#include <atomic>
#include <thread>

namespace {
std::atomic<std::thread::id> mainThread {};
}

void RuntimeRecordMainThread()
{
    mainThread.store(std::this_thread::get_id());
}

bool RuntimeIsMainThread()
{
    return std::this_thread::get_id() == mainThread.load();
}

void UITrap_()
{
    if (!RuntimeIsMainThread()) {
        RuntimeRaise(ThreadAccessingUIException::lookup(),
            "A thread has attempted to manipulate a user interface element. This can only be done from the "
            "application's main thread.");
    }
    RuntimeFaultPoint();
}
