#include "ActionNotificationReceiver.h"

ClassTable* actionNotificationReceiver::ctbl = nullptr;
ClassTable* actionNotificationReceiver::lookup()
{
    if (!ctbl)
        ctbl = RuntimeNewInterface("actionNotificationReceiver");
    return ctbl;
}
