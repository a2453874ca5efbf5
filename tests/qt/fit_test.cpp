// Every window on a 1024x768 screen: wholly on it, with a window manager's
// title bar and borders added, and no control cut short.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <map>
#include <memory>

#include "modal_script.h"
#include "platform/form_id.h"
#include "qt/form_registry.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

constexpr QSize kScreen(1024, 768);
// Room for a title bar and borders (openbox: 20 px title, 1 px borders).
constexpr QSize kDecoration(8, 32);

// Every access key shown in a window reaches one control: no two visible
// captions share a key, and a label's key has a control to give focus to.
void ExpectAccessKeys(QWidget* window, const std::string& what) {
    std::map<QChar, QString> taken;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisibleTo(window) || child->isWindow()) continue;
        QString caption;
        if (auto* button = qobject_cast<QAbstractButton*>(child)) caption = button->text();
        if (auto* group = qobject_cast<QGroupBox*>(child)) caption = group->title();
        auto* label = qobject_cast<QLabel*>(child);
        if (label && label->textFormat() != Qt::RichText) caption = label->text();
        const qsizetype amp = caption.remove(QStringLiteral("&&")).indexOf('&');
        if (amp < 0 || amp + 1 >= caption.size()) continue;
        if (label) {
            EXPECT_NE(label->buddy(), nullptr) << what << " / " << caption.toStdString();
        }
        const QChar key = caption[amp + 1].toUpper();
        const auto [place, fresh] = taken.emplace(key, caption);
        EXPECT_TRUE(fresh) << what << ": " << caption.toStdString() << " and " << place->second.toStdString();
    }
}

void ExpectFits(QWidget* window, const std::string& what) {
    ExpectAccessKeys(window, what);
    const QSize outer = window->frameGeometry().size() + kDecoration;
    EXPECT_LE(outer.width(), kScreen.width()) << what;
    EXPECT_LE(outer.height(), kScreen.height()) << what;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisibleTo(window) || child->isWindow()) continue;
        const std::string name =
            what + " / " + child->objectName().toStdString() + " (" + child->metaObject()->className() + ")";
        const QRect place(child->mapTo(window, QPoint(0, 0)), child->size());
        EXPECT_TRUE(window->rect().contains(place)) << name;
        auto* label = qobject_cast<QLabel*>(child);
        const bool wraps = label && label->wordWrap();
        if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QGroupBox*>(child) || (label && !wraps)) {
            EXPECT_GE(child->width(), child->sizeHint().width()) << name;
            EXPECT_GE(child->height(), child->minimumSizeHint().height()) << name;
        }
        if (auto* edit = qobject_cast<QLineEdit*>(child)) {
            const int room =
                edit->contentsRect().width() - edit->textMargins().left() - edit->textMargins().right();
            EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()), room) << name;
        }
        if (auto* list = qobject_cast<QListWidget*>(child)) {
            for (int i = 0; i < list->count(); ++i)
                EXPECT_LE(list->visualItemRect(list->item(i)).left() +
                              list->fontMetrics().horizontalAdvance(list->item(i)->text()),
                          list->viewport()->width())
                    << name << " row " << i;
        }
    }
}

// Opens the form `id` as the program does, shows it and hands it over.
void WithWindow(AppContext& context, FormId id, const std::function<void(QWidget*, Form&)>& check) {
    const char* name = FormName(id);
    const FormEntry& entry = FindForm(id);
    std::unique_ptr<Form> form = entry.createForm(context);
    std::unique_ptr<QWidget> view(entry.createView(*form, nullptr));
    form->load();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get())) << name;
    check(view.get(), *form);
}

// Answers the next message box after checking that it fits.
void FitAndAnswer(ModalScript& script, const std::string& what, QMessageBox::StandardButton answer) {
    script.then<QMessageBox>([what, answer](QMessageBox* box) {
        ExpectFits(box, what + " " + box->windowTitle().toStdString());
        box->button(answer)->click();
    });
}

TEST(FitsSmallScreen, MainWindowPortTimersAndMssp) {
    MainSetup app;
    ExpectFits(&app.window, "main window");
    for (FormId id : {FormId::Port, FormId::PortB, FormId::Timer0, FormId::Timer1, FormId::Timer2,
                      FormId::Mssp, FormId::Ad, FormId::Comparator})
        WithWindow(app.context, id, [&](QWidget* view, Form&) { ExpectFits(view, FormName(id)); });
}

