#include "startup/ProgramBeforeLoop.h"

#include "library/Startup.h"
#include "startup/Program.h"

ProgramBeforeLoop::ProgramBeforeLoop()
{
    initialize();
    RuntimeSetExceptionHelper(&CallFunctionWithExceptionHandling_);
    EarlyStartup_();
    RunFrameworkInitialization(&LateStartup_);
    m_window = Window1::instance().get();
}

ProgramBeforeLoop::~ProgramBeforeLoop()
{
    m_window = nullptr;
    finalize();
}
