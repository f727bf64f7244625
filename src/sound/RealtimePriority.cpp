#include "RealtimePriority.h"

// system
#include <pthread.h>
#include <sched.h>

// std
#include <cerrno>
#include <cstring>

namespace tonarika {

std::optional<std::string> raiseCallingThreadToRealtime()
{
    rlimit budget{};
    if (::getrlimit(RLIMIT_RTTIME, &budget) != 0)
        return std::string("its real-time budget cannot be read: ") + std::strerror(errno);
    if (!realtimeBudgetSuffices(budget.rlim_cur) || !realtimeBudgetSuffices(budget.rlim_max))
        return "the real-time budget (RLIMIT_RTTIME " + std::to_string(budget.rlim_cur)
               + " µs) is too small for an audio thread";
    sched_param parameters{};
    parameters.sched_priority = sched_get_priority_min(SCHED_RR);
    if (const int error = pthread_setschedparam(pthread_self(), SCHED_RR | SCHED_RESET_ON_FORK, &parameters); error != 0)
        return std::strerror(error);
    return std::nullopt;
}

}  // namespace tonarika
