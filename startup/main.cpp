#include "platforms/qt/QtPlatformScope.h"
#include "runtime/Exceptions.h"
#include "runtime/FaultInjection.h"
#include "runtime/RuntimeException.h"
#include "startup/DesktopIdentity.h"
#include "startup/Program.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
#ifdef VORPEL_TEST_HOOKS
    RuntimeReportFaultInjectionCallsAtExit();
#endif
    setDesktopIdentity();
    // The platform goes after the shut-down, which still tells it about the windows it closes.
    QtPlatformScope platform(argc, argv);
    if (!platform)
        return 1;
    std::int32_t status = 1;
    try {
        status = runProgram();
    } catch (...) {
        // The program entry has no handler: what leaves it (a class table that could not be built, a
        // report that itself failed) still ends in one line and status 1, not an abort.
        RefPtr<RuntimeException> escaped = RuntimeCaughtException();
        std::fprintf(stderr, "vorpel: %s\n",
            escaped && escaped->Message ? std::string(escaped->Message->bytes()).c_str() : "unhandled exception");
    }
    return status;
}
