#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1.h"
#include "dialogs/chip_form.h"
#include "dialogs/config_form.h"
#include "dialogs/port_form.h"
#include "fake_platform.h"

namespace korvane {
namespace {

constexpr std::int16_t k877 = 3, k876A = 6, k877A = 7, k873 = 0;

using Story = FormFixture<ConfigForm>;

// A switch to a 28-pin part asks before dropping ports D and E; a switch of
// family keeps only the protection choices that mean the same on both.
TEST_F(Story, APartSwitchAsksWhatItDropsAndKeepsWhatMeansTheSame) {
    using enum MessageAnswer;
    struct Case {
        const char* name;
        std::int16_t from, to, portD, portE, cp, wrt;
        std::vector<MessageAnswer> answers;  // one question each
        std::int16_t part, portDAfter, cpAfter, wrtAfter;
    };
    const Case cases[] = {
        {"NoDOrEUsed", k877A, k876A, 0, 0, 0, 0, {}, k876A, 0, 0, 0},
        {"DUsedYes", k877A, k876A, 1, 0, 0, 0, {Yes}, k876A, 0, 0, 0},
        {"EUsedNoKeepsThePart", k877A, k873, 0, 1, 0, 0, {No}, k877A, 0, 0, 0},
        {"DUsedNoKeepsPortD", k877A, k873, 1, 1, 0, 0, {No}, k877A, 1, 0, 0},
        {"FortyPinsNeverAsks", k877A, k877, 1, 1, 0, 0, {}, k877, 1, 0, 0},
        {"AllProtectedOnBoth", k877, k877A, 0, 0, 1, 0, {}, k877A, 0, 1, 0},
        // A choice that falls back is asked about too.
        {"UpperHalfIsNoAChoice", k877, k877A, 0, 0, 2, 0, {Yes}, k877A, 0, 0, 0},
        {"NoSelfWriteIsNotHalf", k877, k877A, 0, 0, 0, 1, {Yes}, k877A, 0, 0, 0},
        {"AHalfProtectionKept", k877A, k877, 0, 0, 0, 3, {No}, k877A, 0, 0, 3},
    };
    for (const Case& c : cases) {
        settings = ProjectSettings{};
        platform = FakePlatform{};
        settings.ChipPart = c.from;
        settings.PortDUsed = c.portD;
        settings.PortEUsed = c.portE;
        settings.CfgCp = c.cp;
        settings.CfgWrt = c.wrt;
        platform.answers.assign(c.answers.begin(), c.answers.end());
        auto form = Open<ChipForm>();
        form->Opt_Part.click(c.to);
        EXPECT_EQ(settings.ChipPart, c.part) << c.name;
        EXPECT_EQ(form->Opt_Part.selected(), c.part) << c.name;
        EXPECT_EQ(settings.PortDUsed, c.portDAfter) << c.name;
        EXPECT_EQ(settings.CfgCp, c.cpAfter) << c.name;
        EXPECT_EQ(settings.CfgWrt, c.wrtAfter) << c.name;
        EXPECT_EQ(platform.messages.size(), c.answers.size()) << c.name;
    }
}

// The question names every setting the switch alters: the A/D converter's
// inputs, channel and clock as the new part reads them.
TEST_F(Story, APartSwitchNamesWhatItChangesInTheAdConverter) {
    settings.AdEn = 1;
    settings.AdPcfg = 0;
    settings.AdChannel = 6;
    settings.AdClock = 0b110;  // Fosc/64: the A parts only
    settings.AdClockByHand = 1;
    platform.answers = {MessageAnswer::Yes};
    auto form = Open<ChipForm>();
    form->Opt_Part.click(k873);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "A/D模拟输入将由\"AN0-AN7模拟,VREF+=VDD,VREF-=VSS\"改为\"AN0-AN4模拟,VREF+=VDD,VREF-=VSS\"\r"
              "A/D转换通道将由\"AN6\"改为\"AN0\"\rA/D转换时钟将由\"Fosc/64\"改为\"Fosc/8\"，是否继续?");
    EXPECT_EQ(settings.ChipPart, k873);
    EXPECT_EQ(settings.AdChannel, 0);
}

// A part without comparators turns them off, as it drops ports D and E.
TEST_F(Story, APartSwitchTurnsTheComparatorsOff) {
    settings.CmpEn = 1;
    platform.answers = {MessageAnswer::Yes};
    auto form = Open<ChipForm>();
    form->Opt_Part.click(k877);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "PIC16F877没有比较器模块。\r切换到PIC16F877将不再设置比较器和参考电压，是否继续?");
    EXPECT_EQ(settings.ChipPart, k877);
    EXPECT_EQ(settings.CmpEn, 0);
}

