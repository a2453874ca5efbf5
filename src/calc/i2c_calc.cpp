#include "calc/i2c_calc.h"

#include <algorithm>
#include <cmath>

#include "calc/baud_calc.h"
#include "settings/mssp.h"

namespace korvane {

namespace {

using namespace i2c_messages;

CalcOutcome Fail(CalcOutcome outcome, CalcStatus status, std::string_view title, std::string text) {
    outcome.status = status;
    outcome.message = TimerCalcMessage{std::string(title), std::move(text)};
    return outcome;
}

// The crystal in Hz as the user typed it (18.432 MHz is 18432000 Hz, not the
// nearest single's 18431999.2), so that exact divisions stay exact.
double CrystalHzOrZero(float crystalMHz) {
    return static_cast<double>(CrystalHz(crystalMHz).value_or(0));
}

}  // namespace

CalcOutcome CalculateSspadd(std::string_view rateText, float crystalMHz, const NumberLocale& locale) {
    CalcOutcome outcome;
    const auto rate = ParseSingle(rateText);
    if (!rate) return Fail(outcome, CalcStatus::InputError, kInputTitle, std::string(kInputText));
    outcome.input = rate;
    const double foscHz = CrystalHzOrZero(crystalMHz);
    if (!(foscHz > 0))
        return Fail(outcome, CalcStatus::FrequencyNotPositive, baud_messages::kCrystalTitle,
                    std::string(baud_messages::kCrystalText));

    // Clock periods per bus clock, over 4: SSPADD + 1. A hair below a whole
    // number is that number, so exact rates are not pushed one step slower.
    const double exact = foscHz / (4.0 * *rate * 1000.0);
    const double steps = std::ceil(exact - 1e-9);
    // The bus allows no more than fast mode, whatever the crystal could clock.
    const double fastest = std::min<double>(kI2cFastKHz, I2cRateKHz(crystalMHz, 0));
    if (!(*rate > 0) || !(*rate <= fastest) || !(exact >= 1) || !(steps <= kLargestSspadd + 1)) {
        const std::string line2 = SingleText(crystalMHz) + "M晶振下的I2C速率范围为" +
                                  FixedDecimalText(I2cRateKHz(crystalMHz, kLargestSspadd), 3, locale) + "-" +
                                  FixedDecimalText(fastest, 3, locale) + "kHz";
        return Fail(outcome, CalcStatus::OutOfRange, kRangeTitle,
                    std::string(kRangeLine1) + '\r' + line2 + '\r' + std::string(kBusRatesLine));
    }
    outcome.value = static_cast<std::int32_t>(steps) - 1;
    outcome.status = CalcStatus::Ok;
    return outcome;
}

double I2cRateKHz(float crystalMHz, std::int32_t sspadd) {
    return CrystalHzOrZero(crystalMHz) / (4.0 * (sspadd + 1)) / 1000.0;
}

double I2cErrorPercent(double actualKHz, double wantedKHz) {
    return wantedKHz != 0 ? (actualKHz - wantedKHz) / wantedKHz * 100.0 : 0.0;
}

}  // namespace korvane
