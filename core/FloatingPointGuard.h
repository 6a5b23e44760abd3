// The floating-point guard of the engine's computations.
//
// A computation is faulted when it raised an invalid operation, a division by zero or an
// overflow, or when one of its results is not finite. The flags catch what the results hide: a
// point on the polar axis divides by zero, yet the arctangent of the infinity that follows is
// finite. The caller's own exception flags are left as they were.
#pragma once

#include <cfenv>
#include <cmath>

inline constexpr int kGuardedFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

template <typename Computation, typename... Results>
[[nodiscard]] bool FaultedDuring(Computation&& computation, const Results&... results)
{
    std::fexcept_t callerFlags;
    std::fegetexceptflag(&callerFlags, kGuardedFaults);
    std::feclearexcept(kGuardedFaults);
    computation();
    const bool raised = std::fetestexcept(kGuardedFaults) != 0;
    std::fesetexceptflag(&callerFlags, kGuardedFaults);
    return raised || !(std::isfinite(results) && ...);
}
