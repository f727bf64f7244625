#pragma once

// system
#include <sys/resource.h>

// std
#include <optional>
#include <string>

namespace tonarika {

// The least CPU time, in microseconds, a real-time thread must be allowed to use without
// blocking: RLIMIT_RTTIME caps it, and past the cap the kernel kills the whole process.
// An audio thread that a busy machine or a slow device holds up can use this much in one go.
inline constexpr rlim_t kLeastRealtimeBudgetUs = 200'000;

// Whether a thread may run real-time under an RLIMIT_RTTIME of `limitUs`.
constexpr bool realtimeBudgetSuffices(rlim_t limitUs)
{
    return limitUs == RLIM_INFINITY || limitUs >= kLeastRealtimeBudgetUs;
}

// Gives the calling thread the lowest real-time priority (SCHED_RR, not inherited by a
// child process) where the system allows it and the process's RLIMIT_RTTIME is large
// enough; otherwise leaves it as it is and says why.
std::optional<std::string> raiseCallingThreadToRealtime();

}  // namespace tonarika
