#include "CallTrace.h"

#ifdef VORPEL_TEST_HOOKS

namespace detail {
CallTraceObserver* callTraceObserver = nullptr;
}

void RuntimeSetCallTrace(CallTraceObserver* observer)
{
    detail::callTraceObserver = observer;
}

#endif
