#include "dialogs/sci_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "settings/output_form.h"

namespace korvane {
namespace {

using Items = std::vector<std::string>;

const char* const kNoRateTitle = "不使用SCI串行口退出";
std::string NoRateText(const std::string& crystal) {
    return crystal +
           "M晶振在此方式下无可用波特率\r"
           "退出后将不使用串口,请通过菜单设置晶振后再进行设置,或可以\r"
           "尝试使用其它工作方式或加大误差限制范围来获得可用波特率.";
}

class SciDialogTest : public FormFixture<SciForm> {
protected:
    // The controls whose enabling the rules decide, by name.
    static std::map<std::string, bool> Enabling(SciForm& f) {
        std::map<std::string, bool> state;
        for (Control* c : std::initializer_list<Control*>{
                 &f.Fra_Mode,      &f.Fra_Baud,     &f.Fra_Tx,   &f.Chk_TxEn, &f.Chk_TxIE, &f.Fra_TxLen,
                 &f.Fra_Osc,       &f.Fra_Rx,       &f.Chk_RxEn, &f.Chk_Sren, &f.Chk_RcIE, &f.Fra_RxLen,
                 &f.Fra_Continuum, &f.Fra_BaudCal,  &f.Label1,   &f.Label2,   &f.Label3,   &f.Label4,
                 &f.Label5,        &f.Label6,       &f.List1,    &f.List2,    &f.List3,    &f.Txt_Err,
                 &f.Txt_Osc,       &f.Combo_UseBaud})
            state[c->name()] = c->enabled();
        for (OptionGroup* g :
             {&f.Opt_Sync, &f.Opt_Baud, &f.Opt_Tx89, &f.Opt_TxSyncOsc, &f.Opt_Rx89, &f.Opt_ContinuumEn})
            for (int i = 0; i < g->count(); ++i) state[g->name() + std::to_string(i)] = g->enabled(i);
        return state;
    }

