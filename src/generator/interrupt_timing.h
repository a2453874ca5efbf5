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

// From the interrupt to the first statement of the routine, and from the
// routine's end back to the interrupted code, with SDCC's context saving.
inline constexpr std::int64_t kSdccEntryExitCycles = 40;
// Each enabled source's tests and work in the first pass, and the test of
// its note in the second (the most any source takes).
inline constexpr std::int64_t kSdccCyclesPerSource = 30;

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
