#include "dialogs/comparator_form.h"

#include <gtest/gtest.h>

#include "dialogs/timer0_form.h"
#include "fake_platform.h"

namespace korvane {
namespace {

using ComparatorDialogTest = FormFixture<ComparatorForm>;

TEST_F(ComparatorDialogTest, APartWithoutComparatorsOffersNothingAndSaysWhy) {
    settings.ChipPart = 3;  // PIC16F877
    auto form = Open();
    EXPECT_FALSE(form->Chk_CmpEn.enabled());
    EXPECT_FALSE(form->Fra_Mode.enabled());
    EXPECT_EQ(form->Lbl_Part.caption(),
              "PIC16F877没有比较器和参考电压模块,请先在\"选择芯片\"中选择A型芯片(如PIC16F877A)");
}

// The inputs share RA0..RA3 with the converter's analog pins; an output on
// RA4 is refused while Timer0 counts on T0CKI there, and the mode stays.
TEST_F(ComparatorDialogTest, InputsShareTheAnalogPinsAnOutputIsRefusedOnT0cki) {
    settings.AdEn = 1;
    settings.AdPcfg = 0b0000;
    settings.T0ClockMode = 1;
    auto form = Open();
    form->Chk_CmpEn.click();
    form->Opt_Mode.click(0b100);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(settings.CmpMode, 0b100);
    form->Opt_Mode.click(0b101);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "RA4口已被占用");
    EXPECT_EQ(settings.CmpMode, 0b100);
    EXPECT_EQ(form->Opt_Mode.selected(), 0b100);
    // CIS switches only the multiplexed mode's inputs.
    EXPECT_FALSE(form->Fra_Cis.enabled());
}

// From the other side: C1OUT holds RA4, and Timer0's outside clock is
// refused with the comparator's way out.
TEST_F(ComparatorDialogTest, C1outKeepsRa4FromTimer0sOutsideClock) {
    settings.CmpEn = 1;
    settings.CmpMode = 0b001;
    settings.T0En = true;
    auto timer0 = Open<Timer0Form>();
    timer0->Opt_Osc.click(Timer0Form::kCounting);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "比较器模块已使用RA4口,定时器0外部时钟不能同时使用.\r若要使用定时器0外部时钟,"
              "请先在比较器模块中改选不用此引脚的模式.");
    EXPECT_TRUE(settings.T0ClockMode.equals(Timer0Form::kInternalTiming));
    EXPECT_TRUE(timer0->Opt_Osc.isSelected(Timer0Form::kInternalTiming));
}

// The data sheet's two ranges at VDD = 5 V, as the label shows them live.
TEST_F(ComparatorDialogTest, TheReferenceVoltageFollowsRangeAndStep) {
    settings.CmpEn = 1;
    auto form = Open();
    form->Chk_CvrEn.click();
    form->Opt_CvrRange.click(1);
    form->Combo_Cvr.pick(12);
    EXPECT_EQ(form->Lbl_Cvref.caption(), "CVREF=12/24VDD,VDD=5V时为2.500V");
    form->Opt_CvrRange.click(0);
    EXPECT_EQ(form->Lbl_Cvref.caption(), "CVREF=VDD/4+12/32VDD,VDD=5V时为3.125V");
    form->Chk_CvrOe.click();
    EXPECT_EQ(settings.PortADir[2], 1);
    EXPECT_EQ(settings.CvrValue, 12);
}

}  // namespace
}  // namespace korvane
