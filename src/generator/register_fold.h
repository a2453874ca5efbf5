#pragma once

#include <vector>

#include "generator/program.h"

namespace korvane {

// The modern forms write a register whole where the classic text sets its
// bits one by one: each register is written once, at the place of its last
// bit, starting from its value after a reset, with its fields named in the
// comment; a bit's own explanation stays where the bit was set, and a bit
// set alone stays alone. Other writes keep their place, one to a step.
std::vector<Step> FoldedIntoRegisters(const std::vector<Step>& steps);

}  // namespace korvane
