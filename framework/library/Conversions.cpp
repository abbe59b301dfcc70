#include "Conversions.h"

double RuntimeCvtSInt32ToReal64(std::int32_t value)
{
    return static_cast<double>(value);
}
