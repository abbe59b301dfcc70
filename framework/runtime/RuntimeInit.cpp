#include "RuntimeInit.h"

#include "Delegate.h"
#include "FaultInjection.h"
#include "MainThread.h"
#include "RuntimeException.h"

void RuntimeInit()
{
    RuntimeRecordMainThread();
    Object::ctblinit();
    Delegate::ctblinit();
    RuntimeException::ctblinit();
    NilObjectException::ctblinit();
    ThreadAccessingUIException::ctblinit();
    IllegalCastException::ctblinit();
    StackOverflowException::ctblinit();
    InvalidArgumentException::ctblinit();
    UnsupportedOperationException::ctblinit();
#ifdef VORPEL_TEST_HOOKS
    RuntimeSetFaultInjectionFromEnvironment();
#endif
}
