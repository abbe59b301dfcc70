#include "platforms/qt/QtPlatform.h"
#include "runtime/RuntimeInit.h"
#include "startup/Program.h"

#include <cstdio>

int main(int argc, char** argv)
{
    RuntimeInit();
    if (!QtPlatformDisplayAvailable()) {
        std::fprintf(stderr, "vorpel: no display to show the countdown on\n");
        return 1;
    }
    auto platform = QtPlatform::create(argc, argv);
    RuntimeSetPlatform(&*platform);
    std::int32_t status = runProgram();
    RuntimeSetPlatform(nullptr);
    return status;
}
