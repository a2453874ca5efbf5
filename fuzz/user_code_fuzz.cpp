// The update over any old text: no crash; a refusal names a line of the
// text; what it merges, carried or forced, is a sound text again, which a
// second update leaves as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "calc/settings_calc.h"
#include "format/line_diff.h"
#include "format/number_text.h"
#include "fuzz_check.h"
#include "generator/source_assembly.h"
#include "generator/user_code.h"

namespace {

using namespace korvane;

// Timer1's branch and the serial port's, in the SDCC form.
const std::string& Fresh() {
    static const std::string text = [] {
        ProjectSettings s;
        s.OutputForm = 2;
        s.PortCUsed = 1;
        s.PortCDir[6] = s.PortCDir[7] = 1;
        s.T1En = true;
        s.T1Int = -1;
        s.SciEn = 1;
        s.SciRxInt = 1;
        SettleProject(s, kPlainNumbers);
        return AssembleSource(s, true);
    }();
    return text;
}

void CheckSound(const std::string& merged) {
    const MergeResult again = MergeUserCode(merged, Fresh(), false);
    FUZZ_CHECK(std::holds_alternative<MergedText>(again));
    FUZZ_CHECK(std::get<MergedText>(again).text == merged);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string old(reinterpret_cast<const char*>(data), size);
    const MergeResult result = MergeUserCode(old, Fresh(), false);
    if (const auto* refusal = std::get_if<MergeRefusal>(&result)) {
        FUZZ_CHECK(refusal->line >= 1 && refusal->line <= static_cast<int>(SplitLines(old).size()) + 1);
        FUZZ_CHECK(!refusal->reason.empty());
        const MergeResult forced = MergeUserCode(old, Fresh(), true);
        FUZZ_CHECK(std::holds_alternative<MergedText>(forced));
        CheckSound(std::get<MergedText>(forced).text);
    } else {
        CheckSound(std::get<MergedText>(result).text);
    }
    return 0;
}
