#pragma once

#include <cstdio>
#include <cstdlib>

// Debug-only invariant checks; they abort with the place, since a broken invariant cannot be recovered.
#ifdef NDEBUG
#define VORPEL_ASSERT(condition, message) ((void)0)
#else
#define VORPEL_ASSERT(condition, message)                                                                    \
    ((condition) ? (void)0                                                                                   \
                 : (std::fprintf(stderr, "%s:%d: assertion failed: %s (%s)\n", __FILE__, __LINE__,           \
                        #condition, message),                                                                \
                     std::abort()))
#endif
