#pragma once

#include <cstdint>

// A test-only switch: when armed with n, the n-th framework call from then on throws instead of running,
// so tests can walk a failure through every step of a road. It exists only in builds with
// VORPEL_TEST_HOOKS; elsewhere a fault point compiles to nothing.

#ifdef VORPEL_TEST_HOOKS

// What the armed call throws: a raised RuntimeException, or a foreign C++ exception (a std::runtime_error),
// as a toolkit or an allocation failure would throw. Both say "injected fault".
enum class FaultKind { Runtime, Foreign };

// Arms the switch; 0 disarms it, as it is by default.
void RuntimeSetFaultInjection(std::uint64_t failingCall, FaultKind = FaultKind::Runtime);
// How many framework calls have passed since the switch was last set.
std::uint64_t RuntimeFaultInjectionCalls();

// Called at the start of framework calls; raises when the armed call is reached.
void RuntimeFaultPoint();

// Arms the switch from the environment variable VORPEL_FAULT_AT, a whole number n > 0, or "n,foreign" for
// a foreign exception, so that a test can fail the real program at its n-th framework call. Anything else there leaves the switch disarmed.
void RuntimeSetFaultInjectionFromEnvironment();

// When VORPEL_FAULT_CALLS_FILE names a file, has RuntimeFaultInjectionCalls() written into it as a decimal
// line when the process exits, so that a test of the real program can tell whether the armed call was
// reached (the count stops there) or the run made fewer calls. At exit, not at the end of main: the
// platform's shut-down after main still makes framework calls.
void RuntimeReportFaultInjectionCallsAtExit();

#else

inline void RuntimeFaultPoint() { }

#endif
