#pragma once

#include <cstdint>

#include "generator/program.h"

namespace korvane {

// Instruction cycles of the interrupt routine the modern forms write, as
// measured on the simulated chip with the SDCC form (SDCC 4.2 pic14). The
// XC8 form's own are not measured, and its comments claim none.

// A write to TMR0 stops its count for two cycles (the data sheet).
inline constexpr std::int64_t kTimer0WriteInhibitCycles = 2;
// Counts lost by the SDCC form's Timer0 reload, one addwf on TMR0.
inline constexpr std::int64_t kSdccTimer0ReloadCycles = 2;
// Cycles Timer1 stands still while the SDCC form adds its start value.
inline constexpr std::int64_t kSdccTimer1StoppedCycles = 7;

// Counted from SDCC 4.2's listing and the simulated chip, rounded up: from
// the interrupt to the first test (the latency and the context saving, 15)
// and from the last statement back (restoring it, 14).
inline constexpr std::int64_t kSdccEntryExitCycles = 30;
// Each enabled source's tests and work in the first pass and the test of
// its note in the second; a Timer0 source measured 9 and 4, the receive
// branch takes the most.
inline constexpr std::int64_t kSdccCyclesPerSource = 20;

// What the SDCC form's routine takes of each interrupt besides the user's code.
inline std::int64_t InterruptOverheadCycles(std::int64_t enabledSources) {
    return kSdccEntryExitCycles + kSdccCyclesPerSource * enabledSources;
}

inline std::int64_t InterruptOverheadCycles(const Program& program) {
    std::int64_t sources = 0;
    for (const Branch& branch : program.branches) sources += branch.enabled ? 1 : 0;
    return InterruptOverheadCycles(sources);
}

}  // namespace korvane
