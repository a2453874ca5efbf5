#include "modules/comparator/comparator.h"

#include <algorithm>

#include "settings/parts.h"

namespace korvane {

namespace {

// The data sheet's comparator I/O operating modes. C1 compares RA0 (VIN-)
// with RA3 (VIN+), C2 RA1 with RA2, unless both share RA3 or, multiplexed,
// compare their CIS-chosen VIN- with CVREF.
constexpr ComparatorMode kModes[kComparatorModeCount] = {
    {0b000, "比较器复位(RA0-RA3为模拟输入)", false, false, false, false, false},
    {0b001, "一个独立比较器C1,有输出", true, false, false, true, false},
    {0b010, "两个独立比较器", true, true, false, false, false},
    {0b011, "两个独立比较器,有输出", true, true, false, true, true},
    {0b100, "两个比较器共用参考输入RA3", true, true, true, false, false},
    {0b101, "两个比较器共用参考输入RA3,有输出", true, true, true, true, true},
    {0b110, "四个输入切换到两个比较器,参考为CVREF", true, true, false, false, false},
    {0b111, "比较器关闭", false, false, false, false, false},
};

constexpr int kC1OutPin = 4;
constexpr int kC2OutPin = 5;
constexpr int kCvrefPin = 2;

}  // namespace

std::span<const ComparatorMode, kComparatorModeCount> ComparatorModes() {
    return kModes;
}

const ComparatorMode& ComparatorModeOf(const ProjectSettings& s) {
    if (s.CmpMode < 0 || s.CmpMode >= kComparatorModeCount) return kModes[kComparatorsOff];
    return kModes[s.CmpMode];
}

bool PartHasComparators(const ProjectSettings& s) {
    return ChosenPart(s).comparators;
}

bool ComparatorUsed(const ProjectSettings& s) {
    return s.CmpEn == 1 && PartHasComparators(s);
}

bool CvrefOnPin(const ProjectSettings& s) {
    return ComparatorUsed(s) && s.CvrEn == 1 && s.CvrOe == 1;
}

// CIS only switches in the multiplexed mode; a comparator that does not
// compare keeps its output as it is.
std::int64_t CmconValue(const ProjectSettings& s) {
    const ComparatorMode& mode = ComparatorModeOf(s);
    std::int64_t value = mode.code;
    if (mode.code == kComparatorsMultiplexed && s.CmpCis == 1) value |= 1 << 3;
    if (mode.c1 && s.CmpC1Inv == 1) value |= 1 << 4;
    if (mode.c2 && s.CmpC2Inv == 1) value |= 1 << 5;
    return value;
}

std::int64_t CvrconValue(const ProjectSettings& s) {
    if (s.CvrEn != 1) return 0;
    return 0x80 | (s.CvrOe == 1 ? 0x40 : 0) | (s.CvrRange == 1 ? 0x20 : 0) | (s.CvrValue & 0x0F);
}

double CvrefVolts(std::int16_t lowRange, std::int16_t step, double vdd) {
    const int cvr = step & 0x0F;
    return lowRange == 1 ? cvr / 24.0 * vdd : vdd / 4 + cvr / 32.0 * vdd;
}

std::string CvrefText(std::int16_t lowRange, std::int16_t step, const NumberLocale& locale) {
    const int cvr = step & 0x0F;
    const std::string ratio =
        lowRange == 1 ? std::to_string(cvr) + "/24VDD" : "VDD/4+" + std::to_string(cvr) + "/32VDD";
    return ratio + ",VDD=5V时为" + FixedDecimalText(CvrefVolts(lowRange, step, 5.0), 3, locale) + "V";
}

std::vector<ComparatorPin> ComparatorPins(const ProjectSettings& s) {
    std::vector<ComparatorPin> pins;
    if (!ComparatorUsed(s)) return pins;
    const ComparatorMode& mode = ComparatorModeOf(s);
    const auto in = [&](int pin, const char* text) {
        pins.push_back({PinUse::Comparator, pin, PinSignal::AnalogInput, true, text});
    };
    // Digital I/O on any of RA0..RA3 would read 0 while the mode keeps it analog.
    if (mode.code == kComparatorsReset) {
        for (int pin = 0; pin <= 3; ++pin) in(pin, "比较器复位:模拟输入");
    } else if (mode.code == kComparatorsMultiplexed) {
        in(0, "比较器C1输入VIN-(CIS=0)");
        in(1, "比较器C2输入VIN-(CIS=0)");
        in(2, "比较器C2输入VIN-(CIS=1)");
        in(3, "比较器C1输入VIN-(CIS=1)");
    } else {
        if (mode.c1) in(0, "比较器C1输入VIN-");
        if (mode.c2) in(1, "比较器C2输入VIN-");
        if (mode.c2 && !mode.commonReference) in(2, "比较器C2输入VIN+");
        if (mode.c1) in(3, mode.commonReference ? "比较器C1/C2输入VIN+" : "比较器C1输入VIN+");
    }
    // The outputs drive their pins only while TRIS makes them outputs.
    if (mode.c1Out)
        pins.push_back({PinUse::Comparator, kC1OutPin, PinSignal::OpenDrainOutput, false, "比较器输出C1OUT"});
    if (mode.c2Out)
        pins.push_back({PinUse::Comparator, kC2OutPin, PinSignal::DrivenOutput, false, "比较器输出C2OUT"});
    // CVREF on RA2 takes the pin from a comparator input there: the
    // comparator then reads the reference it drives.
    if (CvrefOnPin(s)) {
        std::erase_if(pins, [](const ComparatorPin& p) { return p.pin == kCvrefPin; });
        pins.push_back(
            {PinUse::VoltageReference, kCvrefPin, PinSignal::AnalogOutput, true, "参考电压输出CVREF"});
    }
    return pins;
}

}  // namespace korvane
