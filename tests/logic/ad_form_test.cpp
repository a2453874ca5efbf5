#include "dialogs/ad_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fake_platform.h"
#include "settings/ad_converter.h"
#include "settings/mssp.h"

namespace korvane {
namespace {

class AdDialogTest : public FormFixture<AdForm> {
protected:
    int PcfgOption(const AdForm& form, std::int16_t pcfg) {
        const auto& codes = form.pcfgCodes();
        return static_cast<int>(std::find(codes.begin(), codes.end(), pcfg) - codes.begin());
    }
};

TEST_F(AdDialogTest, OpensOffWithTheCrystalsClockAndOnlyThePartsChoices) {
    settings.CrystalMHz = 20;
    settings.ChipPart = 3;  // 16F877: eight channels, no ADCS2
    auto form = Open();
    EXPECT_FALSE(form->Fra_Pcfg.enabled());
    EXPECT_EQ(form->Opt_Clock.caption(form->Opt_Clock.selected()), "Fosc/32");
    EXPECT_EQ(form->Opt_Clock.caption(0), "Fosc/2 (太快,TAD<1.6uS)");
    EXPECT_FALSE(form->Opt_Clock.visible(1));  // Fosc/4 is an A part's
    EXPECT_EQ(form->Lbl_Tad.caption(), "晶振20MHz: TAD=1.600uS,转换时间19.200uS");

    settings.ChipPart = 4;  // 16F873A: five channels
    auto small = Open();
    EXPECT_EQ(small->Opt_Pcfg.count(), 8);
    EXPECT_FALSE(small->Opt_Channel.visible(5));
    EXPECT_TRUE(small->Opt_Clock.visible(1));
}

TEST_F(AdDialogTest, AnalogPinsBecomeInputsTheChannelFollowsAndTheClockIsTheUsers) {
    auto form = Open();
    form->Chk_AdEn.click();
    form->Opt_Pcfg.click(PcfgOption(*form, 0b1001));  // AN0..AN5 analog
    EXPECT_EQ(settings.PortADir, (PinDirections{1, 1, 1, 1, 0, 1, 0, 0}));
    EXPECT_EQ(settings.PortEDir[0], 1);
    EXPECT_EQ(settings.PortEUsed, 1);
    form->Opt_Channel.click(5);
    EXPECT_EQ(settings.AdChannel, 5);
    // AN5 turns digital: the channel moves to AN0.
    form->Opt_Pcfg.click(PcfgOption(*form, 0b1110));
    EXPECT_EQ(settings.AdChannel, 0);
    EXPECT_FALSE(form->Opt_Channel.enabled(1));

    form->Opt_Clock.click(4);  // Fosc/32 at 4 MHz: slower than needed
    EXPECT_EQ(settings.AdClock, 0b010);
    EXPECT_EQ(settings.AdClockByHand, 1);
    form->Opt_Clock.click(2);  // Fosc/8: the crystal's own again
    EXPECT_EQ(settings.AdClockByHand, 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AdDialogTest, RefusesRa5WhileTheMsspSlaveSelectHoldsIt) {
    settings.MsspEn = 1;
    settings.MsspMode = kMsspSpiSlave;
    settings.AdEn = 1;
    settings.AdPcfg = 0b1110;
    auto form = Open();
    form->Opt_Pcfg.click(PcfgOption(*form, 0b0000));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "RA5口已被占用");
    EXPECT_EQ(settings.AdPcfg, 0b1110);
    EXPECT_EQ(form->Opt_Pcfg.selected(), PcfgOption(*form, 0b1110));
}

}  // namespace
}  // namespace korvane
