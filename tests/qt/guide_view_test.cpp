#include "qt/guide_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "chip/assemble.h"
#include "generator/classic_writer.h"
#include "modal_script.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using testing::ModalScript;

template <class Widget>
Widget* Child(QWidget* parent, const QString& name) {
    auto* widget = parent->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

QString QuestionOf(QWidget* guide) {
    auto* label = Child<QLabel>(guide, "Label");
    return label ? label->text() : QString();
}

void Press(QWidget* guide, const char* button) {
    if (auto* widget = Child<QPushButton>(guide, button)) widget->click();
}

void Choose(QWidget* guide, int option) {
    if (auto* widget = Child<QRadioButton>(guide, QStringLiteral("OptYesNo(%1)").arg(option)))
        widget->click();
}

// The main window as the program runs it; the guide opens from its Set menu.
class GuideViewTest : public ::testing::Test, protected testing::MainSetup {
protected:
    void OpenFromMenu() { choose("VbMenu_SetGuide"); }  // returns once the guide has closed
};

// Work that opens a further modal box runs after the script's step has
// returned, so the script can answer that box with its next step.
void Later(QWidget* guide, std::function<void()> work) {
    QTimer::singleShot(0, guide, std::move(work));
}

TEST_F(GuideViewTest, OpensWithNamesAndCaptionsAndExitAsksFirst) {
    ModalScript script;
    QPointer<GuideView> guide;
    script
        .then<GuideView>([&](GuideView* view) {
            guide = view;
            EXPECT_EQ(view->objectName(), "guide");
            EXPECT_EQ(view->windowTitle(), "设置向导");
            EXPECT_EQ(Child<QLabel>(view, "Label1")->text(), "欢迎使用Korvane 设置向导:");
            EXPECT_EQ(QuestionOf(view), "是否需要选择芯片型号?");
            EXPECT_NE(Child<QLabel>(view, "Picture1"), nullptr);
            const char* const options[] = {"是", "否"};
            for (int i = 0; i < 2; ++i) {
                auto* option = Child<QRadioButton>(view, QStringLiteral("OptYesNo(%1)").arg(i));
                ASSERT_NE(option, nullptr);
                EXPECT_EQ(option->text(), options[i]);
                EXPECT_EQ(option->isChecked(), i == 0);
            }
            const char* const buttons[][2] = {{"Command1", "下一步(&N)"},
                                              {"Command2", "退 出(&E)"},
                                              {"Command3", "帮 助(&H)"},
                                              {"Command4", "上一步(&B)"}};
            for (const auto& [name, caption] : buttons)
                EXPECT_EQ(Child<QPushButton>(view, name)->text(), caption);
            EXPECT_TRUE(Child<QPushButton>(view, "Command1")->isDefault());

            Choose(view, 1);
            Press(view, "Command1");
            EXPECT_EQ(QuestionOf(view), "是否需要设置配置字?");
            Press(view, "Command1");
            EXPECT_EQ(QuestionOf(view), "是否需要设置晶振频率?(现设置的频率为:4M)");
            // Back a step by its access key (the button clicks a moment
            // later, as a pressed button does), and on again.
            // An access key reaches only the active window.
            view->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(view));
            QTest::keyClick(view, Qt::Key_B, Qt::AltModifier);
            EXPECT_TRUE(QTest::qWaitFor([view] { return QuestionOf(view) == "是否需要设置配置字?"; }));
            Press(view, "Command1");
            EXPECT_EQ(QuestionOf(view), "是否需要设置晶振频率?(现设置的频率为:4M)");
            Later(view, [view] { Press(view, "Command2"); });
        })
        .then<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "退出提示");
            EXPECT_EQ(box->text(), "未完成设置,您确定要退出设置向导吗?");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            box->button(QMessageBox::No)->click();
            // Still there, on the same step with the same answer; Esc asks too.
            Later(guide, [&] {
                ASSERT_TRUE(guide && guide->isVisible());
                EXPECT_EQ(QuestionOf(guide), "是否需要设置晶振频率?(现设置的频率为:4M)");
                EXPECT_TRUE(Child<QRadioButton>(guide, "OptYesNo(1)")->isChecked());
                QTest::keyClick(guide, Qt::Key_Escape);
            });
        })
        .then<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "退出提示");
            box->button(QMessageBox::Yes)->click();
        });
    OpenFromMenu();
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(settings, ProjectSettings{});
}

