#include "BenchPlatform.h"

#include "library/Startup.h"
#include "runtime/RuntimeInit.h"

#include <benchmark/benchmark.h>

HeadlessPlatform& benchPlatform()
{
    static HeadlessPlatform platform;
    return platform;
}

// The runtime and the class library are set up once, on the thread that runs the benchmarks.
int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RuntimeInit();
    RuntimeLibraryInitialize();
    RuntimeSetPlatform(&benchPlatform());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    RuntimeLibraryFinalize();
    RuntimeSetPlatform(nullptr);
    return 0;
}
