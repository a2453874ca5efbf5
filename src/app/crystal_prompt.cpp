#include "app/crystal_prompt.h"

#include <string>

#include "calc/settings_calc.h"
#include "dialogs/settle_and_tell.h"
#include "format/number_text.h"
#include "settings/parts.h"

namespace korvane {

namespace {

constexpr const char* kCrystalPrompt = "请输入晶体振荡频率(MHZ)";
constexpr const char* kCrystalTitle = "晶体设置";

}  // namespace

std::optional<float> CrystalOf(const SettingValue& frequency) {
    const auto number = frequency.toNumber();
    if (!number) return std::nullopt;
    return FitInSingle(*number);
}

void AskCrystal(AppContext& context) {
    auto& settings = context.settings;
    auto& platform = context.platform;
    for (;;) {
        const std::string answer =
            platform.inputBox(kCrystalPrompt, kCrystalTitle, SingleText(settings.CrystalMHz));
        const auto frequency = ParseSingle(answer);
        if (!frequency) {
            // Cancel or not a number: the crystal follows Timer0's frequency,
            // unless that is no number either.
            if (const auto timer0 = CrystalOf(settings.T0FreqMHz)) settings.CrystalMHz = *timer0;
            return;
        }
        settings.CrystalMHz = *frequency;
        if (*frequency > kHighestCrystalMHz) {
            // The user may overclock knowingly; the value stands.
            platform.messageBox("晶振频率超过PIC16F87x的最高工作频率" + SingleText(kHighestCrystalMHz) +
                                    "MHz,\r芯片可能不能可靠工作.",
                                kCrystalTitle, MessageIcon::Warning, MessageButtons::Ok);
        }
        if (*frequency > 0) {
            settings.T0FreqMHz = *frequency;
            settings.T1FreqMHz = *frequency;
            settings.T2FreqMHz = *frequency;
            // Register values worked out for the old crystal must not outlive it.
            SettleAndTell(context);
            return;
        }
        platform.messageBox(std::string(baud_messages::kCrystalText),
                            std::string(baud_messages::kCrystalTitle), MessageIcon::Error,
                            MessageButtons::Ok);
    }
}

}  // namespace korvane
