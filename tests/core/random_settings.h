#pragma once

// Settings records that no dialog would produce: every value kind in every
// field, out-of-range indices, NaN, huge numbers, stray text.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include "chip/rules.h"
#include "settings/project_settings.h"
#include "settings/setting_rules.h"
#include "settings/setting_table.h"

namespace korvane {

// Texts as a text box could hold them, line breaks included (a pasted time, a
// hand-edited file), but no "/", so that any "//" in the output is one the
// generator wrote.
// clang-format off
const char* const kTexts[] = {
    "", "0", "1", "-1", "2", "3", "12", "0.5", " 1 ", "1.2.3", "abc", "0x1F", "1e5", "NaN", "inf",
    "-", ".", "中文", "\t7", "\"q\"", "*", "{", "}", ";", "\\", "-0", "+1", "0.", ".5", "True",
    "%s%n", "99999999999999999999999999999999999999999", "25\n6", "1\r", "\r\n", "0x\r\n1F", "\n\r",
};
// clang-format on
constexpr std::string_view kTextAlphabet = "0123456789.-+eE xA;{}()*\"'\\%#\r\n";

// A record brought within what a project file accepts: each value that breaks
// its row's rule back at its default, the values others decide worked out,
// and what the part does not offer left at its first choice or with the
// converter off.
inline ProjectSettings WithinRules(ProjectSettings s) {
    static const ProjectSettings kDefaults;
    for (const Setting& setting : kSettings)
        if (!KeepsRule(setting, s))
            std::visit([&](auto member) { s.*member = kDefaults.*member; }, setting.member);
    for (const RuleBreach& breach : RuleBreaches(s)) {
        if (breach.derived)
            StoreDerived(s, breach.setting, *breach.derived);
        else if (breach.setting.starts_with("Cfg"))
            StoreDerived(s, breach.setting, 0);
        else if (breach.setting.starts_with("Ad"))
            s.AdEn = 0;  // the converter's codes only count while it is used
        else if (breach.setting == "SciRxBuffer" || breach.setting == "SciTxBuffer")
            StoreDerived(s, breach.setting, 16);  // a ring buffer's size, a power of two
        else if (breach.setting == "CmpEn")
            s.CmpEn = 0;  // a part without comparators
        else              // a module's own rule this helper does not know yet: say so, never hide it
            throw std::logic_error("WithinRules cannot mend a breach of " + std::string(breach.setting));
    }
    return s;
}

class RandomSettings {
public:
    explicit RandomSettings(std::uint64_t seed) : rng_(seed) {}

    ProjectSettings Next() { return Make(false); }
    // Records the project file takes: every value of a kind, range and shape
    // its row allows, and agreeing with the others as the dialogs leave it.
    ProjectSettings NextAccepted() { return WithinRules(Make(true)); }

private:
    ProjectSettings Make(bool accepted) {
        ProjectSettings s;
        for (const Setting& setting : kSettings) {
            const ValueRule* rule = accepted ? &setting.rule : nullptr;
            std::visit([&](auto member) { Fill(s.*member, rule); }, setting.member);
        }
        // The checks that use these records read the classic text; the other
        // forms have their own.
        s.OutputForm = 0;
        return s;
    }

    using Rule = const ValueRule*;
    void Fill(float& single, Rule rule) {
        if (!rule) {
            single = Single();
        } else if (rule->range) {
            single = static_cast<float>(Within(*rule->range));
        } else {
            do single = Single();
            while (!std::isfinite(single) || (rule->positive && single <= 0));
        }
    }
    void Fill(std::string& text, Rule rule) { text = rule ? Shaped(rule->shape) : Text(); }
    void Fill(std::int16_t& whole, Rule rule) {
        whole = rule ? static_cast<std::int16_t>(Within(*rule->range)) : Int16();
    }
    void Fill(PinDirections& pins, Rule rule) {
        for (std::int16_t& pin : pins)
            pin = rule        ? static_cast<std::int16_t>(Within(*rule->range))
                  : Chance(4) ? Int16()
                              : static_cast<std::int16_t>(Below(2));
    }
    void Fill(SettingValue& value, Rule rule) { value = rule ? Allowed(*rule) : Value(); }

