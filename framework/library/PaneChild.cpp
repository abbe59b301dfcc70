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
