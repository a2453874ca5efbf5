#include "controls/controls.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "controls/form.h"

namespace korvane {
namespace {

// Counts handler runs and view notifications of one model.
struct Recorder {
    std::vector<std::string> calls;
    int notifications = 0;
    template <class Model>
    void watch(Model& model) {
        model.observe([this](Change) { ++notifications; });
    }
};

TEST(CheckBoxModel, HandlerRunsOnEveryChangeWhoeverMadeIt) {
    struct Case {
        const char* what;
        bool refuse;
        std::vector<std::string> steps;  // "set1", "set0", "click"
        bool checked;
        int handlerRuns;
    };
    const Case cases[] = {
        {"code ticks", false, {"set1"}, true, 1},
        {"same value again raises nothing", false, {"set1", "set1"}, true, 1},
        {"user click toggles", false, {"click", "click"}, false, 2},
        {"refused press changes nothing", true, {"click"}, false, 0},
        {"code may still change a guarded box", true, {"set1"}, true, 1},
    };
    for (const auto& c : cases) {
        CheckBox box("Chk_Test", "测试");
        int runs = 0;
        int presses = 0;
        box.onClick = [&] { ++runs; };
        box.onPress = [&] {
            ++presses;
            return !c.refuse;
        };
        for (const auto& step : c.steps) {
            if (step == "set1") box.setChecked(true);
            if (step == "set0") box.setChecked(false);
            if (step == "click") box.click();
        }
        EXPECT_EQ(box.checked(), c.checked) << c.what;
        EXPECT_EQ(box.value(), c.checked ? 1 : 0) << c.what;
        EXPECT_EQ(runs, c.handlerRuns) << c.what;
    }
}

TEST(CheckBoxModel, UnreachableBoxIgnoresTheUserButNotTheProgram) {
    CheckBox box("Chk_Test");
    int runs = 0;
    box.onClick = [&] { ++runs; };
    box.setEnabled(false);
    box.click();
    EXPECT_FALSE(box.checked());
    box.setEnabled(true);
    box.setVisible(false);
    EXPECT_FALSE(box.press());
    box.setChecked(true);
    EXPECT_TRUE(box.checked());
    EXPECT_EQ(runs, 1);
}

TEST(CheckBoxModel, HandlerSeesTheNewStateAndMayUndoIt) {
    // The reservation rules undo a change from inside the handler.
    CheckBox box("Chk_RA4");
    box.setChecked(true);
    std::vector<bool> seen;
    box.onClick = [&] {
        seen.push_back(box.checked());
        if (!box.checked()) box.setChecked(true);
    };
    box.click();
    EXPECT_TRUE(box.checked());
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));
}

TEST(OptionGroupModel, SelectionRaisesTheIndexOnce) {
    OptionGroup group("Opt_Ccp1M", {"a", "b", "c", "d"}, 4);
    std::vector<int> clicks;
    group.onClick = [&](int index) { clicks.push_back(index); };
    EXPECT_EQ(group.selected(), OptionGroup::kNone);
    group.select(5);
    group.select(5);  // already selected: nothing
    group.select(3);  // below the first index: ignored
    group.select(8);  // beyond the last: ignored
    group.select(7);
    group.setEnabled(4, false);
    group.click(4);   // a disabled option cannot be clicked
    group.select(4);  // but the program can still select it
    EXPECT_EQ(clicks, (std::vector<int>{5, 7, 4}));
    EXPECT_TRUE(group.isSelected(4));
    EXPECT_EQ(group.caption(7), "d");
    EXPECT_THROW(group.caption(0), std::out_of_range);
}

TEST(OptionGroupModel, GroupWideEnableAndVisibilityNotifyOnlyOnChange) {
    OptionGroup group("Opt_Ps", {"1:2", "1:4"});
    Recorder recorder;
    recorder.watch(group);
    group.setAllEnabled(false);
    group.setAllEnabled(false);
    group.setAllVisible(true);
    EXPECT_FALSE(group.enabled(0));
    EXPECT_FALSE(group.enabled(1));
    EXPECT_EQ(recorder.notifications, 2);
}

TEST(TextBoxModel, ChangeHandlerAndKeyFilter) {
    TextBox box("Txt_Time", "256");
    std::vector<std::string> changes;
    box.onChange = [&] { changes.push_back(box.text()); };
    box.setText("256");  // unchanged: no change event
    box.setText("1.5");
    box.setText("");
    EXPECT_EQ(changes, (std::vector<std::string>{"1.5", ""}));

    EXPECT_EQ(box.keyPress('x'), 'x');  // no filter: every key passes
    box.onKeyPress = [](std::int16_t& key) {
        if (key < '0' || key > '9') key = 0;
    };
    struct Case {
        int code;
        int result;
    } const cases[] = {{'7', '7'}, {'a', 0}, {0x4E2D, 0}, {0x9F99, 0}, {-5, 0}};
    for (const auto& c : cases) EXPECT_EQ(box.keyPress(c.code), c.result) << c.code;
}

