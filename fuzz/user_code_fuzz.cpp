// The update over any old text: no crash; a refusal names a line of the
// text; what it merges, carried or forced, is a sound text again, which a
// second update leaves as it is. And random edits outside the regions of a
// generated file, merged with its base into the text for new settings:
// every added line is in the result (in a conflict, between its markers),
// and a merge without conflicts is kept by the next update as it is.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "calc/settings_calc.h"
#include "chip/assemble.h"
#include "chip/settle.h"
#include "format/line_diff.h"
#include "format/number_text.h"
#include "fuzz_check.h"
#include "generator/classic_writer.h"
#include "generator/user_code.h"

namespace {

using namespace korvane;

// Timer1's branch and the serial port's, in the SDCC form; `later`, a
// crystal and baud change, is what the next update generates.
std::string Generated(bool later) {
    ProjectSettings s;
    s.OutputForm = 2;
    s.PortCUsed = 1;
    s.PortCDir[6] = s.PortCDir[7] = 1;
    s.T1En = true;
    s.T1Int = -1;
    s.SciEn = 1;
    s.SciRxInt = 1;
    if (later) {
        s.CrystalMHz = 8.0f;
        s.T1FreqMHz = 8.0f;
        s.SciBaud = "1200";
    }
    SettleProject(s, kPlainNumbers);
    return AssembleSource(s, true);
}

const std::string& Fresh() {
    static const std::string text = Generated(false);
    return text;
}

const std::string& Later() {
    static const std::string text = Generated(true);
    return text;
}

void CheckSound(const std::string& merged) {
    const MergeResult again = MergeUserCode(merged, Fresh(), false);
    FUZZ_CHECK(std::holds_alternative<MergedText>(again));
    FUZZ_CHECK(std::get<MergedText>(again).text == merged);
}

void AnyOldText(const std::string& old) {
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
}

// The edits: two bytes pick a line outside the regions and what to do there
// (add a line before it, remove it, or change it); an added or changed
// line's text follows, up to a byte 0. Its letters make plain C, never a
// comment, a marker or a conflict marker.
void EditsOutside(const std::uint8_t* data, std::size_t size) {
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789 ;(){}+-_.,=&|";
    std::vector<std::string> lines = SplitLines(Fresh());
    // Outside: not the stamp, not a marker, not between a start and its end.
    std::vector<bool> outside(lines.size(), true);
    outside[0] = false;
    bool inRegion = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool marker = lines[i].find("/* 用户代码") != std::string::npos;
        if (marker) inRegion = lines[i].find("开始") != std::string::npos;
        if (marker || inRegion) outside[i] = false;
    }
    std::vector<bool> added(lines.size(), false);  // what the edits put there
    std::size_t at = 0;
    for (int edits = 0; at + 2 <= size && edits < 64; ++edits) {
        std::vector<std::size_t> places;
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (outside[i]) places.push_back(i);
        if (places.empty()) break;
        const std::size_t place = places[data[at] % places.size()];
        const int op = data[at + 1] % 3;
        at += 2;
        std::string text;
        while (at < size && data[at] != 0 && text.size() < 60) text += kLetters[data[at++] % kLetters.size()];
        if (at < size) ++at;
        const auto offset = static_cast<std::ptrdiff_t>(place);
        if (op == 1) {
            lines.erase(lines.begin() + offset);
            outside.erase(outside.begin() + offset);
            added.erase(added.begin() + offset);
        } else if (op == 0) {
            lines.insert(lines.begin() + offset, text);
            outside.insert(outside.begin() + offset, true);
            added.insert(added.begin() + offset, true);
        } else {
            lines[place] = text;
            added[place] = true;
        }
    }
    std::string file;
    for (const std::string& line : lines) (file += line) += "\r\n";
    const MergeResult result = MergeUserCode(file, Later(), false, Fresh());
    FUZZ_CHECK(std::holds_alternative<MergedText>(result));
    const MergedText& merged = std::get<MergedText>(result);
    FUZZ_CHECK(!merged.carriedOnly);
    const std::vector<std::string> out = SplitLines(merged.text);
    // A line of blanks only says nothing to look for.
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (added[i] && lines[i].find_first_not_of(' ') != std::string::npos)
            FUZZ_CHECK(std::ranges::find(out, lines[i]) != out.end());
    for (const int line : merged.conflicts)
        FUZZ_CHECK(line >= 1 && line <= static_cast<int>(out.size()) &&
                   out[line - 1].starts_with("<<<<<<< "));
    if (merged.conflicts.empty()) {
        const MergeResult again = MergeUserCode(merged.text, Later(), false, Later());
        FUZZ_CHECK(std::holds_alternative<MergedText>(again));
        FUZZ_CHECK(std::get<MergedText>(again).text == merged.text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte chooses: an old text of any bytes, or edits of a generated one.
    if (size > 0 && data[0] == 'E')
        EditsOutside(data + 1, size - 1);
    else
        AnyOldText(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
