#pragma once

#include <cstdint>

// A test-only switch: when armed with n, the n-th framework call from then on raises a RuntimeException
// instead of running, so tests can walk a failure through every step of a road. Disarmed (0) by default.
void RuntimeSetFaultInjection(std::uint64_t failingCall);
// How many framework calls have passed since the switch was last set.
std::uint64_t RuntimeFaultInjectionCalls();

// Called at the start of framework calls; raises when the armed call is reached.
void RuntimeFaultPoint();

#ifdef VORPEL_TEST_HOOKS
// Arms the switch from the environment variable VORPEL_FAULT_AT, a whole number n > 0, so that a test
// can fail the real program at its n-th framework call. Anything else there leaves the switch disarmed.
void RuntimeSetFaultInjectionFromEnvironment();
#endif
