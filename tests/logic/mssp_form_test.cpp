#include "dialogs/mssp_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fake_platform.h"
#include "settings/chip_facts.h"
#include "settings/mssp.h"

namespace korvane {
namespace {

class MsspDialogTest : public FormFixture<MsspForm> {
protected:
    // Which of the mode-dependent rows are open, as letters: clock, SS,
    // timing, SMP, I2C, bus collision.
    static std::string Rows(const MsspForm& f) {
        std::string rows;
        for (bool on : {f.Fra_SpiClock.enabled(), f.Chk_Ss.enabled(), f.Fra_Ckp.enabled(),
                        f.Chk_Smp.enabled(), f.Fra_I2c.enabled(), f.Chk_BclIE.enabled()})
            rows += on ? "x" : ".";
        return rows;
    }
};

// Off, nothing but the use box and the buttons is open, and the interrupt
// boxes of an unused module are cleared with their settings.
TEST_F(MsspDialogTest, EachModeOpensItsRows) {
    settings.MsspInt = settings.MsspBclInt = -1;
    auto form = Open();
    EXPECT_EQ(Rows(*form), "......");
    EXPECT_FALSE(form->Fra_Mode.enabled() || form->Chk_SspIE.enabled());
    EXPECT_TRUE(form->Chk_SspEn.enabled() && form->Command1.enabled());
    EXPECT_EQ(settings.MsspInt, 0);
    EXPECT_EQ(settings.MsspBclInt, 0);

    form->Chk_SspEn.click();
    const struct {
        int mode;
        const char* rows;
    } cases[] = {{kMsspSpiMaster, "x.xx.."}, {kMsspSpiSlave, ".xx..."}, {kMsspI2cMaster, "....xx"}};
    for (const auto& c : cases) {
        form->Opt_Mode.click(c.mode);
        EXPECT_EQ(settings.MsspMode, c.mode);
        EXPECT_EQ(Rows(*form), c.rows) << c.mode;
    }
    form->Chk_BclIE.click();
    EXPECT_EQ(settings.MsspBclInt, kInterruptOn);
    // Leaving I2C clears the bus-collision interrupt.
    form->Opt_Mode.click(kMsspSpiMaster);
    EXPECT_EQ(settings.MsspBclInt, 0);
}

// The two bus speeds set the rate and the slew-rate control they want; a
// typed rate is worked out by the button, and a refused one is told.
TEST_F(MsspDialogTest, BusSpeedsAndTheCalculator) {
    settings.MsspEn = 1;
    settings.MsspMode = kMsspI2cMaster;
    auto form = Open();
    EXPECT_EQ(form->Txt_Sspadd.text(), "0x09");
    EXPECT_TRUE(form->Txt_I2cKHz.readOnly());

    form->Opt_I2cSpeed.click(1);
    EXPECT_EQ(form->Txt_I2cKHz.text(), "400");
    EXPECT_EQ(settings.MsspSlewControl, 1);
    EXPECT_EQ(settings.MsspSspadd, 2);
    EXPECT_EQ(form->Txt_Actual.text(), "333.333");
    EXPECT_EQ(form->Txt_Error.text(), "-16.667");
    form->Opt_I2cSpeed.click(0);
    EXPECT_EQ(settings.MsspSlewControl, 0);

    form->Opt_I2cSpeed.click(kI2cTypedSpeed);
    EXPECT_FALSE(form->Txt_I2cKHz.readOnly());
    form->Txt_I2cKHz.setText("5");
    EXPECT_EQ(settings.MsspI2cKHz, SettingValue("5"));
    EXPECT_TRUE(platform.messages.empty());
    form->Command2.click();
    EXPECT_EQ(platform.messageTitles(), (std::vector<std::string>{"超出I2C速率范围"}));
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(settings.MsspSspadd, -1);
    EXPECT_EQ(form->Txt_Sspadd.text(), "");

    // Closing works it out once more and says so again.
    form->Command1.click();
    EXPECT_TRUE(form->unloaded());
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(settings.MsspSspadd, -1);
}

}  // namespace
}  // namespace korvane