    // Everything the dialog shows, to compare two ways of reaching a state.
    static std::string Shown(SciForm& f) {
        std::string shown;
        for (const auto& [name, enabled] : Enabling(f)) shown += name + (enabled ? "+ " : "- ");
        for (CheckBox* b : {&f.Chk_Spen, &f.Chk_TxEn, &f.Chk_TxIE, &f.Chk_RxEn, &f.Chk_Sren, &f.Chk_RcIE})
            shown += b->name() + "=" + std::to_string(b->value()) + " ";
        for (OptionGroup* g :
             {&f.Opt_Sync, &f.Opt_Baud, &f.Opt_Tx89, &f.Opt_TxSyncOsc, &f.Opt_Rx89, &f.Opt_ContinuumEn})
            shown += g->name() + "=" + std::to_string(g->selected()) + " ";
        for (ListBox* l : {&f.List1, &f.List2, &f.List3})
            for (const auto& item : l->items()) shown += item + ",";
        return shown + f.Combo_UseBaud.text() + " " + f.Txt_Brg.text() + " " + f.Txt_Err.text();
    }
};

TEST_F(SciDialogTest, OpensSwitchedOffWithOnlyTheCoreControlsUsable) {
    settings.SciTxInt = 1;
    settings.SciRxInt = 1;
    settings.SciBaud = "9600";
    settings.SciSpbrgText = "0x19";
    auto f = Open();

    EXPECT_EQ(f->name(), "sci");
    EXPECT_EQ(f->caption(), "SCI(串行通信接口)设置");
    EXPECT_EQ(f->Opt_Baud.caption(1), "高速波特率");  // captions by index, not by place

    for (const auto& [name, enabled] : Enabling(*f)) EXPECT_FALSE(enabled) << name;
    for (Control* c :
         std::initializer_list<Control*>{&f->Chk_Spen, &f->Command1, &f->Command2, &f->Label7, &f->Txt_Brg})
        EXPECT_TRUE(c->enabled()) << c->name();
    EXPECT_TRUE(f->List1.items().empty());
    EXPECT_TRUE(f->Combo_UseBaud.items().empty());
    EXPECT_EQ(f->Txt_Brg.text(), "No");
    EXPECT_EQ(f->Txt_Err.text(), "0.2");
    EXPECT_EQ(f->Txt_Osc.text(), "4");
    EXPECT_TRUE(f->Txt_Osc.readOnly());
    EXPECT_FALSE(f->Chk_TxIE.checked());
    EXPECT_TRUE(settings.SciTxInt.equals(0));
    EXPECT_EQ(settings.SciRxInt, 0);
    // Nothing was calculated while the port is off.
    EXPECT_EQ(settings.SciBaud, "9600");
    EXPECT_EQ(settings.SciSpbrgText, SettingValue("0x19"));

    f->Command1.click();
    EXPECT_TRUE(f->unloaded());
    EXPECT_TRUE(platform.events.empty());
}

TEST_F(SciDialogTest, SwitchingOnListsTheRatesAndChoosesTheSlowest) {
    auto f = Open();
    f->Chk_Spen.click();
    EXPECT_TRUE(settings.SciEn.equals(1));
    EXPECT_EQ(f->BaudDivisor, 16);
    EXPECT_EQ(f->List1.items(), (Items{"19200", "9600", "4800", "2400", "1200"}));
    EXPECT_EQ(f->List2.items(), (Items{"0x0C", "0x19", "0x33", "0x67", "0xCF"}));
    EXPECT_EQ(f->List3.items(),
              (Items{"19,230.76923", "9,615.38462", "4,807.69231", "2,403.84615", "1,201.92308"}));
    EXPECT_EQ(f->Combo_UseBaud.items(), f->List1.items());
    EXPECT_EQ(f->Combo_UseBaud.text(), "1200");
    EXPECT_EQ(f->Txt_Brg.text(), "0xCF");
    EXPECT_EQ(settings.SciBaud, "1200");
    EXPECT_EQ(settings.SciSpbrgText, SettingValue("0xCF"));

    struct Step {
        std::function<void(SciForm&)> act;
        int divisor;
        Items rates;
        const char* chosenSpbrg;
    };
    const Step steps[] = {
        {[](SciForm& d) { d.Opt_Baud.click(0); }, 64, {"4800", "2400", "1200", "600", "300"}, "0xCF"},
        {[](SciForm& d) { d.Opt_Sync.click(1); }, 4, {"38400", "19200", "9600", "4800"}, "0xCF"},
        // Back to asynchronous: the low speed chosen before still applies.
        {[](SciForm& d) { d.Opt_Sync.click(0); }, 64, {"4800", "2400", "1200", "600", "300"}, "0xCF"},
        {[](SciForm& d) { d.Opt_Baud.click(1); }, 16, {"19200", "9600", "4800", "2400", "1200"}, "0xCF"},
    };
    for (const auto& step : steps) {
        step.act(*f);
        EXPECT_EQ(f->BaudDivisor, step.divisor);
        EXPECT_EQ(f->List1.items(), step.rates);
        EXPECT_EQ(settings.SciBaud, step.rates.back());
        EXPECT_EQ(settings.SciSpbrgText, SettingValue(step.chosenSpbrg));
    }
    EXPECT_EQ(settings.SciHighSpeed, 1);
    EXPECT_TRUE(settings.SciSyncMode.equals(0));

    // Unticking clears the lists; closing then needs no message.
    f->Chk_Spen.click();
    EXPECT_TRUE(f->List1.items().empty());
    EXPECT_TRUE(f->List3.items().empty());
    EXPECT_TRUE(f->Combo_UseBaud.items().empty());
    EXPECT_EQ(f->Combo_UseBaud.text(), "");
    EXPECT_EQ(f->Txt_Brg.text(), "No");
    f->Command1.click();
    EXPECT_TRUE(platform.events.empty());
}

TEST_F(SciDialogTest, PickingARateStoresItAndItsSpbrg) {
    settings.SciEn = 1;
    auto f = Open();
    const std::pair<int, const char*> picks[] = {{0, "19200 0x0C"}, {2, "4800 0x33"}, {4, "1200 0xCF"}};
    for (const auto& [index, expected] : picks) {
        f->Combo_UseBaud.pick(index);
        EXPECT_EQ(f->Combo_UseBaud.text() + " " + f->Txt_Brg.text(), expected);
        EXPECT_EQ(settings.SciBaud + " " + settings.SciSpbrgText.toText(), expected);
    }
}

TEST_F(SciDialogTest, TheErrorLimitCountsOnlyWhenCalculating) {
    settings.SciEn = 1;
    auto f = Open();
    f->Txt_Err.setText("2");
    EXPECT_EQ(settings.SciErrLimit, SettingValue("2"));
    EXPECT_EQ(f->List2.items().back(), "0xCF");  // not recalculated yet
    f->Command2.click();
    EXPECT_EQ(f->List2.items(), (Items{"0x0C", "0x19", "0x33", "0x66", "0xCC"}));
    EXPECT_EQ(f->List3.items()[3], "2,427.18447");
    EXPECT_EQ(settings.SciSpbrgText, SettingValue("0xCC"));

    // An emptied box is 0 at once, in the box and as the number 0.
    f->Txt_Err.setText("");
    EXPECT_EQ(f->Txt_Err.text(), "0");
    EXPECT_EQ(settings.SciErrLimit, SettingValue(0));
    EXPECT_EQ(settings.SciErrLimit.kind(), SettingValue::Kind::Int16);

    // At 0 % nothing is exact at 4 MHz: the lists empty, the choice stays.
    f->Command2.click();
    EXPECT_TRUE(f->List1.items().empty());
    EXPECT_EQ(f->Txt_Brg.text(), "No");
    EXPECT_EQ(settings.SciBaud, "1200");
    EXPECT_EQ(settings.SciSpbrgText, SettingValue("0xCC"));

    for (int key : {48, 57, 46, 8}) EXPECT_EQ(f->Txt_Err.keyPress(key), key);
    for (int key : {45, 101, 44, 32, 13, 27}) EXPECT_EQ(f->Txt_Err.keyPress(key), 0);
}

TEST_F(SciDialogTest, ClosingWithNoUsableRateSwitchesOnlyThePortOff) {
    struct Case {
        float crystal;
        const char* limit;  // set in the box before calculating
        const char* shown;
    };
    const Case cases[] = {
        {4, "0", "4"},
        {4, "1.2.3", "4"},  // pasted past the key filter: no number, no rate
        {3.6864f, ".", "3.6864"},
        {11.0592f, "abc", "11.0592"},
        {0, "0.2", "0"},
        {-4, "0.2", "-4"},
        {3000, "0.2", "3000"},  // does not fit in whole Hz: taken as no usable rate
        {1e20f, "0.2", "1E+20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.shown) + " " + c.limit);
        settings = ProjectSettings{};
        settings.CrystalMHz = c.crystal;
        settings.SciEn = 1;
        settings.SciBaud = "9600";
        settings.SciSpbrgText = "0x19";
        platform.messages.clear();
        auto f = Open();
        f->Txt_Err.setText(c.limit);
        f->Command2.click();
        EXPECT_EQ(f->Txt_Brg.text(), "No");
        EXPECT_TRUE(f->List1.items().empty());
        f->Chk_TxIE.click();
        ASSERT_TRUE(settings.SciTxInt.equals(1));
        const ProjectSettings before = settings;

        f->Command1.click();
        ASSERT_EQ(platform.messages.size(), 1u);
        const auto& m = platform.messages.front();
        EXPECT_EQ(m.title, kNoRateTitle);
        EXPECT_EQ(m.text, NoRateText(c.shown));
        EXPECT_EQ(m.icon, MessageIcon::Information);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_TRUE(f->unloaded());
        ProjectSettings expected = before;
        expected.SciEn = 0;
        EXPECT_TRUE(settings == expected);

        // The next opening clears the interrupt boxes, the port being off.
        Open();
        EXPECT_TRUE(settings.SciTxInt.equals(0));
    }
}

TEST_F(SciDialogTest, EachControlStoresItsSetting) {
    struct Case {
        const char* what;
        bool synchronous;
        std::function<void(SciForm&)> act;
        std::function<std::string(const ProjectSettings&)> stored;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"TXEN", false, [](SciForm& f) { f.Chk_TxEn.click(); },
         [](const ProjectSettings& s) { return s.SciTxEn.toText(); }, "1", "0"},
        {"TXIE", false, [](SciForm& f) { f.Chk_TxIE.click(); },
         [](const ProjectSettings& s) { return s.SciTxInt.toText(); }, "0", "1"},
        {"TX9", false, [](SciForm& f) { f.Opt_Tx89.click(1); },
         [](const ProjectSettings& s) { return s.SciTx9.toText(); }, "0", "1"},
        {"CSRC", true, [](SciForm& f) { f.Opt_TxSyncOsc.click(0); },
         [](const ProjectSettings& s) { return s.SciClockSource.toText(); }, "1", "0"},
        {"CREN async", false, [](SciForm& f) { f.Chk_RxEn.click(); },
         [](const ProjectSettings& s) { return s.SciRxEn.toText(); }, "1", "0"},
        {"SREN", true, [](SciForm& f) { f.Chk_Sren.click(); },
         [](const ProjectSettings& s) { return s.SciSingleRx.toText(); }, "1", "0"},
        {"RCIE", false, [](SciForm& f) { f.Chk_RcIE.click(); },
         [](const ProjectSettings& s) { return std::to_string(s.SciRxInt); }, "0", "1"},
        {"RX9", false, [](SciForm& f) { f.Opt_Rx89.click(1); },
         [](const ProjectSettings& s) { return s.SciRx9.toText(); }, "0", "1"},
        {"CREN sync", true, [](SciForm& f) { f.Opt_ContinuumEn.click(0); },
         [](const ProjectSettings& s) { return s.SciContinuous.toText(); }, "1", "0"},
        {"SYNC", false, [](SciForm& f) { f.Opt_Sync.click(1); },
         [](const ProjectSettings& s) { return s.SciSyncMode.toText(); }, "0", "1"},
        {"BRGH", false, [](SciForm& f) { f.Opt_Baud.click(0); },
         [](const ProjectSettings& s) { return std::to_string(s.SciHighSpeed); }, "1", "0"},
        {"SPEN", false, [](SciForm& f) { f.Chk_Spen.click(); },
         [](const ProjectSettings& s) { return s.SciEn.toText(); }, "1", "0"},
        {"limit", false, [](SciForm& f) { f.Txt_Err.setText("1.5"); },
         [](const ProjectSettings& s) { return s.SciErrLimit.toText(); }, "0.2", "1.5"},
    };
    for (const auto& c : cases) {
        settings = ProjectSettings{};
        settings.SciEn = 1;
        settings.SciSyncMode = c.synchronous ? 1 : 0;
        auto f = Open();
        EXPECT_EQ(c.stored(settings), c.before) << c.what;
        c.act(*f);
        EXPECT_EQ(c.stored(settings), c.after) << c.what;
    }
}

// Whatever way a state is reached, clicking there or opening on it, the
// dialog shows the same; the table gives what the rules enable.
TEST_F(SciDialogTest, EnablingFollowsModeAndReceiveOptions) {
    struct Case {
        const char* what;
        std::function<void(SciForm&)> clicks;  // from the defaults with the port on
        bool baud, osc, rxEn, sren, continuum, txIE, rcIE;
    };
    const Case cases[] = {
        {"asynchronous", [](SciForm&) {}, true, false, true, false, false, true, true},
        {"asynchronous, receive off", [](SciForm& f) { f.Chk_RxEn.click(); }, true, false, true, false, false,
         true, false},
        {"asynchronous, single receive off", [](SciForm& f) { f.Chk_Sren.setChecked(false); }, true, false,
         true, false, false, true, true},
        {"asynchronous, transmit off", [](SciForm& f) { f.Chk_TxEn.click(); }, true, false, true, false,
         false, false, true},
        {"synchronous", [](SciForm& f) { f.Opt_Sync.click(1); }, false, true, false, true, true, true, true},
        {"synchronous, single receive off, continuous on",
         [](SciForm& f) {
             f.Opt_Sync.click(1);
             f.Chk_Sren.click();
         },
         false, true, false, true, true, true, false},
        {"synchronous, receive enable off (it does not count there)",
         [](SciForm& f) {
             f.Chk_RxEn.click();
             f.Opt_Sync.click(1);
         },
         false, true, false, true, true, true, true},
        {"synchronous slave",
         [](SciForm& f) {
             f.Opt_Sync.click(1);
             f.Opt_TxSyncOsc.click(0);
         },
         false, true, false, true, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        settings = ProjectSettings{};
        settings.SciEn = 1;
        auto clicked = Open();
        c.clicks(*clicked);
        const auto on = Enabling(*clicked);
        for (const auto& [name, enabled] : on) {
            bool expected = true;
            if (name == "Fra_Baud" || name.rfind("Opt_Baud", 0) == 0) expected = c.baud;
            if (name == "Fra_Osc" || name.rfind("Opt_TxSyncOsc", 0) == 0) expected = c.osc;
            if (name == "Chk_RxEn") expected = c.rxEn;
            if (name == "Chk_Sren") expected = c.sren;
            if (name == "Fra_Continuum" || name.rfind("Opt_ContinuumEn", 0) == 0) expected = c.continuum;
            if (name == "Chk_TxIE") expected = c.txIE;
            if (name == "Chk_RcIE") expected = c.rcIE;
            EXPECT_EQ(enabled, expected) << name;
        }
        // A box closed by the rules is unticked and its interrupt is off.
        if (!c.txIE) {
            EXPECT_TRUE(settings.SciTxInt.equals(0));
        }
        if (!c.rcIE) {
            EXPECT_EQ(settings.SciRxInt, 0);
        }

        auto reopened = Open();
        EXPECT_EQ(Shown(*reopened), Shown(*clicked));
    }
}

TEST_F(SciDialogTest, InterruptBoxesFollowTheirEnables) {
    settings.SciEn = 1;
    auto f = Open();
    f->Chk_TxIE.click();
    f->Chk_RcIE.click();
    ASSERT_TRUE(settings.SciTxInt.equals(1));
    ASSERT_EQ(settings.SciRxInt, 1);

    f->Chk_TxEn.click();
    EXPECT_FALSE(f->Chk_TxIE.enabled());
    EXPECT_FALSE(f->Chk_TxIE.checked());
    EXPECT_TRUE(settings.SciTxInt.equals(0));
    f->Chk_TxEn.click();
    EXPECT_TRUE(f->Chk_TxIE.enabled());
    EXPECT_FALSE(f->Chk_TxIE.checked());

    // Receive enable is kept through a synchronous spell; only RCIE is lost.
    f->Chk_RxEn.click();
    EXPECT_EQ(settings.SciRxInt, 0);
    f->Opt_Sync.click(1);
    f->Opt_Sync.click(0);
    EXPECT_TRUE(settings.SciRxEn.equals(0));
    EXPECT_FALSE(f->Chk_RxEn.checked());
    EXPECT_TRUE(f->Chk_RxEn.enabled());
    EXPECT_FALSE(f->Chk_RcIE.enabled());

    // Loaded with transmit off, a stored transmit interrupt is cleared.
    settings.SciTxEn = 0;
    settings.SciTxInt = 1;
    auto reopened = Open();
    EXPECT_FALSE(reopened->Chk_TxIE.enabled());
    EXPECT_TRUE(settings.SciTxInt.equals(0));
}

// The rate chosen in an earlier opening stays chosen, with its SPBRG for the
// crystal of the day, for as long as it is usable.
TEST_F(SciDialogTest, ReopeningKeepsTheChosenRateWhileItIsUsable) {
    struct Case {
        const char* picked;
        float newCrystal;
        const char* chosen;  // "rate spbrg" after reopening
    };
    const Case cases[] = {
        {"9600", 4, "9600 0x19"},   {"19200", 4, "19200 0x0C"}, {"9600", 20, "9600 0x81"},
        {"19200", 8, "19200 0x19"}, {"2400", 20, "9600 0x81"},  // gone: the slowest usable rate instead
    };
    for (const auto& c : cases) {
        settings = ProjectSettings{};
        settings.SciEn = 1;
        auto f = Open();
        for (std::size_t i = 0; i < f->Combo_UseBaud.items().size(); ++i)
            if (f->Combo_UseBaud.items()[i] == c.picked) f->Combo_UseBaud.pick(static_cast<int>(i));
        ASSERT_EQ(settings.SciBaud, c.picked);
        f->Command1.click();

        settings.CrystalMHz = c.newCrystal;
        auto reopened = Open();
        EXPECT_EQ(settings.SciBaud + " " + settings.SciSpbrgText.toText(), c.chosen) << c.picked;
        EXPECT_EQ(reopened->Combo_UseBaud.text() + " " + reopened->Txt_Brg.text(), c.chosen) << c.picked;
    }
    EXPECT_TRUE(platform.events.empty());
}

TEST_F(SciDialogTest, OpeningAndClosingUntouchedChangesNothing) {
    settings.CrystalMHz = 11.0592f;
    auto first = Open();
    first->Chk_Spen.click();
    first->Txt_Err.setText("");  // the number 0: only exact rates
    first->Command2.click();
    first->Combo_UseBaud.pick(4);
    ASSERT_EQ(settings.SciBaud + " " + settings.SciSpbrgText.toText(), "9600 0x47");
    first->Command1.click();
    const ProjectSettings before = settings;

    auto again = Open();
    EXPECT_EQ(again->Combo_UseBaud.text(), "9600");
    EXPECT_EQ(again->Txt_Brg.text(), "0x47");
    again->Command1.click();
    EXPECT_EQ(settings, before);
    EXPECT_TRUE(platform.events.empty());
}

TEST_F(SciDialogTest, CalculatingWhileOffStillFillsTheLists) {
    auto f = Open();
    f->Command2.click();
    EXPECT_EQ(f->List1.items().size(), 5u);
    EXPECT_FALSE(f->List1.enabled());
    EXPECT_EQ(settings.SciBaud, "1200");
    EXPECT_EQ(settings.SciSpbrgText, SettingValue("0xCF"));
    EXPECT_TRUE(settings.SciEn.equals(0));
    f->Command1.click();
    EXPECT_TRUE(platform.events.empty());
}

}  // namespace
}  // namespace korvane

namespace korvane {
namespace {

// The drivers' box counts only for a port in use in a form with drivers; its
// buffer sizes only while it is ticked, and they are stored as picked.
TEST_F(SciDialogTest, DriversChoiceFollowsThePortAndTheForm) {
    struct Case {
        OutputFormId form;
        bool used, drivers;
        bool boxUsable, sizesUsable;
    };
    const Case cases[] = {
        {OutputFormId::Classic, true, true, false, false},
        {OutputFormId::Sdcc, false, true, false, false},
        {OutputFormId::Sdcc, true, false, true, false},
        {OutputFormId::Xc8, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.form) * 4 + c.used * 2 + c.drivers);
        settings = ProjectSettings{};
        settings.OutputForm = static_cast<std::int16_t>(c.form);
        settings.SciEn = c.used ? 1 : 0;
        settings.SciDrivers = c.drivers;
        auto form = Open();
        EXPECT_EQ(form->Drivers.Chk_Drivers.enabled(), c.boxUsable);
        EXPECT_EQ(form->Combo_RxBuffer.enabled(), c.sizesUsable);
        EXPECT_EQ(form->Combo_TxBuffer.enabled(), c.sizesUsable);
    }
    settings = ProjectSettings{};
    settings.OutputForm = static_cast<std::int16_t>(OutputFormId::Sdcc);
    settings.SciEn = 1;
    auto form = Open();
    form->Combo_RxBuffer.pick(4);
    form->Combo_TxBuffer.pick(0);
    form->Drivers.Chk_Drivers.click();
    EXPECT_EQ(settings.SciRxBuffer, 64);
    EXPECT_EQ(settings.SciTxBuffer, 4);
    EXPECT_EQ(settings.SciDrivers, 0);
    EXPECT_FALSE(form->Combo_RxBuffer.enabled());
}

}  // namespace
}  // namespace korvane
