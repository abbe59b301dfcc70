// Feeds arbitrary bytes to the design-time property-set reader, as the set of each of Vorpel's four
// kinds of object. A malformed set may only raise InvalidArgumentException with a message; anything
// else, a sanitizer report, or an object or string left alive afterwards, is a crash.

#include "library/Label.h"
#include "library/MassPropertySetter.h"
#include "library/ProgressBar.h"
#include "library/Startup.h"
#include "library/Timer.h"
#include "library/Window.h"
#include "platforms/headless/HeadlessPlatform.h"
#include "runtime/RuntimeException.h"
#include "runtime/RuntimeInit.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

HeadlessPlatform& platform()
{
    static HeadlessPlatform headless;
    return headless;
}

template <class T> void apply(String& set)
{
    Ref<T> object = newObject<T>();
    try {
        RuntimeMassPropertySetter(object.ptr(), &set);
    } catch (const RaisedException& raised) {
        if (!raised.is<InvalidArgumentException>()) {
            std::fprintf(stderr, "%s: a set raised something else: %s\n",
                std::string(T::lookup()->nameView()).c_str(), raised.what());
            std::abort();
        }
        // A rejection has to say what is wrong with the set.
        const RefPtr<String>& message = raised.exception().Message;
        if (!message || message->length() == 0) {
            std::fprintf(stderr, "%s: a set was rejected without a message\n",
                std::string(T::lookup()->nameView()).c_str());
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    RuntimeInit();
    RuntimeLibraryInitialize();
    // Setters tell the platform about changes, and a timer schedules itself on it.
    RuntimeSetPlatform(&platform());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::size_t objects = RuntimeLiveObjectCount();
    const std::size_t strings = RuntimeLiveStringCount();
    {
        Ref<String> set
            = String::create(std::string_view(reinterpret_cast<const char*>(data), size), TextEncoding::UTF8);
        apply<Window>(set);
        apply<Label>(set);
        apply<ProgressBar>(set);
        apply<Timer>(set);
    }
    if (RuntimeLiveObjectCount() != objects || RuntimeLiveStringCount() != strings) {
        std::fprintf(stderr, "a set left objects or strings alive: %zu -> %zu objects, %zu -> %zu strings\n",
            objects, RuntimeLiveObjectCount(), strings, RuntimeLiveStringCount());
        std::abort();
    }
    if (platform().scheduledTimerCount() != 0) {
        std::fprintf(stderr, "a timer gone with its set is still scheduled\n");
        std::abort();
    }
    return 0;
}
