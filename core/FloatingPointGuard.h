// The floating-point guard of the engine's computations.
//
// A computation is faulted when it raised an invalid operation, a division by zero or an
// overflow, or when one of its results is not finite. The flags catch what the results hide: a
// point on the polar axis divides by zero, yet the arctangent of the infinity that follows is
// finite. The caller's own flags for these three faults are left as they were.
//
// The compiler does not know that arithmetic raises flags, so a computation must end in stores
// to memory that the flag test could read (the engine's result fields): those stores, and all
// the arithmetic they depend on, happen before the test.
#pragma once

#include <cfenv>
#include <cmath>

inline constexpr int kGuardedFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

namespace guard_detail {

#if defined(__x86_64__) && defined(__GNUC__)
// The <cfenv> calls save and reload the whole x87 environment and cost about 160 ns a
// computation, more than a grid conversion's arithmetic. Reading the x87 status word and MXCSR
// directly costs a few nanoseconds; the flags sit in the same bits of both (invalid 0x01,
// division by zero 0x04, overflow 0x08).
inline constexpr unsigned kFaultBits = 0x01 | 0x04 | 0x08;
static_assert(FE_INVALID == 0x01 && FE_DIVBYZERO == 0x04 && FE_OVERFLOW == 0x08);

inline unsigned RaisedFaults()
{
    unsigned short x87;
    unsigned sse;
    asm volatile("fnstsw %0" : "=am"(x87) : : "memory");
    asm volatile("stmxcsr %0" : "=m"(sse) : : "memory");
    return (x87 | sse) & kFaultBits;
}

inline void ClearFaults()
{
    unsigned sse;
    asm volatile("fnclex" : : : "memory");
    asm volatile("stmxcsr %0" : "=m"(sse) : : "memory");
    sse &= ~0x3Fu;
    asm volatile("ldmxcsr %0" : : "m"(sse) : "memory");
}
inline constexpr bool kFastFlags = true;
#else
inline unsigned RaisedFaults() { return static_cast<unsigned>(std::fetestexcept(kGuardedFaults)); }
inline void ClearFaults() { std::feclearexcept(kGuardedFaults); }
inline constexpr bool kFastFlags = false;
#endif

}  // namespace guard_detail

template <typename Computation, typename... Results>
[[nodiscard]] bool FaultedDuring(Computation&& computation, const Results&... results)
{
    const auto allFinite = [&] { return (std::isfinite(results) && ...); };
    if (guard_detail::kFastFlags && guard_detail::RaisedFaults() == 0) {
        // The usual case: the caller has none of the flags, so they need no saving.
        computation();
        const bool raised = guard_detail::RaisedFaults() != 0;
        if (raised) guard_detail::ClearFaults();
        return raised || !allFinite();
    }
    std::fexcept_t callerFlags;
    std::fegetexceptflag(&callerFlags, kGuardedFaults);
    std::feclearexcept(kGuardedFaults);
    computation();
    const bool raised = std::fetestexcept(kGuardedFaults) != 0;
    std::fesetexceptflag(&callerFlags, kGuardedFaults);
    return raised || !allFinite();
}
