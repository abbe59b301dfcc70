#include "ActionSource.h"

ClassTable* actionSource::ctbl = nullptr;
ClassTable* actionSource::lookup()
{
    if (!ctbl)
        ctbl = RuntimeNewInterface("actionSource");
    return ctbl;
}