TEST_F(GuideViewTest, NextRunsTheCrystalPromptADialogAndTheGeneration) {
    ModalScript script;
    script
        .then<GuideView>([&](GuideView* view) {
            Later(view, [&, view] {
                Choose(view, 1);
                Press(view, "Command1");  // steps 1 and 2 with 否: no chip, no word
                Press(view, "Command1");
                Choose(view, 0);
                Press(view, "Command1");  // step 3 with 是: the crystal prompt
                EXPECT_EQ(QuestionOf(view), "是否需要定义端口?");
                Press(view, "Command1");  // step 4 with 是: the Port dialog
                Choose(view, 1);
                for (int step = 5; step < GuideForm::kStepCount; ++step) Press(view, "Command1");
                EXPECT_EQ(QuestionOf(view), "是否需要生成C文件?");
                Choose(view, 0);
                Press(view, "Command1");  // the last step: generation
                EXPECT_FALSE(Child<QPushButton>(view, "Command1")->isEnabled());
                EXPECT_EQ(Child<QPushButton>(view, "Command2")->text(), "完 成(&C)");
                EXPECT_EQ(QuestionOf(view), QString::fromUtf8(GuideForm::kDoneText));
                EXPECT_FALSE(Child<QRadioButton>(view, "OptYesNo(0)")->isEnabled());
                Press(view, "Command2");  // finish closes without a question
            });
        })
        .then<QInputDialog>([](QInputDialog* input) {
            EXPECT_EQ(input->windowTitle(), "晶体设置");
            EXPECT_EQ(input->textValue(), "4");
            input->setTextValue("8");
            input->accept();
        })
        .then<QDialog>([](QDialog* port) {
            EXPECT_EQ(port->objectName(), "Port");
            QTest::keyClick(port, Qt::Key_Escape);
        })
        .then<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "提示");
            box->button(QMessageBox::No)->click();
        })
        .then<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "已复制文本");
            box->button(QMessageBox::Ok)->click();
        });
    OpenFromMenu();
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(settings.CrystalMHz, 8.0f);
    EXPECT_TRUE(settings.T0FreqMHz.equals(8));
    const std::string expected = AssembleSource(settings, false);
    EXPECT_EQ(form.Text1.text(), expected);
    EXPECT_EQ(window.text1()->toPlainText(), QString::fromStdString(expected).replace("\r\n", "\n"));
}

// A platform whose program folder is a temporary one holding the picture.
class PictureFolderPlatform : public QtPlatform {
public:
    std::string folder;
    std::string programFolder() const override { return folder; }
};

TEST(GuideView, ShowsThePictureFromTheProgramFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage image(18, 24, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    ASSERT_TRUE(image.save(folder.filePath("guide1.jpg"), "JPG"));
    for (const bool present : {true, false}) {
        ProjectSettings settings;
        PictureFolderPlatform platform;
        platform.folder = present ? folder.path().toStdString() : folder.path().toStdString() + "/none";
        AppContext context{settings, platform};
        GuideForm guide(context);
        GuideView view(guide, nullptr);
        guide.load();
        view.show();
        const QPixmap picture = Child<QLabel>(&view, "Picture1")->pixmap();
        EXPECT_EQ(picture.isNull(), !present);
        if (present) {
            EXPECT_EQ(picture.size(), QSize(18, 24));
            // The picture itself by the time it is on screen, not a blank of its size.
            const QColor corner = picture.toImage().pixelColor(0, 0);
            EXPECT_EQ(corner.alpha(), 255);
            EXPECT_GT(corner.blue(), 100);
        }
        EXPECT_TRUE(view.isVisible());  // a missing picture leaves the area empty
    }
}

}  // namespace
}  // namespace korvane
