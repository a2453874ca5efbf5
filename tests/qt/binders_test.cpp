#include "qt/binders.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "controls/key_filters.h"
#include "modal_script.h"

namespace korvane {
namespace {

TEST(CheckBoxBinder, MouseAndSpaceGoThroughThePressGuard) {
    struct Case {
        const char* what;
        bool refuse;
        bool byKeyboard;
        bool checkedAfter;
        int presses;
    } const cases[] = {
        {"mouse, allowed", false, false, true, 1},
        {"space, allowed", false, true, true, 1},
        {"mouse, refused", true, false, false, 1},
        {"space, refused", true, true, false, 1},
    };
    for (const auto& c : cases) {
        QWidget window;
        CheckBox model("Check1", "PortA");
        int presses = 0, clicks = 0;
        model.onPress = [&] {
            ++presses;
            return !c.refuse;
        };
        model.onClick = [&] { ++clicks; };
        auto* box = Make<QCheckBox>(model, &window);
        window.show();
        EXPECT_EQ(box->objectName(), "Check1");
        EXPECT_EQ(box->text(), "PortA");
        if (c.byKeyboard)
            QTest::keyClick(box, Qt::Key_Space);
        else
            QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center() / 4);
        EXPECT_EQ(presses, c.presses) << c.what;
        EXPECT_EQ(model.checked(), c.checkedAfter) << c.what;
        EXPECT_EQ(box->isChecked(), c.checkedAfter) << c.what;
        EXPECT_EQ(clicks, c.checkedAfter ? 1 : 0) << c.what;
    }
}

TEST(CheckBoxBinder, HandlerThatUndoesTheClickIsMirrored) {
    QWidget window;
    CheckBox model("Chk_PortA(4)", "RA4_IN");
    model.setChecked(true);
    model.onClick = [&] {
        if (!model.checked()) model.setChecked(true);
    };
    auto* box = Make<QCheckBox>(model, &window);
    window.show();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    EXPECT_TRUE(model.checked());
    EXPECT_TRUE(box->isChecked());
}

TEST(OptionBinder, UserAndProgramSelectionsMeetInTheModel) {
    QWidget window;
    OptionGroup model("Opt_Ccp1M", {"每个下降沿触发", "每个上升沿触发", "每4个上升沿触发"}, 4);
    std::vector<int> clicks;
    model.onClick = [&](int index) { clicks.push_back(index); };
    const auto buttons = MakeOptions(model, &window);
    window.show();
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[1]->objectName(), "Opt_Ccp1M(5)");
    EXPECT_EQ(buttons[1]->text(), "每个上升沿触发");
    for (auto* button : buttons) EXPECT_FALSE(button->isChecked());

    QTest::mouseClick(buttons[2], Qt::LeftButton, {}, QPoint(4, buttons[2]->height() / 2));
    model.select(4);
    model.setEnabled(5, false);
    EXPECT_EQ(clicks, (std::vector<int>{6, 4}));
    EXPECT_TRUE(buttons[0]->isChecked());
    EXPECT_FALSE(buttons[2]->isChecked());
    EXPECT_FALSE(buttons[1]->isEnabled());
}

TEST(OptionFrame, PlacesEachOptionWhereItsPlacementSays) {
    // Where option i (from the group's first index) lands: its grid cell, or
    // for a column its place from the top.
    struct Case {
        OptionPlacement placement;
        std::vector<std::pair<int, int>> cells;
    } const cases[] = {
        {{}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {{.highFirst = true}, {{4, 0}, {3, 0}, {2, 0}, {1, 0}, {0, 0}}},
        {{.columns = 1}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {{.columns = 2}, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}}},
        {{.columns = 4}, {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 0}}},
    };
    for (const auto& c : cases) {
        QWidget window;
        Frame frame("Fra_Ps", "分频设置");
        OptionGroup options("Opt_Ps", {"1:1", "1:2", "1:4", "1:8", "1:16"}, 1);
        QGroupBox* box = MakeOptionFrame(frame, options, c.placement, &window);
        EXPECT_EQ(box->title(), "分频设置");
        auto* grid = qobject_cast<QGridLayout*>(box->layout());
        auto* column = qobject_cast<QVBoxLayout*>(box->layout());
        ASSERT_TRUE(c.placement.columns > 0 ? grid != nullptr : column != nullptr) << c.placement.columns;
        for (int i = 0; i < 5; ++i) {
            auto* button = box->findChild<QRadioButton*>(MemberName("Opt_Ps", i + 1));
            ASSERT_NE(button, nullptr);
            std::pair<int, int> cell{column ? column->indexOf(button) : -1, 0};
            if (grid) {
                int rowSpan = 0, columnSpan = 0;
                grid->getItemPosition(grid->indexOf(button), &cell.first, &cell.second, &rowSpan,
                                      &columnSpan);
            }
            EXPECT_EQ(cell, c.cells[static_cast<std::size_t>(i)])
                << "columns " << c.placement.columns << ", high first " << c.placement.highFirst
                << ", option " << i;
        }
    }
}