TEST(FitsSmallScreen, CcpInEveryModeKeepsOneSizeAndPlace) {
    ProjectSettings settings;
    QtPlatform platform;
    AppContext context{settings, platform};
    for (int mode1 = 0; mode1 < 3; ++mode1) {
        for (int mode2 = 0; mode2 < 3; ++mode2) {
            settings = ProjectSettings{};
            settings.Ccp1En = true;
            settings.Ccp2En = mode2 != 1;
            settings.Ccp1Mode = mode1;
            settings.Ccp2Mode = mode2;
            const std::string what = "ccp " + std::to_string(mode1) + "/" + std::to_string(mode2);
            WithWindow(context, FormId::Ccp, [&](QWidget* view, Form&) {
                ExpectFits(view, what);
                const QRect opened = view->frameGeometry();
                // Switching modes while open, PWM and back, in both modules.
                MouseClick(Find<QCheckBox>(view, "Chk_Ccp2En"));
                for (const char* module : {"1", "2"})
                    for (int mode : {2, 1, 0, 2, 1}) {
                        MouseClick(Find<QRadioButton>(
                            view, QStringLiteral("Opt_Ccp%1Mode(%2)").arg(module).arg(mode)));
                        QApplication::processEvents();
                        EXPECT_EQ(view->frameGeometry(), opened)
                            << what << " module " << module << " mode " << mode;
                        ExpectFits(view, what + " switched");
                    }
            });
        }
    }
}

TEST(FitsSmallScreen, SciWithAFullListScrollsItsListsTogether) {
    ProjectSettings settings;
    QtPlatform platform;
    AppContext context{settings, platform};
    settings.SciEn = 1;
    // A wide error limit in synchronous mode lists every standard rate.
    settings.CrystalMHz = 4;
    settings.SciSyncMode = 1;
    settings.SciErrLimit = "10000";
    WithWindow(context, FormId::Sci, [&](QWidget* view, Form&) {
        auto* rates = Find<QListWidget>(view, "List1");
        auto* actual = Find<QListWidget>(view, "List3");
        ASSERT_TRUE(rates && actual);
        EXPECT_EQ(rates->count(), 14);
        ExpectFits(view, "sci");
        actual->verticalScrollBar()->setValue(actual->verticalScrollBar()->maximum());
        EXPECT_GT(rates->verticalScrollBar()->value(), 0);
        EXPECT_EQ(rates->verticalScrollBar()->value(), actual->verticalScrollBar()->value());
        EXPECT_EQ(Find<QListWidget>(view, "List2")->verticalScrollBar()->value(),
                  rates->verticalScrollBar()->value());
    });
}

TEST(FitsSmallScreen, GuideAtEveryStep) {
    MainSetup app;
    WithWindow(app.context, FormId::Guide, [&](QWidget* view, Form&) {
        MouseClick(Find<QRadioButton>(view, "OptYesNo(1)"));
        auto* next = Find<QPushButton>(view, "Command1");
        for (int step = 1; step <= 8; ++step) {
            ExpectFits(view, "guide step " + std::to_string(step));
            next->click();
        }
        ExpectFits(view, "guide done");
    });
}

TEST(FitsSmallScreen, EveryKindOfMessageBox) {
    MainSetup app;
    ModalScript script;
    // The comment question and the copied notice.
    FitAndAnswer(script, "generate", QMessageBox::Yes);
    FitAndAnswer(script, "generate", QMessageBox::Ok);
    app.choose("VbMenuTools_c");

    // A refused port, a time out of range, no usable rate, the Timer1
    // question and leaving the guide early.
    app.settings.T0ClockMode = 1;
    FitAndAnswer(script, "port", QMessageBox::Ok);
    WithWindow(app.context, FormId::Port,
               [](QWidget* view, Form&) { MouseClick(Find<QCheckBox>(view, "Check1")); });

    app.settings.T0En = true;
    app.settings.T0TimeUs = "100000";
    FitAndAnswer(script, "timer0", QMessageBox::Ok);
    WithWindow(app.context, FormId::Timer0,
               [](QWidget* view, Form&) { Find<QPushButton>(view, "Command1")->click(); });

    app.settings.SciEn = 1;
    app.settings.CrystalMHz = 0.001f;
    FitAndAnswer(script, "sci", QMessageBox::Ok);
    WithWindow(app.context, FormId::Sci, [](QWidget*, Form& form) { form.unload(); });

    app.settings.Ccp1En = true;
    FitAndAnswer(script, "ccp", QMessageBox::No);
    WithWindow(app.context, FormId::Ccp, [](QWidget*, Form& form) { form.unload(); });

    FitAndAnswer(script, "guide", QMessageBox::No);
    WithWindow(app.context, FormId::Guide,
               [](QWidget* view, Form&) { Find<QPushButton>(view, "Command2")->click(); });
    EXPECT_EQ(script.pending(), 0u);
}

}  // namespace
}  // namespace korvane