TEST_F(Story, TheDialogOffersThePartsChoicesAndReadsTheWordOut) {
    settings.ChipPart = k877;
    auto form = Open();
    EXPECT_EQ(form->Lbl_Part.caption(), "芯片: PIC16F877");
    EXPECT_EQ(form->Lbl_Word.caption(), "配置字: 0x3F71");
    EXPECT_TRUE(form->Opt_Cp.visible(3));
    EXPECT_FALSE(form->Opt_Wrt.visible(2));
    EXPECT_FALSE(form->Lbl_Crystal.visible());

    form->Chk_Wdt.click();
    form->Opt_Cp.click(1);
    EXPECT_EQ(settings.CfgWdt, 1);
    form->Chk_Write.click();
    EXPECT_EQ(settings.CfgWrite, 0);
    EXPECT_EQ(form->Lbl_Word.caption(), "配置字: 0x0F45 (不写入源程序)");

    settings = ProjectSettings{};
    settings.CrystalMHz = 24;
    const ProjectSettings stored = settings;
    auto aPart = Open();
    EXPECT_FALSE(aPart->Opt_Cp.visible(2));
    EXPECT_TRUE(aPart->Opt_Wrt.visible(3));
    EXPECT_TRUE(aPart->Lbl_Crystal.visible());
    EXPECT_EQ(aPart->Lbl_Crystal.caption(), "晶振24MHz超过芯片的最高频率20MHz，仍按HS设置。");
    EXPECT_EQ(settings, stored) << "opening changes nothing";
}

TEST_F(Story, TheCrystalMovesTheOscillatorUnlessRcWasChosen) {
    Form1 mainWindow(context);
    const auto crystal = [&](const char* mhz) {
        platform.inputs = {mhz};
        mainWindow.VbMenuSet_Osc.click();
    };
    auto form = Open();
    form->Opt_Osc.click(kOscRc);
    crystal("4");
    EXPECT_EQ(settings.CfgOsc, kOscRc);

    // Picking what the crystal itself gives hands the choice back to it.
    form->Opt_Osc.click(kOscXt);
    EXPECT_EQ(settings.CfgOscByHand, 0);
    crystal("0.032");
    EXPECT_EQ(settings.CfgOsc, kOscLp);
}

// The form chosen in the chip dialog names itself in the title once the
// dialog closes, and the generate command writes it.
TEST_F(Story, TheChosenOutputFormTitlesTheWindowAndIsGenerated) {
    Form1 mainWindow(context);
    mainWindow.load();
    EXPECT_EQ(mainWindow.caption(), "Korvane");
    platform.formActions[FormId::Chip] = [&] {
        auto chip = Open<ChipForm>();
        EXPECT_EQ(chip->Opt_Form.selected(), 0);
        chip->Opt_Form.click(2);
    };
    mainWindow.VbMenuSet_Chip.click();
    EXPECT_EQ(mainWindow.caption(), "Korvane - SDCC");
    platform.answers = {MessageAnswer::Yes};
    mainWindow.VbMenuTools_c.click();
    // The first line after the stamp.
    const std::string& text = mainWindow.Text1.text();
    EXPECT_EQ(text.substr(text.find("\r\n#") + 2, 24), "#include <pic16f877a.h>\r");
}

TEST_F(Story, A28PinPartRefusesPortD) {
    settings.ChipPart = k876A;
    settings.PortDUsed = 1;  // as a hand-edited project file may say
    auto form = Open<PortForm>();
    EXPECT_FALSE(form->Check4.checked());
    EXPECT_FALSE(form->Frame5.enabled());
    for (CheckBox* box : {&form->Check4, &form->Check5}) {
        box->click();
        EXPECT_FALSE(box->checked());
    }
    EXPECT_EQ(platform.messageTitles(), (std::vector<std::string>{"端口不存在", "端口不存在"}));
    EXPECT_EQ(platform.messages[0].text,
              "PIC16F876A是28脚芯片,没有PortD和PortE.\r若要使用,请先在\"选择芯片\"中选择40脚的芯片.");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
}

}  // namespace
}  // namespace korvane
