#include "dialogs/port_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chip/claims.h"
#include "dialogs/sci_form.h"
#include "fake_platform.h"
#include "settings/chip_facts.h"
#include "settings/mssp.h"
#include "settings/pin_claims.h"

namespace korvane {
namespace {

using Titles = std::vector<std::string>;

const char* const kPrefixes[] = {"RA", "RB", "RC", "RD", "RE"};

std::string Caption(int port, int pin, bool input) {
    return kPrefixes[port] + std::to_string(pin) + (input ? "_IN" : "_OUT");
}

// RA4 is open-drain: its high lets go of the pin.
std::string LevelCaption(int port, int pin, bool high) {
    return !high ? "低" : port == kPortA && pin == 4 ? "高(释放)" : "高";
}

class PortDialogTest : public FormFixture<PortForm> {
protected:
    // The invariants of an open dialog: every box mirrors its setting, every
    // caption its box, and a port's pins are usable exactly when it is used.
    void ExpectShowsSettings(PortForm& form, const std::string& why) {
        for (int p = 0; p < PortForm::kPortCount; ++p) {
            auto port = form.port(p);
            const bool used = port.used == 1;
            EXPECT_EQ(port.useBox.checked(), used) << why << " port " << p;
            EXPECT_EQ(port.pinFrame.enabled(), used) << why << " port " << p;
            for (int k = 0; k < PortForm::kPinCount; ++k) {
                // A box of no pin (RA6, RA7, RE3..RE7) is always a greyed-out output.
                const bool pin = k < kPinsOfPort[p];
                const bool input = pin && port.directions[k] == 1;
                EXPECT_EQ(port.pins[k].checked(), input) << why << " " << Caption(p, k, input);
                EXPECT_EQ(port.pins[k].caption(), Caption(p, k, input)) << why;
                EXPECT_EQ(port.pins[k].enabled(), pin && used) << why << " " << Caption(p, k, input);
                // Its level: usable on an output of a used port, shown even when not.
                const bool high = pin && port.levels[k] == 1;
                EXPECT_EQ(port.levelBoxes[k].checked(), high) << why << " level " << Caption(p, k, input);
                EXPECT_EQ(port.levelBoxes[k].caption(), LevelCaption(p, k, high)) << why;
                EXPECT_EQ(port.levelBoxes[k].enabled(), pin && used && !input)
                    << why << " level " << Caption(p, k, input);
            }
        }
    }
};

TEST_F(PortDialogTest, OpensWithDefaultsAsStored) {
    auto form = Open();
    EXPECT_EQ(form->caption(), "Port Set");
    EXPECT_EQ(form->Frame1.caption(), "需要使用的端口");
    EXPECT_EQ(form->Command1.caption(), "确定(&E)");
    const char* const useCaptions[] = {"PortA", "PortB", "PortC", "PortD", "PortE"};
    const bool usedByDefault[] = {true, true, false, false, false};
    for (int p = 0; p < PortForm::kPortCount; ++p) {
        EXPECT_EQ(form->port(p).useBox.caption(), useCaptions[p]);
        EXPECT_EQ(form->port(p).pinFrame.caption(), useCaptions[p]);
        EXPECT_EQ(form->port(p).useBox.checked(), usedByDefault[p]) << useCaptions[p];
    }
    EXPECT_EQ(form->Chk_PortC[3].name(), "Chk_PortC(3)");
    ExpectShowsSettings(*form, "defaults");
    EXPECT_TRUE(settings == ProjectSettings{});
    EXPECT_TRUE(platform.events.empty());
}

TEST_F(PortDialogTest, PinClickStoresItsDirectionAndCaption) {
    struct Case {
        int port, pin;
    };
    // RB3 as in the manual; RE2, the last pin of port E.
    const Case cases[] = {{1, 3}, {0, 0}, {2, 5}, {3, 6}, {4, 2}, {4, 0}};
    for (const auto& c : cases) {
        settings = ProjectSettings{};
        auto form = Open();
        auto port = form->port(c.port);
        if (!port.useBox.checked()) port.useBox.click();
        ASSERT_TRUE(port.pins[c.pin].enabled());
        const PinDirections before = port.directions;

        port.pins[c.pin].click();
        PinDirections expected = before;
        expected[c.pin] = 1;
        EXPECT_EQ(port.directions, expected) << Caption(c.port, c.pin, true);
        EXPECT_EQ(port.pins[c.pin].caption(), Caption(c.port, c.pin, true));

        port.pins[c.pin].click();
        EXPECT_EQ(port.directions, before) << Caption(c.port, c.pin, false);
        EXPECT_EQ(port.pins[c.pin].caption(), Caption(c.port, c.pin, false));
        ExpectShowsSettings(*form, Caption(c.port, c.pin, false));
    }
    EXPECT_TRUE(platform.events.empty());
}

// TRISE bit 4 would make port D the parallel slave port: RE3..RE7 are no
// pins, can never be ticked, and directions stored for them stay untouched.
TEST_F(PortDialogTest, PortEOffersThreePinsAndKeepsTheRestAsStored) {
    settings.PortEDir = {0, 0, 0, 1, 1, 0, 1, 0};
    settings.PortEUsed = 1;
    auto form = Open();
    ExpectShowsSettings(*form, "opened");
    form->Chk_PortE[4].click();
    form->Chk_PortE[0].click();
    EXPECT_EQ(settings.PortEDir, (PinDirections{1, 0, 0, 1, 1, 0, 1, 0}));
    EXPECT_EQ(form->Chk_PortE[4].caption(), "RE4_OUT");
    form->Check5.click();
    form->Check5.click();
    ExpectShowsSettings(*form, "port E off and on");
}

TEST_F(PortDialogTest, UncheckingAPortGreysItOutAndKeepsItsDirections) {
    auto form = Open();
    form->Check4.click();
    form->Chk_PortD[1].click();
    form->Chk_PortD[6].click();
    const PinDirections chosen = settings.PortDDir;
    EXPECT_EQ(settings.PortDUsed, 1);

    form->Check4.click();
    EXPECT_EQ(settings.PortDUsed, 0);
    EXPECT_EQ(settings.PortDDir, chosen);
    EXPECT_FALSE(form->Frame5.enabled());
    // A greyed-out pin ignores the user.
    form->Chk_PortD[1].click();
    EXPECT_EQ(settings.PortDDir, chosen);
    ExpectShowsSettings(*form, "PortD off");

    form->Check4.click();
    EXPECT_EQ(settings.PortDDir, chosen);
    EXPECT_TRUE(form->Chk_PortD[6].checked());
    ExpectShowsSettings(*form, "PortD on again");
}

TEST_F(PortDialogTest, Timer0ClockFromRa4GuardsPortAAndRa4) {
    struct Case {
        int clockMode;
        const char* action;  // "PortA": press the use box; "RA4": untick RA4
        Titles titles;
        bool portAUsed;
        int ra4;
    };
    const Case cases[] = {
        {0, "PortA", {}, false, 1},
        {1, "PortA", {"禁止关闭RA"}, true, 1},
        {2, "PortA", {"禁止关闭RA"}, true, 1},
        {0, "RA4", {}, true, 0},
        {1, "RA4", {"RA4口已被占用"}, true, 1},
        {2, "RA4", {"RA4口已被占用"}, true, 1},
    };
    for (const auto& c : cases) {
        const std::string why = std::string(c.action) + " clock " + std::to_string(c.clockMode);
        settings = ProjectSettings{};
        platform.messages.clear();
        settings.T0ClockMode = c.clockMode;
        settings.PortADir[4] = 1;  // as the Timer0 dialog leaves it
        auto form = Open();
        form->Chk_PortA[1].click();  // a pin of the user's own that must survive

        if (std::string(c.action) == "PortA")
            form->Check1.click();
        else
            form->Chk_PortA[4].click();

        EXPECT_EQ(platform.messageTitles(), c.titles) << why;
        EXPECT_EQ(settings.PortAUsed, c.portAUsed ? 1 : 0) << why;
        EXPECT_EQ(settings.PortADir[4], c.ra4) << why;
        EXPECT_EQ(settings.PortADir[1], 1) << why;
        ExpectShowsSettings(*form, why);
    }
}

TEST_F(PortDialogTest, AnyPortAChangeRestoresRa4WhileTimer0UsesIt) {
    // A stored RA4 output under an outside clock is put right by the first
    // port A change, and the user's change itself is kept.
    settings.T0ClockMode = 1;
    auto form = Open();
    form->Chk_PortA[0].click();
    EXPECT_EQ(platform.messageTitles(), Titles{"RA4口已被占用"});
    EXPECT_EQ(settings.PortADir, (PinDirections{1, 0, 0, 0, 1, 0, 0, 0}));
    ExpectShowsSettings(*form, "RA0 ticked");
}

TEST_F(PortDialogTest, CcpModulesGuardPortCAndTheirPins) {
    struct Case {
        bool ccp1, ccp2;
        int box;            // -1 = the PortC use box, else the RC pin
        const char* title;  // nullptr: the press goes ahead
    };
    const Case cases[] = {
        {true, false, -1, "禁止关闭RC"},  {true, false, 2, "RC2口已被占用"}, {true, false, 1, nullptr},
        {true, false, 0, nullptr},        {true, false, 7, nullptr},         {false, true, -1, "禁止关闭RC"},
        {false, true, 1, "RC口已被占用"}, {false, true, 2, nullptr},         {true, true, 1, "RC口已被占用"},
        {true, true, 2, "RC2口已被占用"}, {false, false, -1, nullptr},       {false, false, 1, nullptr},
        {false, false, 2, nullptr},
    };
    for (const auto& c : cases) {
        const std::string why = "ccp1 " + std::to_string(c.ccp1) + " ccp2 " + std::to_string(c.ccp2) +
                                " box " + std::to_string(c.box);
        settings = ProjectSettings{};
        platform.messages.clear();
        settings.Ccp1En = c.ccp1;
        settings.Ccp2En = c.ccp2;
        settings.PortCUsed = 1;
        settings.PortCDir = {0, 1, 1, 0, 0, 0, 0, 0};
        auto form = Open();
        const ProjectSettings before = settings;

        CheckBox& box = c.box < 0 ? form->Check3 : form->Chk_PortC[c.box];
        const bool wasChecked = box.checked();
        box.click();

        if (c.title) {
            EXPECT_EQ(platform.messageTitles(), Titles{c.title}) << why;
            EXPECT_EQ(box.checked(), wasChecked) << why;
            EXPECT_TRUE(settings == before) << why;
        } else {
            EXPECT_TRUE(platform.messages.empty()) << why;
            EXPECT_NE(box.checked(), wasChecked) << why;
            EXPECT_FALSE(settings == before) << why;
        }
        ExpectShowsSettings(*form, why);
    }
}

TEST_F(PortDialogTest, WarningsAreTwoLineOkBoxesWithTheWarningIcon) {
    struct Case {
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"禁止关闭RA", "定时器0需使用RA4口,不可关闭\r若需关闭RA口,请先设定定时器0不为计数模式"},
        {"禁止关闭RC", "CCP1或CCP2模块需使用RC2或RC1口,不可关闭\r若需关闭RC口,请先关闭CCP1和CCP2模块"},
        {"RA4口已被占用",
         "定时器0选择了外部时钟输入,RA4必须定义为输入.\r若要定义为输出,请先将定时器0设置为使用内部时钟."},
        {"RC2口已被占用", "CCP1模块已使用RC2口,若要定义为其它用途\r请先将先关闭CCP1模块."},
        {"RC口已被占用", "CCP2模块已使用RC1口,若要定义为其它用途\r请先将先关闭CCP2模块."},
    };
    settings.T0ClockMode = 2;
    settings.PortADir[4] = 1;
    settings.Ccp1En = true;
    settings.Ccp2En = true;
    settings.PortCUsed = 1;
    auto form = Open();
    form->Check1.click();
    form->Check3.click();
    form->Chk_PortA[4].click();
    form->Chk_PortC[2].click();
    form->Chk_PortC[1].click();

