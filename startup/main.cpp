#include "library/FrameworkState.h"
#include "platforms/qt/QtPlatform.h"
#include "runtime/RuntimeInit.h"
#include "startup/Program.h"

#include <memory>

int main(int argc, char** argv)
{
    RuntimeInit();
    std::unique_ptr<QtPlatform> platform = QtPlatform::createForProgram(argc, argv);
    if (!platform)
        return 1;
    RuntimeSetPlatform(platform.get());
    std::int32_t status = runProgram();
    // The platform goes after the shut-down, which still tells it about the windows it closes.
    RuntimeSetPlatform(nullptr);
    return status;
}
