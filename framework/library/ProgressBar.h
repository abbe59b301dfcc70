#pragma once

#include "RectControl.h"

// A bar filled to Value out of Maximum.
class ProgressBar : public RectControl {
public:
    std::int32_t maximum = 100;
    std::int32_t value = 0;

    static constexpr std::size_t kMethodCount = RectControl::kMethodCount;

    struct Value {
        static void Set(ProgressBar*, std::int32_t, std::int32_t);
    };
    struct Maximum {
        static void Set(ProgressBar*, std::int32_t, std::int32_t);
    };

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();
};

void progressValueSetter(ProgressBar*, std::int32_t, std::int32_t);
void progressMaximumSetter(ProgressBar*, std::int32_t, std::int32_t);