    std::int32_t Within(const AllowedRange& range) {
        return range.min +
               static_cast<std::int32_t>(Below(static_cast<std::uint64_t>(range.max - range.min) + 1));
    }
    // A value of one of the kinds the rule allows.
    SettingValue Allowed(const ValueRule& rule) {
        for (;;) {
            const auto kind = static_cast<SettingValue::Kind>(Below(6));
            if ((rule.kinds & KindBit(kind)) == 0) continue;
            const double number = rule.range ? Within(*rule.range) : static_cast<double>(Int16());
            switch (kind) {
                case SettingValue::Kind::Flag:
                    return Chance(2);
                case SettingValue::Kind::Text:
                    return Shaped(rule.shape);
                case SettingValue::Kind::Single:
                    if (rule.range) return static_cast<float>(number);
                    if (const float single = Single(); std::isfinite(single)) return single;
                    continue;
                case SettingValue::Kind::Double:
                    return number;
                default:
                    if (std::isfinite(number)) return static_cast<std::int16_t>(number);
            }
        }
    }
    std::string Shaped(TextShape shape) {
        static constexpr std::string_view kDigits = "0123456789";
        std::string text;
        switch (shape) {
            case TextShape::Register:
                if (Chance(4)) return text;
                return "0x" + std::string(1, "0123456789ABCDEF"[Below(16)]) + "0123456789ABCDEF"[Below(16)];
            case TextShape::Decimal:
                for (auto n = Below(8); n > 0; --n) text += Chance(5) ? '.' : kDigits[Below(10)];
                return text;
            case TextShape::Digits:
                break;
        }
        for (auto n = Below(8); n > 0; --n) text += kDigits[Below(10)];
        return text;
    }

    std::uint64_t Below(std::uint64_t n) {
        return std::uniform_int_distribution<std::uint64_t>(0, n - 1)(rng_);
    }
    bool Chance(int oneIn) { return Below(oneIn) == 0; }

    // Mostly the small values the dialogs store, so every branch is reached;
    // otherwise anything an int16 can hold.
    std::int16_t Int16() {
        static constexpr std::int16_t kEdges[] = {-1, 0,  1,  2,  3,   4,   7,         8,
                                                  11, 12, 15, 16, 255, 256, INT16_MIN, INT16_MAX};
        if (!Chance(3)) return static_cast<std::int16_t>(static_cast<int>(Below(4)) - 1);
        if (Chance(2)) return kEdges[Below(std::size(kEdges))];
        return static_cast<std::int16_t>(static_cast<int>(Below(65536)) + INT16_MIN);
    }

    float Single() {
        static constexpr float kEdges[] = {0.0f,  -0.0f,   1.0f,     -1.0f,       0.5f, 1e-45f,
                                           1e-5f, 3.4e38f, -3.4e38f, 12345678.0f, 0.1f, 255.5f};
        switch (Below(4)) {
            case 0:
                return std::numeric_limits<float>::quiet_NaN();
            case 1:
                return Chance(2) ? std::numeric_limits<float>::infinity()
                                 : -std::numeric_limits<float>::infinity();
            case 2:
                return kEdges[Below(std::size(kEdges))];
            default:
                return std::uniform_real_distribution<float>(-1e6f, 1e6f)(rng_);
        }
    }

    double Double() {
        static constexpr double kEdges[] = {0.0,  1.0,   2.0,    4.0,    8.0,     -1.0,         0.1,
                                            1e15, 1e300, -1e300, 9.2e18, -9.3e18, 4294967296.0, 2.5};
        switch (Below(3)) {
            case 0:
                return Chance(2) ? std::numeric_limits<double>::quiet_NaN()
                                 : std::numeric_limits<double>::infinity() * (Chance(2) ? 1 : -1);
            case 1:
                return kEdges[Below(std::size(kEdges))];
            default:
                return std::uniform_real_distribution<double>(-1e20, 1e20)(rng_);
        }
    }

    std::string Text() {
        if (Chance(2)) return kTexts[Below(std::size(kTexts))];
        std::string text;
        for (auto n = Below(12); n > 0; --n) text += kTextAlphabet[Below(kTextAlphabet.size())];
        return text;
    }

    SettingValue Value() {
        switch (Below(8)) {
            case 0:
                return SettingValue();
            case 1:
                return Chance(2);
            case 2:
                return Single();
            case 3:
                return Double();
            case 4:
                return Text();
            // Integers wider than int16 become 64-bit numbers.
            case 5:
                return static_cast<std::int64_t>(Below(1ull << 40)) - (1ll << 39);
            default:
                return Int16();
        }
    }

    std::mt19937_64 rng_;
};

}  // namespace korvane
