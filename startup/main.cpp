#include "library/FrameworkState.h"
#include "platforms/qt/QtPlatform.h"
#include "runtime/RuntimeInit.h"
#include "startup/Program.h"

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    RuntimeInit();
    // Qt would abort without a display; say why instead.
    if (!QtPlatformDisplayAvailable()) {
        std::fprintf(stderr, "vorpel: %s\n", kQtNoDisplayMessage);
        return 1;
    }
    std::unique_ptr<QtPlatform> platform;
    try {
        platform = QtPlatform::create(argc, argv);
    } catch (const QtPlatformError& error) {
        std::fprintf(stderr, "vorpel: %s\n", error.what());
        return 1;
    }
    RuntimeSetPlatform(platform.get());
    std::int32_t status = runProgram();
    // The platform goes after the shut-down, which still tells it about the windows it closes.
    RuntimeSetPlatform(nullptr);
    return status;
}
