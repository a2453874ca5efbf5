// The baud calculator on arbitrary crystals, modes and error-limit texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "calc/baud_calc.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane;
    FuzzedDataProvider in(data, size);
    BaudCalcInput input;
    input.crystalMHz =
        in.ConsumeBool() ? in.ConsumeFloatingPointInRange<float>(0, 40) : in.ConsumeFloatingPoint<float>();
    input.divisor =
        in.ConsumeBool() ? ModeBaudDivisor(in.ConsumeBool(), in.ConsumeBool()) : in.ConsumeIntegral<int>();
    input.errorLimitText = in.ConsumeRemainingBytesAsString();

    const BaudCalcResult result = CalcBaudList(input);
    FUZZ_CHECK((result.status == BaudCalcStatus::Ok) == !result.entries.empty());
    FUZZ_CHECK((result.chosen() != nullptr) == !result.entries.empty());
    if (result.entries.empty()) return 0;

    // Every rate listed is reached by its SPBRG value from above, within the
    // limit; each rate once, fastest first, each with a larger SPBRG.
    const double limit = *ParseDecimal(input.errorLimitText) / 100;
    const double crystalHz = *CrystalHz(input.crystalMHz);
    const BaudEntry* previous = nullptr;
    for (const BaudEntry& entry : result.entries) {
        FUZZ_CHECK(entry.spbrg >= 0 && entry.spbrg < kSpbrgValues);
        FUZZ_CHECK(entry.actualBaud == crystalHz / (static_cast<double>(input.divisor) * (entry.spbrg + 1)));
        FUZZ_CHECK(entry.actualBaud >= entry.rate);
        FUZZ_CHECK(entry.actualBaud <= entry.rate * (1 + limit * (1 + 1e-6)));
        FUZZ_CHECK(entry.rateText == std::to_string(entry.rate));
        FUZZ_CHECK(entry.spbrgText == RegisterByteText(entry.spbrg));
        if (previous) FUZZ_CHECK(entry.rate < previous->rate && entry.spbrg > previous->spbrg);
        previous = &entry;
    }
    return 0;
}
