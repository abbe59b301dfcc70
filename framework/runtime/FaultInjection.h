#pragma once

#include <cstdint>

// What the armed call throws: a raised RuntimeException, or a foreign C++ exception (a std::runtime_error),
// as a toolkit or an allocation failure would throw. Both say "injected fault".
enum class FaultKind { Runtime, Foreign };

// A test-only switch: when armed with n, the n-th framework call from then on throws instead of running,
// so tests can walk a failure through every step of a road. Disarmed (0) by default.
void RuntimeSetFaultInjection(std::uint64_t failingCall, FaultKind = FaultKind::Runtime);
// How many framework calls have passed since the switch was last set.
std::uint64_t RuntimeFaultInjectionCalls();

// Called at the start of framework calls; raises when the armed call is reached.
void RuntimeFaultPoint();

#ifdef VORPEL_TEST_HOOKS
// Arms the switch from the environment variable VORPEL_FAULT_AT, a whole number n > 0, or "n,foreign" for
// a foreign exception, so that a test can fail the real program at its n-th framework call. Anything else there leaves the switch disarmed.
void RuntimeSetFaultInjectionFromEnvironment();
#endif
