// Vorpel as startup/main.cpp runs it, on the Qt platform, printing the measurement lines when
// VORPEL_MEASURE=1: the same program and the same probe as the floor, so that the two compare.

#include "MeasuredPlatform.h"
#include "Protocol.h"
#include "library/FrameworkState.h"
#include "platforms/qt/QtPlatform.h"
#include "runtime/RuntimeInit.h"
#include "startup/Program.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv)
{
    RuntimeInit();
    std::unique_ptr<QtPlatform> platform = QtPlatform::createForProgram(argc, argv);
    if (!platform)
        return 1;
    const bool measure = protocol::measuring();
    MeasuredPlatform measured(*platform);
    protocol::FirstFrameProbe probe;
    if (measure)
        QApplication::instance()->installEventFilter(&probe);
    RuntimeSetPlatform(measure ? static_cast<Platform*>(&measured) : platform.get());
    std::int32_t status = runProgram();
    RuntimeSetPlatform(nullptr);
    return status;
}
