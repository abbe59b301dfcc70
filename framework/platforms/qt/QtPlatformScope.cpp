#include "QtPlatformScope.h"

#include "library/FrameworkState.h"
#include "runtime/RuntimeInit.h"

QtPlatformScope::QtPlatformScope(int& argc, char** argv)
{
    RuntimeInit();
    m_platform = QtPlatform::createForProgram(argc, argv);
    if (m_platform)
        RuntimeSetPlatform(m_platform.get());
}

QtPlatformScope::~QtPlatformScope()
{
    if (!m_platform)
        return;
    // Unchosen before it goes, so that nothing reaches a platform that is half torn down.
    RuntimeSetPlatform(nullptr);
    m_platform.reset();
}
