// Vorpel as startup/main.cpp runs it, on the Qt platform, printing the measurement lines when
// VORPEL_MEASURE=1: the same program and the same probe as the floor, so that the two compare.

#include "MeasuredPlatform.h"
#include "Protocol.h"
#include "library/FrameworkState.h"
#include "platforms/qt/QtPlatformScope.h"
#include "startup/Program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QtPlatformScope platform(argc, argv);
    if (!platform)
        return 1;
    const bool measure = protocol::measuring();
    MeasuredPlatform measured(platform.platform());
    protocol::FirstFrameProbe probe;
    if (measure) {
        QApplication::instance()->installEventFilter(&probe);
        // In front of the Qt platform for the run; the Qt platform is chosen again before this one goes.
        RuntimeSetPlatform(&measured);
    }
    std::int32_t status = runProgram();
    RuntimeSetPlatform(&platform.platform());
    return status;
}
