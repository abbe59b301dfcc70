#include "PaneChild.h"

ClassTable* PaneChild_::ctbl = nullptr;
ClassTable* PaneChild_::lookup()
{
    if (!ctbl) {
        ctbl = RuntimeNewInterface("_PaneChild");
        RuntimeSetClassAttribute(ctbl, "Hidden", "");
    }
    return ctbl;
}

ClassTable* actionSource::ctbl = nullptr;
ClassTable* actionSource::lookup()
{
    if (!ctbl)
        ctbl = RuntimeNewInterface("actionSource");
    return ctbl;
}

ClassTable* actionNotificationReceiver::ctbl = nullptr;
ClassTable* actionNotificationReceiver::lookup()
{
    if (!ctbl)
        ctbl = RuntimeNewInterface("actionNotificationReceiver");
    return ctbl;
}
