#pragma once

#include "RectControl.h"

// A bar filled to Value out of Maximum.
class ProgressBar : public RectControl {
public:
    // Written only through the setters, which tell the platform what changed.
    std::int32_t maximum() const { return m_maximum; }
    std::int32_t value() const { return m_value; }

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

private:
    friend void progressValueSetter(ProgressBar*, std::int32_t, std::int32_t);
    friend void progressMaximumSetter(ProgressBar*, std::int32_t, std::int32_t);

    std::int32_t m_maximum = 100;
    std::int32_t m_value = 0;
};

void progressValueSetter(ProgressBar*, std::int32_t, std::int32_t);
void progressMaximumSetter(ProgressBar*, std::int32_t, std::int32_t);
