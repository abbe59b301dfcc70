#pragma once

#include "runtime/ClassTable.h"

// The interface of objects that raise an action and notify receivers: addActionNotificationReceiver,
// removeActionNotificationReceiver.
struct actionSource {
    static ClassTable* ctbl;
    static ClassTable* lookup();
};
