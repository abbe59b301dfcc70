#include "HeadlessProgram.h"

#include "library/Startup.h"
#include "startup/Program.h"

#include <cstdio>
#include <cstdlib>

HeadlessProgram::HeadlessProgram()
{
    initialize();
    RuntimeSetExceptionHelper(&CallFunctionWithExceptionHandling_);
    EarlyStartup_();
    RunFrameworkInitialization(&LateStartup_);
    m_window = Window1::instance();
    if (!m_window) {
        std::fputs("the program opened no main window\n", stderr);
        std::abort();
    }
}

HeadlessProgram::~HeadlessProgram()
{
    m_window = nullptr;
    finalize();
}
