#pragma once

// Settings records that no dialog would produce: every value kind in every
// field, out-of-range indices, NaN, huge numbers, stray text.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <variant>

#include "settings/project_settings.h"
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

class RandomSettings {
public:
    explicit RandomSettings(std::uint64_t seed) : rng_(seed) {}

    ProjectSettings Next() { return Make(false); }
    // Records the project file takes: every setting with a range within it.
    ProjectSettings NextWithinRanges() { return Make(true); }

private:
    ProjectSettings Make(bool withinRanges) {
        ProjectSettings s;
        for (const Setting& setting : kSettings) {
            const auto range = withinRanges ? setting.range : std::nullopt;
            std::visit([&](auto member) { Fill(s.*member, range); }, setting.member);
        }
        return s;
    }

    using Range = std::optional<AllowedRange>;
    void Fill(float& single, Range) { single = Single(); }
    void Fill(std::string& text, Range) { text = Text(); }
    void Fill(std::int16_t& whole, Range range) { whole = range ? Within(*range) : Int16(); }
    void Fill(PinDirections& pins, Range range) {
        for (std::int16_t& pin : pins)
            pin = range ? Within(*range) : Chance(4) ? Int16() : static_cast<std::int16_t>(Below(2));
    }
    void Fill(SettingValue& value, Range range) { value = range ? Within(*range, Value()) : Value(); }

    std::int16_t Within(const AllowedRange& range) {
        return static_cast<std::int16_t>(range.min + static_cast<int>(Below(range.max - range.min + 1)));
    }
    // A number of the range in any kind a hand editor might write it; `kind`
    // lends its kind.
    SettingValue Within(const AllowedRange& range, const SettingValue& kind) {
        const std::int16_t whole = Within(range);
        switch (kind.kind()) {
            case SettingValue::Kind::Single:
                return whole + (Chance(2) ? 0.25f : -0.25f);
            case SettingValue::Kind::Double:
                return static_cast<double>(whole);
            case SettingValue::Kind::Text:
                return std::to_string(whole);
            default:
                return whole;
        }
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