TEST(LineEditBinder, KeyFilterFocusAndProgramChanges) {
    QWidget window;
    TextBox model("Txt_Time", "256");
    std::vector<std::string> changes;
    model.onChange = [&] { changes.push_back(model.text()); };
    model.onKeyPress = DecimalKeyFilter;
    model.onGotFocus = [&] { model.selectAll(); };
    auto* edit = Make<QLineEdit>(model, &window);
    window.show();
    EXPECT_EQ(edit->text(), "256");

    edit->clear();
    QTest::keyClicks(edit, "1a.-2 e");
    EXPECT_EQ(edit->text(), "1.2");
    EXPECT_EQ(model.text(), "1.2");
    EXPECT_EQ(changes.back(), "1.2");

    model.setText("100");
    EXPECT_EQ(edit->text(), "100");
    model.setReadOnly(true);
    EXPECT_TRUE(edit->isReadOnly());
    // ... and looks it.
    EXPECT_EQ(edit->palette().color(QPalette::Base), edit->palette().color(QPalette::Window));

    edit->deselect();
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &focus);
    EXPECT_TRUE(QTest::qWaitFor([&] { return edit->selectedText() == "100"; }, 1000));
}

// Keys as X11 delivers them: Tab, Delete and Ctrl chords carry control
// characters as text, which the filter must not judge (QTest sends none).
TEST(LineEditBinder, KeysThatTypeNoCharacterPassTheFilter) {
    QWidget window;
    TextBox model("Txt_Time", "1234");
    model.onKeyPress = DecimalKeyFilter;
    TextBox next("Txt_Osc", "4");
    auto* edit = Make<QLineEdit>(model, &window);
    auto* after = Make<QLineEdit>(next, &window);
    after->move(0, 40);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto send = [](QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(target, &press);
    };
    edit->setFocus();
    edit->setCursorPosition(1);
    send(edit, Qt::Key_Delete, Qt::NoModifier, "\x7f");
    EXPECT_EQ(model.text(), "134");
    send(edit, Qt::Key_End, Qt::NoModifier, {});
    send(edit, Qt::Key_Left, Qt::ShiftModifier, {});
    EXPECT_EQ(edit->selectedText(), "4");
    send(edit, Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(model.text(), "13");
    send(edit, Qt::Key_A, Qt::ControlModifier, "\x01");
    EXPECT_EQ(edit->selectedText(), "13");
    send(edit, Qt::Key_Minus, Qt::NoModifier, "-");
    EXPECT_EQ(model.text(), "13");

    send(edit, Qt::Key_Tab, Qt::NoModifier, "\t");
    EXPECT_TRUE(after->hasFocus());
    send(after, Qt::Key_Backtab, Qt::ShiftModifier, {});
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(model.text(), "13");
}

TEST(SimpleBinders, MirrorCaptionEnabledAndVisibility) {
    QWidget window;
    Frame frame("Fra_Ps", "分频设置");
    Label label("Label2", "晶振/外部频率(M):");
    Button button("Command1", "查看TMR0值及误差(&V)");
    ComboBox combo("Combo_UseBaud");
    int buttonClicks = 0, comboClicks = 0;
    button.onClick = [&] { ++buttonClicks; };
    combo.onClick = [&] { ++comboClicks; };
    auto* groupBox = Make<QGroupBox>(frame, &window);
    auto* qlabel = Make<QLabel>(label, &window);
    auto* push = Make<QPushButton>(button, &window);
    auto* qcombo = Make<QComboBox>(combo, &window);
    window.show();

    frame.setEnabled(false);
    label.setCaption("外部时钟频率(M):");
    label.setVisible(false);
    EXPECT_EQ(groupBox->title(), "分频设置");
    EXPECT_FALSE(groupBox->isEnabled());
    EXPECT_EQ(qlabel->text(), "外部时钟频率(M):");
    EXPECT_TRUE(qlabel->isHidden());
    label.setVisible(true);
    EXPECT_FALSE(qlabel->isHidden());

    push->click();
    button.setEnabled(false);
    push->click();
    EXPECT_EQ(buttonClicks, 1);

    for (const char* rate : {"19200", "9600", "1200"}) combo.addItem(rate);
    combo.setText("1200");
    EXPECT_EQ(qcombo->count(), 3);
    EXPECT_EQ(qcombo->currentText(), "1200");
    qcombo->activated(0);
    EXPECT_EQ(combo.text(), "19200");
    EXPECT_EQ(comboClicks, 1);
    // A list to pick from, whose shown entry is the current one: Up steps
    // from it.
    EXPECT_FALSE(qcombo->isEditable());
    combo.setText("1200");
    EXPECT_EQ(qcombo->currentIndex(), 2);
    qcombo->setFocus();
    QTest::keyClick(qcombo, Qt::Key_Up);
    EXPECT_EQ(combo.text(), "9600");
    EXPECT_EQ(comboClicks, 2);
    combo.clear();
    EXPECT_EQ(qcombo->count(), 0);
}

TEST(TimerBinder, RunsWhileTheModelIsEnabled) {
    QObject owner;
    IntervalTimer model("Timer1", 20);
    int ticks = 0;
    model.onTimer = [&] {
        if (++ticks == 2) model.setEnabled(false);
    };
    auto* timer = new QTimer(&owner);
    Bind(timer, model);
    EXPECT_FALSE(timer->isActive());
    model.setEnabled(true);
    EXPECT_TRUE(timer->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !timer->isActive(); }, 2000));
    EXPECT_EQ(ticks, 2);
}

}  // namespace
}  // namespace korvane