    ASSERT_EQ(platform.messages.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& shown = platform.messages[i];
        EXPECT_EQ(shown.title, cases[i].title);
        EXPECT_EQ(shown.text, cases[i].text) << cases[i].title;
        EXPECT_EQ(shown.icon, MessageIcon::Warning) << cases[i].title;
        EXPECT_EQ(shown.buttons, MessageButtons::Ok) << cases[i].title;
    }
}

TEST_F(PortDialogTest, Ccp1CaptureOpensRc2AsAnInputThatCannotBeChanged) {
    // What the CCP dialog leaves behind for CCP1 in capture mode.
    settings.Ccp1En = true;
    settings.Ccp1Mode = 0;
    settings.PortCUsed = 1;
    settings.PortCDir[2] = 1;
    auto form = Open();
    EXPECT_TRUE(form->Chk_PortC[2].checked());
    EXPECT_EQ(form->Chk_PortC[2].caption(), "RC2_IN");
    EXPECT_TRUE(form->Chk_PortC[2].enabled());

    form->Chk_PortC[2].click();
    EXPECT_TRUE(form->Chk_PortC[2].checked());
    EXPECT_EQ(settings.PortCDir[2], 1);
    EXPECT_EQ(platform.messageTitles(), Titles{"RC2口已被占用"});
}

// Switching the serial port on with port C set up at its defaults makes the
// USART's pins inputs; the Port dialog then keeps them so, and port C on.
TEST_F(PortDialogTest, TheSerialPortTakesRc6AndRc7) {
    settings.PortCUsed = 1;
    SciForm sci(context);
    sci.load();
    sci.Chk_Spen.click();
    sci.Command1.click();
    EXPECT_EQ(settings.PortCDir, (PinDirections{0, 0, 0, 0, 0, 0, 1, 1}));

    auto form = Open();
    form->Chk_PortC[6].click();
    form->Chk_PortC[7].click();
    form->Check3.click();
    EXPECT_EQ(platform.messageTitles(), (Titles{"RC6口已被占用", "RC7口已被占用", "禁止关闭RC"}));
    EXPECT_EQ(platform.messages[0].text,
              "SCI串行口已使用RC6口,RC6必须定义为输入.\r若要定义为输出,请先关闭SCI串行口.");
    EXPECT_EQ(platform.messages[2].text,
              "SCI串行口需使用RC6、RC7口,不可关闭\r若需关闭RC口,请先关闭SCI串行口");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(settings.PortCDir, (PinDirections{0, 0, 0, 0, 0, 0, 1, 1}));
    EXPECT_EQ(settings.PortCUsed, 1);
    ExpectShowsSettings(*form, "after the refusals");
}

// Timer1's counter clock and oscillator pins are refused in the same way;
// the other pins of port C stay free.
TEST_F(PortDialogTest, Timer1PinsAreRefused) {
    struct Case {
        std::function<void(ProjectSettings&)> set;
        int pin;
        const char* text;
    };
    const Case cases[] = {
        {[](ProjectSettings& s) { s.T1ClockMode = 1; }, 0,
         "Timer1计数器已使用RC0口,RC0必须定义为输入.\r若要定义为输出,请先将Timer1设置为定时方式."},
        {[](ProjectSettings& s) { s.T1OscEn = 1; }, 1,
         "Timer1振荡器已使用RC1口,RC1必须定义为输入.\r若要定义为输出,请先将Timer1设置为不使用内部振荡器."},
    };
    for (const auto& c : cases) {
        settings = ProjectSettings{};
        settings.T1En = true;
        c.set(settings);
        ApplyPinClaims(settings);
        auto form = Open();
        platform.messages.clear();
        form->Chk_PortC[c.pin].click();
        form->Chk_PortC[3].click();
        ASSERT_EQ(platform.messages.size(), 1u) << c.pin;
        EXPECT_EQ(platform.messages[0].text, c.text);
        EXPECT_EQ(settings.PortCDir[static_cast<std::size_t>(c.pin)], 1);
        EXPECT_EQ(settings.PortCDir[3], 1);
        // Switched off, Timer1 holds nothing.
        settings.T1En = false;
        form->Chk_PortC[c.pin].click();
        EXPECT_EQ(settings.PortCDir[static_cast<std::size_t>(c.pin)], 0);
        EXPECT_EQ(platform.messages.size(), 1u);
    }
}

// The MSSP's pins per mode; the Port dialog refuses RC3 in every one.
TEST_F(PortDialogTest, MsspPinsFollowItsModeAndRc3IsRefused) {
    struct Case {
        std::int16_t mode;
        std::int16_t slaveSelect;
        PinDirections portC;
        std::int16_t ra5;  // RA5's direction: SS of a slave
        const char* text;
    };
    const char* const kOut = "MSSP模块已使用RC3口,RC3必须定义为输出.\r若要定义为输入,请先关闭MSSP模块.";
    const char* const kIn = "MSSP模块已使用RC3口,RC3必须定义为输入.\r若要定义为输出,请先关闭MSSP模块.";
    const Case cases[] = {
        {kMsspSpiMaster, 1, {0, 0, 0, 0, 1, 0, 0, 0}, 0, kOut},
        {kMsspSpiSlave, 1, {0, 0, 0, 1, 1, 0, 0, 0}, 1, kIn},
        {kMsspSpiSlave, 0, {0, 0, 0, 1, 1, 0, 0, 0}, 0, kIn},
        // RC5 is no I2C pin: it keeps the input it had.
        {kMsspI2cMaster, 1, {0, 0, 0, 1, 1, 1, 0, 0}, 0, kIn},
    };
    for (const auto& c : cases) {
        settings = ProjectSettings{};
        settings.PortCDir[5] = 1;
        settings.MsspEn = 1;
        settings.MsspMode = c.mode;
        settings.MsspSlaveSelect = c.slaveSelect;
        ApplyPinClaims(settings);
        const std::string why = "mode " + std::to_string(c.mode) + " SS " + std::to_string(c.slaveSelect);
        EXPECT_EQ(settings.PortCDir, c.portC) << why;
        EXPECT_EQ(settings.PortADir[5], c.ra5) << why;
        EXPECT_EQ(settings.PortCUsed, 1) << why;
        auto form = Open();
        platform.messages.clear();
        form->Chk_PortC[3].click();
        ASSERT_EQ(platform.messages.size(), 1u) << why;
        EXPECT_EQ(platform.messages[0].title, "RC3口已被占用");
        EXPECT_EQ(platform.messages[0].text, c.text) << why;
        EXPECT_EQ(settings.PortCDir[3], c.portC[3]) << why;
    }
}

// Port B's interrupts and the A/D converter keep their pins inputs and their
// port used: a refusal names the module and changes nothing; the pins they
// leave alone stay free.
TEST_F(PortDialogTest, InterruptAndAnalogPinsAreRefused) {
    const auto rb0 = [](ProjectSettings& s) { s.Rb0Int = -1; };
    const auto change = [](ProjectSettings& s) { s.RbChangeInt = -1; };
    const auto analog = [](ProjectSettings& s) {
        s.AdEn = 1;
        s.AdPcfg = 0b1000;  // AN3 VREF+, AN2 VREF-, the rest analog
        s.PortEUsed = 1;
    };
    struct Case {
        std::function<void(ProjectSettings&)> set;
        int port, pin;        // pin -1: the port's use box
        const char* caption;  // the box's, before and after the click
        const char* title;    // nullptr: the pin is free and takes the click
        const char* text;     // nullptr: the title is enough
    };
    const Case cases[] = {
        {rb0, kPortB, 0, "RB0_IN", "RB0口已被占用",
         "RB0/INT中断已使用RB0口,RB0必须定义为输入.\r若要定义为输出,请先关闭RB0/INT中断."},
        {rb0, kPortB, -1, "PortB", "禁止关闭RB",
         "RB0/INT中断需使用RB0口,不可关闭\r若需关闭RB口,请先关闭RB0/INT中断"},
        {rb0, kPortB, 4, "RB4_OUT", nullptr, nullptr},
        {change, kPortB, 5, "RB5_IN", "RB5口已被占用",
         "RB口电平变化中断已使用RB5口,RB5必须定义为输入.\r若要定义为输出,请先关闭RB口电平变化中断."},
        {change, kPortB, -1, "PortB", "禁止关闭RB",
         "RB口电平变化中断需使用RB4、RB5、RB6、RB7口,不可关闭\r若需关闭RB口,请先关闭RB口电平变化中断"},
        {change, kPortB, 0, "RB0_OUT", nullptr, nullptr},
        {analog, kPortA, 2, "RA2_AN", "RA2口已被占用", nullptr},  // VREF-, claimed too
        {analog, kPortE, 2, "RE2_AN", "RE2口已被占用", nullptr},
        {analog, kPortA, 4, "RA4_OUT", nullptr, nullptr},
        {analog, kPortE, -1, "PortE", "禁止关闭RE",
         "A/D转换模块需使用RE0、RE1、RE2口,不可关闭\r若需关闭RE口,请先在A/D转换模块中将其设为数字I/O"},
    };
    for (const Case& c : cases) {
        settings = ProjectSettings{};
        platform = FakePlatform{};
        c.set(settings);
        ApplyPinClaims(settings);
        const ProjectSettings claimed = settings;
        auto form = Open();
        auto port = form->port(c.port);
        CheckBox& box = c.pin < 0 ? port.useBox : port.pins[static_cast<std::size_t>(c.pin)];
        EXPECT_EQ(box.caption(), c.caption);
        box.click();
        if (!c.title) {
            EXPECT_TRUE(platform.messages.empty()) << c.caption;
            EXPECT_EQ(port.directions[static_cast<std::size_t>(c.pin)], 1) << c.caption;
            continue;
        }
        ASSERT_EQ(platform.messages.size(), 1u) << c.caption;
        EXPECT_EQ(platform.messages[0].title, c.title);
        if (c.text) {
            EXPECT_EQ(platform.messages[0].text, c.text);
        }
        EXPECT_EQ(settings, claimed) << c.caption;
        EXPECT_EQ(box.caption(), c.caption);
        // Analog pins have captions of their own; the rest keep the rule.
        if (settings.AdEn == 0) ExpectShowsSettings(*form, c.caption);
    }
}

TEST_F(PortDialogTest, ReopeningShowsTheStateLeftBehind) {
    auto form = Open();
    form->Chk_PortA[1].click();
    form->Chk_PortB[3].click();
    form->Check3.click();
    form->Chk_PortC[7].click();
    form->Chk_PortC[0].click();
    form->Check5.click();
    form->Chk_PortE[2].click();
    form->Check5.click();  // greyed out again, directions kept
    form->Check2.click();
    form->Command1.click();
    EXPECT_TRUE(form->unloaded());
    const ProjectSettings leftBehind = settings;
    EXPECT_EQ(settings.PortEDir[2], 1);
    EXPECT_EQ(settings.PortEUsed, 0);
    EXPECT_EQ(settings.PortBUsed, 0);

    auto reopened = Open();
    EXPECT_TRUE(settings == leftBehind);
    ExpectShowsSettings(*reopened, "reopened");
    EXPECT_TRUE(platform.events.empty());
}

TEST_F(PortDialogTest, RestoringUnderAnOutsideClockShowsNoWarning) {
    struct Case {
        int clockMode;
        PinDirections portA;
    };
    // Inputs below RA4 are restored before RA4 itself; the last case is a
    // stored RA4 output, which opening must not change either.
    const Case cases[] = {
        {1, {1, 0, 1, 0, 1, 0, 0, 1}},
        {2, {0, 0, 0, 1, 1, 0, 0, 0}},
        {2, {1, 1, 1, 1, 1, 1, 1, 1}},
        {1, {1, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        settings = ProjectSettings{};
        settings.T0ClockMode = c.clockMode;
        settings.PortADir = c.portA;
        const ProjectSettings stored = settings;
        auto form = Open();
        EXPECT_TRUE(platform.messages.empty()) << c.clockMode;
        EXPECT_TRUE(settings == stored);
        ExpectShowsSettings(*form, "restored");
    }
}

TEST_F(PortDialogTest, OpeningNeverChangesAnyStoredPortState) {
    // Whatever the other dialogs and earlier openings left, opening shows it
    // as it is: no warning, no setting touched.
    std::mt19937 random(20240);
    std::bernoulli_distribution coin;
    for (int round = 0; round < 200; ++round) {
        settings = ProjectSettings{};
        settings.T0ClockMode = static_cast<int>(random() % 3);
        settings.Ccp1En = coin(random);
        settings.Ccp2En = coin(random);
        for (auto* used : {&settings.PortAUsed, &settings.PortBUsed, &settings.PortCUsed, &settings.PortDUsed,
                           &settings.PortEUsed})
            *used = coin(random) ? 1 : 0;
        for (auto* port : {&settings.PortADir, &settings.PortBDir, &settings.PortCDir, &settings.PortDDir,
                           &settings.PortEDir, &settings.PortALevel, &settings.PortBLevel,
                           &settings.PortCLevel, &settings.PortDLevel, &settings.PortELevel})
            for (auto& pin : *port) pin = coin(random) ? 1 : 0;
        const ProjectSettings stored = settings;
        auto form = Open();
        ASSERT_TRUE(platform.messages.empty()) << "round " << round;
        ASSERT_TRUE(settings == stored) << "round " << round;
        ExpectShowsSettings(*form, "round " + std::to_string(round));
    }
}

// An output's start level: stored at a click, kept (greyed out) while the
// pin is an input or its port unused, refused on a pin a module drives.
TEST_F(PortDialogTest, StartLevelsOfOutputs) {
    settings.Ccp1En = true;
    settings.Ccp1Mode = 1;  // compare: CCP1 drives RC2
    ApplyPinClaims(settings);
    auto form = Open();
    form->Chk_LevelA[4].click();
    form->Chk_LevelB[0].click();
    EXPECT_EQ(settings.PortALevel, (PinLevels{0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(settings.PortBLevel, (PinLevels{1, 0, 0, 0, 0, 0, 0, 0}));
    ExpectShowsSettings(*form, "RA4 and RB0 high");

    form->Chk_PortB[0].click();  // RB0 an input: its level waits, greyed out
    form->Chk_LevelB[0].click();
    EXPECT_EQ(settings.PortBLevel[0], 1);
    form->Check2.click();
    ExpectShowsSettings(*form, "RB0 an input, port B unused");
    form->Check2.click();
    form->Chk_PortB[0].click();
    ExpectShowsSettings(*form, "RB0 an output again");

    form->Chk_LevelC[3].click();
    EXPECT_TRUE(platform.messages.empty());
    form->Chk_LevelC[2].click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "RC2口已被占用");
    EXPECT_EQ(settings.PortCLevel, (PinLevels{0, 0, 0, 1, 0, 0, 0, 0}));
    ExpectShowsSettings(*form, "RC2 refused");
}

}  // namespace
}  // namespace korvane
