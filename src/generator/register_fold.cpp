#include "generator/register_fold.h"

#include <map>
#include <string_view>

#include "generator/register_bits.h"

namespace korvane {

namespace {

// Every field of the register with its value, bit 7 first.
std::string FieldsComment(std::string_view reg, std::uint8_t value) {
    std::string text = "//";
    for (int bit = 7; bit >= 0; --bit) {
        const std::string_view name = BitNameOf(reg, bit);
        if (name.empty() || (NamedOnlyWhenSet(name) && ((value >> bit) & 1) == 0)) continue;
        if (text.size() > 2) text += ' ';
        (text += name) += (value >> bit) & 1 ? "=1" : "=0";
    }
    return text;
}

}  // namespace

std::vector<Step> FoldedIntoRegisters(const std::vector<Step>& steps) {
    // By the last bit of a register every bit the classic text sets is set,
    // and the register's other writes (TMR1H before TMR1ON) come first as there.
    std::map<std::string_view, std::size_t> lastStep;
    for (std::size_t i = 0; i < steps.size(); ++i)
        if (const auto* assign = std::get_if<Assign>(&steps[i]); assign && !assign->alone)
            for (const Write& write : assign->writes)
                if (const auto place = PlaceOfBit(write.target)) lastStep[place->reg] = i;
    std::map<std::string_view, std::uint8_t> values;
    std::vector<Step> folded;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const auto* assign = std::get_if<Assign>(&steps[i]);
        if (!assign || assign->alone) {
            folded.push_back(steps[i]);
            continue;
        }
        bool anyBit = false;
        for (const Write& write : assign->writes) {
            const auto place = PlaceOfBit(write.target);
            if (!place) {
                const bool last = &write == &assign->writes.back() && !anyBit;
                folded.emplace_back(Assign{{write}, last ? assign->comment : std::string(), Layout::Spaced});
                continue;
            }
            anyBit = true;
            auto [it, added] = values.try_emplace(place->reg, ResetValueOf(place->reg));
            const auto mask = static_cast<std::uint8_t>(1u << place->bit);
            it->second =
                static_cast<std::uint8_t>((write.value & 1) ? it->second | mask : it->second & ~mask);
        }
        if (anyBit && !assign->comment.empty()) folded.emplace_back(Note{assign->comment});
        for (const auto& [reg, last] : lastStep) {
            if (last != i) continue;
            const std::uint8_t value = values.at(reg);
            folded.emplace_back(Assign{
                {{std::string(reg), value, ValueForm::Byte}}, FieldsComment(reg, value), Layout::Spaced});
        }
    }
    return folded;
}

}  // namespace korvane
