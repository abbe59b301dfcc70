#pragma once

#include "runtime/RuntimeException.h"

#include <string>

// Runs the body and returns the class name of the runtime exception it raised, or "" when none.
template <class Body> std::string raisedBy(Body&& body)
{
    try {
        body();
    } catch (const RaisedException& raised) {
        return std::string(raised.exception().classTable()->nameView());
    }
    return "";
}