TEST(TextBoxModel, FocusRaisesGotFocusAndSelectAllReachesTheView) {
    TextBox box("Txt_Err", "0.2");
    std::vector<Change> seen;
    box.observe([&](Change change) { seen.push_back(change); });
    box.onGotFocus = [&] { box.selectAll(); };
    box.gotFocus();
    EXPECT_EQ(seen, (std::vector<Change>{Change::SelectAll}));
}

TEST(ControlModel, SizeNeverGoesNegative) {
    struct Case {
        int width, height, expectWidth, expectHeight;
    } const cases[] = {{100, 50, 100, 50}, {-1, 50, 0, 50}, {30, -675, 30, 0}, {0, 0, 0, 0}};
    for (const auto& c : cases) {
        TextBox box("Text1");
        box.setSize(c.width, c.height);
        EXPECT_EQ(box.width(), c.expectWidth);
        EXPECT_EQ(box.height(), c.expectHeight);
    }
}

TEST(ListAndComboModels, PickingAnItemSetsTextAndRaisesClick) {
    ComboBox combo("Combo_UseBaud");
    ListBox list("List1");
    for (const char* rate : {"19200", "9600", "1200"}) {
        combo.addItem(rate);
        list.addItem(rate);
    }
    combo.setText("1200");
    int clicks = 0;
    combo.onClick = [&] { ++clicks; };
    combo.pick(0);
    combo.pick(3);  // no such item
    EXPECT_EQ(combo.text(), "19200");
    EXPECT_EQ(combo.listIndex(), 0);
    EXPECT_EQ(clicks, 1);
    combo.clear();
    EXPECT_TRUE(combo.items().empty());
    EXPECT_EQ(combo.text(), "");
    EXPECT_EQ(combo.listIndex(), -1);

    list.setListIndex(2);
    list.setListIndex(7);
    EXPECT_EQ(list.listIndex(), 2);
    list.clear();
    EXPECT_EQ(list.listIndex(), -1);
}

TEST(IntervalTimerModel, TicksOnlyWhileEnabled) {
    IntervalTimer timer("Timer1", 1000);
    int ticks = 0;
    timer.onTimer = [&] { ++ticks; };
    timer.tick();
    timer.setEnabled(true);
    timer.tick();
    IntervalTimer stopped("Timer2", 0, true);  // an interval of 0 stops a timer
    stopped.onTimer = [&] { ++ticks; };
    stopped.tick();
    EXPECT_EQ(ticks, 1);
}

TEST(FormModel, UnloadRunsOnceAndAsksTheViewToClose) {
    struct Counting : Form {
        Counting() : Form("timer0", "Timer0 set") {}
        int unloads = 0, resizes = 0;
        void Form_Unload() override { ++unloads; }
        void Form_Resize() override { ++resizes; }
    } form;
    int closes = 0;
    form.observe([&](Change change) { closes += change == Change::Close; });
    form.unload();
    form.unload();
    form.resized(3000, 2000, WindowState::Minimized);
    EXPECT_EQ(form.unloads, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(form.unloaded());
    EXPECT_EQ(form.resizes, 1);
    EXPECT_EQ(form.width(), 3000);
    EXPECT_EQ(form.windowState(), WindowState::Minimized);
}

// Handlers that setting a control from code runs during the load sequence see
// the loading state; afterwards, and after a load that failed, they do not.
TEST(FormModel, LoadingStateCoversExactlyTheLoadSequence) {
    struct Restoring : Form {
        Restoring() : Form("form", "") {
            Box.onClick = [this] { seen.push_back(loading()); };
        }
        CheckBox Box{"Box"};
        std::vector<bool> seen;
        bool fail = false;
        bool loadingNow() const { return Form::loading(); }
        void Form_Load() override {
            Box.setChecked(true);
            if (fail) throw std::runtime_error("load failed");
        }
    } form;
    form.load();
    form.Box.setChecked(false);
    EXPECT_EQ(form.seen, (std::vector<bool>{true, false}));
    form.fail = true;
    EXPECT_THROW(form.load(), std::runtime_error);
    EXPECT_FALSE(form.loadingNow());

    // Forms sharing one flag all see it, whichever of them loads.
    struct Sharing : Form {
        explicit Sharing(bool& flag) : Form("shared", "") { shareLoadingFlag(flag); }
        bool loadingNow() const { return loading(); }
        bool during = false;
        void Form_Load() override { during = loading(); }
    };
    bool flag = false;
    Sharing first(flag), second(flag);
    flag = true;
    EXPECT_TRUE(second.loadingNow());
    flag = false;
    first.load();
    EXPECT_TRUE(first.during);
    EXPECT_FALSE(flag);
    EXPECT_FALSE(second.loadingNow());
}

}  // namespace
}  // namespace korvane
