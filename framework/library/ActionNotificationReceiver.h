#pragma once

#include "runtime/ClassTable.h"

#include <cstddef>

// The interface a receiver of action notifications implements: PerformAction(Object* sender).
struct actionNotificationReceiver {
    static constexpr std::size_t kPerformAction = 0;
    static ClassTable* ctbl;
    static ClassTable* lookup();
};
