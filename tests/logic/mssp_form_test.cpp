#include "dialogs/mssp_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fake_platform.h"
#include "settings/chip_facts.h"
#include "settings/mssp.h"
#include "settings/output_form.h"

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

namespace korvane {
namespace {

// The drivers' box counts for a master mode in a form with drivers; the
// cost follows the mode, and a click is stored at once.
TEST_F(MsspDialogTest, DriversChoiceFollowsTheModeAndTheForm) {
    struct Case {
        OutputFormId form;
        std::int16_t used, mode, drivers;
        bool boxUsable, costUsable;
    };
    const Case cases[] = {
        {OutputFormId::Classic, 1, kMsspI2cMaster, 1, false, false},
        {OutputFormId::Sdcc, 0, kMsspI2cMaster, 1, false, false},
        {OutputFormId::Sdcc, 1, kMsspSpiSlave, 1, false, false},
        {OutputFormId::Sdcc, 1, kMsspSpiMaster, 0, true, false},
        {OutputFormId::Xc8, 1, kMsspI2cMaster, 1, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.form) * 100 + c.used * 10 + c.mode);
        settings = ProjectSettings{};
        settings.OutputForm = static_cast<std::int16_t>(c.form);
        settings.MsspEn = c.used;
        settings.MsspMode = c.mode;
        settings.MsspDrivers = c.drivers;
        auto form = Open();
        EXPECT_EQ(form->Drivers.Chk_Drivers.enabled(), c.boxUsable);
        EXPECT_EQ(form->Drivers.Lbl_DriverCost.enabled(), c.costUsable);
    }
    settings = ProjectSettings{};
    settings.OutputForm = static_cast<std::int16_t>(OutputFormId::Sdcc);
    settings.MsspEn = 1;
    settings.MsspMode = kMsspI2cMaster;
    auto form = Open();
    const std::string i2cCost = form->Drivers.Lbl_DriverCost.caption();
    form->Opt_Mode.click(kMsspSpiMaster);
    EXPECT_NE(form->Drivers.Lbl_DriverCost.caption(), i2cCost);
    form->Drivers.Chk_Drivers.click();
    EXPECT_EQ(settings.MsspDrivers, 0);
    EXPECT_FALSE(form->Drivers.Lbl_DriverCost.enabled());
}

}  // namespace
}  // namespace korvane
