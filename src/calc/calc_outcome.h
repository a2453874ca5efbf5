#pragma once

#include <cstdint>
#include <optional>

#include "calc/timer_calc.h"

namespace korvane {

// What the calculators that turn one typed number into one register value
// give: the CCP compare value and duty cycle, and SSPADD for the I2C clock.

enum class CalcStatus { Ok, InputError, FrequencyNotPositive, OutOfRange };

struct CalcOutcome {
    CalcStatus status = CalcStatus::InputError;
    std::optional<float> input;               // the typed number, once it converted
    std::int32_t value = 0;                   // set on success only
    std::optional<TimerCalcMessage> message;  // set on every failure
};

}  // namespace korvane
