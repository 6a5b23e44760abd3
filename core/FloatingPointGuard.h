// The floating-point guard of the engine's computations.
//
// A computation is faulted when it raised an invalid operation, a division by zero or an
// overflow, or when one of its results is not finite. The flags catch what the results hide: a
// point on the polar axis divides by zero, yet the arctangent of the infinity that follows is
// finite. The caller's own exception flags are left as they were.
//
// The compiler does not know that arithmetic raises flags, so a computation must end in stores
// to memory that the flag test could read (the engine's result fields): those stores, and all
// the arithmetic they depend on, happen before the test.
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
