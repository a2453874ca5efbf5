#include "qt/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractProxyModel>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <vector>

#include "../core/sample_settings.h"
#include "app/form1.h"
#include "chip/assemble.h"
#include "controls/app_context.h"
#include "generator/classic_writer.h"
#include "modal_script.h"
#include "qt/application.h"
#include "qt/qt_platform.h"

namespace korvane {
namespace {

using testing::ModalScript;

// A QtPlatform whose save dialog is answered directly, for the write cases.
class ScriptedSavePlatform : public QtPlatform {
public:
    std::string path;
    std::string saveFileDialog(const std::string&, const std::string&) override { return path; }
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { window.show(); }

    QAction* Action(const char* name) { return window.findChild<QAction*>(name); }

    ScriptedSavePlatform platform;
    Application program{platform};
    ProjectSettings& settings = program.settings;
    AppContext& context = program.context;
    Form1& form = program.form;
    MainWindow& window = program.window;
};

TEST_F(MainWindowTest, EveryMenuAndItemCarriesItsNameAndCaption) {
    EXPECT_EQ(window.objectName(), "Form1");
    EXPECT_EQ(window.windowTitle(), "Korvane");
    QStringList menus;
    for (QAction* menuAction : window.menuBar()->actions()) {
        QMenu* menu = menuAction->menu();
        ASSERT_NE(menu, nullptr);
        menus << menu->objectName() + "=" + menu->title();
        for (QAction* item : menu->actions()) menus << "  " + item->objectName() + "=" + item->text();
    }
    EXPECT_EQ(
        menus.join("\n").toStdString(),
        "VbMenuFile=文件(&F)\n  VbMenuFile_SaveFile=保存C文件(&S)\n  VbMenuFile_UpdateFile=更新C文件(&U)...\n"
        "  VbMenuFile_SaveUtf8=C文件用UTF-8编码(&8)\n  VbMenuFile_SaveLf=C文件用LF换行(&L)\n"
        "  VbMenuFile_OpenProject=打开工程(&O)...\n"
        "  VbMenuFile_SaveProject=保存工程(&P)...\n  VbMenuFile_ExportPinMap=导出引脚图(&M)...\n"
        "  VbMenuFile_Exit=退出(&E)\n"
        "VbMenuView=查看(&V)\n  VbMenuView_PinMap=引脚图(&M)\n"
        "VbMenuSet=设置(&S)\n  VbMenu_SetGuide=设置向导(&G)\n  VbMenuSet_Chip=选择芯片(&X)\n"
        "  VbMenuSet_Config=设置配置字(&W)\n  VbMenuSet_Osc=设置晶体频率(&O)\n"
        "  VbMenuSet_PortSet=端品选择(&P)\n  VbMenuSet_PortB=设置RB口中断及上拉(&B)\n"
        "  VbMenuSet_T0=设置Timer&0\n"
        "  VbMenuSet_T1=设置Timer&1\n  VbMenuSet_T2=设置Timer&2\n  VbMenuSet_CCP=设置&CCP模块\n"
        "  VbMenuSet_Sci=设置&SCI(串行口)模块\n"
        "  VbMenuSet_Mssp=设置&MSSP(SPI/I2C)模块\n"
        "  VbMenuSet_Ad=设置&A/D转换模块\n"
        "  VbMenuSet_Cmp=设置比较器和参考电压(&V)\n"
        "VbMenuTools=工具(&T)\n  VbMenuTools_c=生成C文件(&C)\n  VbMenuTools_Clear=清除文本(&C)\n"
        "  VbMenuTools_Auto=自动生成(&A)\n"
        "VbMenuHelp=帮助(&H)\n  VbMenuHelp_Con=内容(&C)");
    EXPECT_EQ(window.text1()->objectName(), "Text1");
}

TEST_F(MainWindowTest, GenerateFillsText1AndTheClipboard) {
    QGuiApplication::clipboard()->setText("before");
    ModalScript script;
    script
        .then<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "提示");
            EXPECT_EQ(box->text(), "是否需要在源程序中添加注释?");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
            // Chinese standard buttons, with their access keys: 是(&Y), 否(&N).
            EXPECT_TRUE(box->button(QMessageBox::Yes)->text().startsWith("是"));
            EXPECT_TRUE(box->button(QMessageBox::No)->text().startsWith("否"));
            box->button(QMessageBox::Yes)->click();
        })
        .then<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "已复制文本");
            EXPECT_EQ(box->icon(), QMessageBox::Information);
            // Each carriage return of the message shows as a line break.
            EXPECT_EQ(box->text().split('\n').size(), 3);
            EXPECT_TRUE(box->button(QMessageBox::Ok)->text().startsWith("确定"));
            box->button(QMessageBox::Ok)->click();
        });
    Action("VbMenuTools_c")->trigger();
    EXPECT_EQ(script.pending(), 0u);

    const std::string expected = AssembleSource(settings, true);
    EXPECT_EQ(form.Text1.text(), expected);
    EXPECT_EQ(window.text1()->toPlainText(), QString::fromStdString(expected).replace("\r\n", "\n"));
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), expected);
}

// 自动生成 on: closing a dialog that changed a setting shows the new text at
// once, where the user was reading, with the changed lines highlighted.
TEST_F(MainWindowTest, AutoGenerateMarksWhatAClosingDialogChanged) {
    QAction* automatic = Action("VbMenuTools_Auto");
    ASSERT_TRUE(automatic->isCheckable());
    automatic->trigger();
    EXPECT_TRUE(automatic->isChecked());
    QPlainTextEdit* text = window.text1();
    const QString before = text->toPlainText();
    ASSERT_FALSE(before.isEmpty());
    window.showNormal();
    window.resize(600, 300);  // shorter than the text
    text->verticalScrollBar()->setValue(3);
    ASSERT_EQ(text->verticalScrollBar()->value(), 3);
    ModalScript script;
    script.then<QDialog>([](QDialog* dialog) {
        auto* enable = dialog->findChild<QCheckBox*>("Chk_T0En");
        ASSERT_NE(enable, nullptr);
        QTest::mouseClick(enable, Qt::LeftButton, {}, QPoint(4, enable->height() / 2));
        dialog->findChild<QPushButton*>("Command2")->click();
    });
    Action("VbMenuSet_T0")->trigger();
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_TRUE(settings.T0En.isTrue());

    const QString after = text->toPlainText();
    EXPECT_NE(after, before);
    EXPECT_EQ(after,
              QString::fromStdString(AssembleSource(settings, form.WithComments)).replace("\r\n", "\n"));
    EXPECT_EQ(text->verticalScrollBar()->value(), 3);
    std::vector<int> shown;
    for (const QTextEdit::ExtraSelection& mark : text->extraSelections()) {
        shown.push_back(mark.cursor.blockNumber());
        EXPECT_TRUE(mark.format.hasProperty(QTextFormat::BackgroundBrush));
        EXPECT_TRUE(mark.format.property(QTextFormat::FullWidthSelection).toBool());
    }
    EXPECT_FALSE(shown.empty());
    EXPECT_EQ(shown, form.Text1.markedLines());
    // Every highlighted line is one the old text did not have there.
    const QStringList old = before.split('\n'), now = after.split('\n');
    for (const int line : shown) EXPECT_TRUE(line >= old.size() || old[line] != now[line]) << line;
}

TEST_F(MainWindowTest, UserEditsReachTheModelWithCrLf) {
    window.text1()->setPlainText("line 1\nline 2");
    EXPECT_EQ(form.Text1.text(), "line 1\r\nline 2");

    // A no-break space typed into a text setting reaches the generated
    // comment and stays one when the user edits the text area afterwards.
    settings.T0En = true;
    settings.T0TimeUs = std::string("100\u00A0");
    const std::string generated = AssembleSource(settings, true);
    ASSERT_NE(generated.find("100\u00A0uS"), std::string::npos);
    form.Text1.setText(generated);
    window.text1()->moveCursor(QTextCursor::End);
    window.text1()->insertPlainText("x");
    EXPECT_EQ(form.Text1.text(), generated + "x");

    Action("VbMenuTools_Clear")->trigger();
    EXPECT_TRUE(window.text1()->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, SaveThroughTheFileDialogWritesGbkBytes) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("project1");
    const std::string text = AssembleSource(settings, true) + "//端口I/O定义子程序\r\n";
    form.Text1.setText(text);

    // The real dialog this time, not the scripted shortcut.
    struct DialogPlatform : QtPlatform {
    } dialogPlatform;
    AppContext dialogContext{settings, dialogPlatform};
    Form1 dialogForm(dialogContext);
    dialogForm.Text1.setText(text);
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"C文件(*.c)"});
        EXPECT_TRUE(dialog->defaultSuffix().isEmpty());
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();  // runs the dialog's own checks
    });
    dialogForm.VbMenuFile_SaveFile_Click();
    EXPECT_EQ(script.pending(), 0u);

    QFile file(path + ".c");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "saved as project1.c, its extension added";
    const QByteArray bytes = file.readAll();
    QStringEncoder gbk("GBK");
    const QByteArray expected = gbk.encode(QString::fromStdString(text));
    ASSERT_FALSE(gbk.hasError());
    EXPECT_EQ(bytes, expected);
    EXPECT_TRUE(
        bytes.endsWith(QByteArray("\x2f\x2f\xb6\xcb\xbf\xda\x49\x2f\x4f\xb6\xa8\xd2\xe5\xd7\xd3"
                                  "\xb3\xcc\xd0\xf2\r\n")));
    EXPECT_FALSE(bytes.startsWith("\xef\xbb\xbf"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"project1.c"});
}

TEST(MainWindowProject, SavedProjectOpenedAgainGeneratesTheSameText) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("every.kvp");
    QtPlatform platform;
    Application program{platform};
    ProjectSettings& settings = program.settings;
    Form1& form = program.form;
    MainWindow& window = program.window;
    window.show();
    const auto generate = [&] {
        ModalScript script;
        script.then<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); })
            .then<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
        window.findChild<QAction*>("VbMenuTools_c")->trigger();
        EXPECT_EQ(script.pending(), 0u);
        return form.Text1.text();
    };
    const auto fileDialog = [&](QFileDialog::AcceptMode mode, const char* action) {
        ModalScript script;
        script.then<QFileDialog>([&](QFileDialog* dialog) {
            EXPECT_EQ(dialog->acceptMode(), mode);
            EXPECT_EQ(dialog->nameFilters(), QStringList{"Korvane工程(*.kvp)"});
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        window.findChild<QAction*>(action)->trigger();
        EXPECT_EQ(script.pending(), 0u);
    };

    settings = EverythingOn();
    settings.SciErrLimit = "0.5";  // as typed: a text stays a text
    const std::string before = generate();
    fileDialog(QFileDialog::AcceptSave, "VbMenuFile_SaveProject");
    ASSERT_TRUE(QFile::exists(path));

    settings = ProjectSettings{};
    form.Text1.setText({});
    fileDialog(QFileDialog::AcceptOpen, "VbMenuFile_OpenProject");
    EXPECT_EQ(settings.SciErrLimit, SettingValue("0.5"));
    EXPECT_EQ(generate(), before);
}

// Type names and dates in Chinese even where the system speaks C.
TEST_F(MainWindowTest, SaveDialogListsTypesAndDatesInChinese) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir("sub"));
    struct DialogPlatform : QtPlatform {
    } dialogPlatform;
    ModalScript script;
    script.then<QFileDialog>([&](QFileDialog* dialog) {
        dialog->setDirectory(folder.path());
        QAbstractProxyModel* files = dialog->proxyModel();
        ASSERT_NE(files, nullptr);
        auto* source = qobject_cast<QFileSystemModel*>(files->sourceModel());
        ASSERT_NE(source, nullptr);
        const auto row = [&](const QString& name) {
            return files->mapFromSource(source->index(folder.filePath(name)));
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return row("sub").isValid(); }, 5000));
        const QModelIndex sub = row("sub");
        ASSERT_TRUE(sub.isValid());
        EXPECT_EQ(sub.siblingAtColumn(2).data().toString(), "文件夹");
        const QDateTime modified = QFileInfo(folder.filePath("sub")).lastModified();
        EXPECT_EQ(sub.siblingAtColumn(3).data().toString(),
                  QLocale(QLocale::Chinese, QLocale::China).toString(modified, QLocale::ShortFormat));
        dialog->reject();
    });
    EXPECT_EQ(dialogPlatform.saveFileDialog("project1", "C文件(*.c)|*.c"), "");
    EXPECT_EQ(script.pending(), 0u);
}

TEST_F(MainWindowTest, SaveFailuresShowAnErrorAndKeepEverything) {
    QTemporaryDir folder;
    const QString existing = folder.filePath("keep.c");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    struct Case {
        const char* what;
        QString path;
        QString typed;
        QString mentioned;
    };
    const Case cases[] = {
        {"folder is a file", existing + "/a.c", "int x;", existing + "/a.c"},
        {"missing folder", folder.filePath("missing/a.c"), "int x;", "missing/a.c"},
        {"emoji", existing, "int x; // 😀\n", "😀(U+1F600)"},
    };
    for (const auto& c : cases) {
        platform.path = c.path.toStdString();
        window.text1()->setPlainText(c.typed);
        ModalScript script;
        script.then<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "保存失败") << c.what;
            EXPECT_EQ(box->icon(), QMessageBox::Critical) << c.what;
            EXPECT_TRUE(box->text().contains(c.mentioned)) << c.what << ": " << box->text().toStdString();
            box->button(QMessageBox::Ok)->click();
        });
        Action("VbMenuFile_SaveFile")->trigger();
        EXPECT_EQ(script.pending(), 0u) << c.what;
        EXPECT_EQ(window.text1()->toPlainText(), c.typed) << c.what;
    }
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep me");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.c"});
}

// The close box meets the save question as 退出 does: 取消 (also Esc) keeps
// the window, 否 closes it.
TEST_F(MainWindowTest, ClosingWithUnsavedSettingsAsksFirst) {
    settings.T2Int = -1;
    for (const auto& answer : {std::pair{QMessageBox::Cancel, false}, {QMessageBox::No, true}}) {
        const QMessageBox::StandardButton button = answer.first;
        const bool closes = answer.second;
        ModalScript script;
        script.then<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "保存工程");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
            box->button(button)->click();
        });
        window.close();
        EXPECT_EQ(script.pending(), 0u);
        EXPECT_EQ(window.isVisible(), !closes);
        EXPECT_EQ(form.unloaded(), closes);
    }
}

TEST_F(MainWindowTest, CrystalCommandThroughTheInputBox) {
    ModalScript script;
    script
        .then<QInputDialog>([](QInputDialog* input) {
            EXPECT_EQ(input->windowTitle(), "晶体设置");
            EXPECT_EQ(input->labelText(), "请输入晶体振荡频率(MHZ)");
            EXPECT_EQ(input->textValue(), "4");
            input->setTextValue("0");
            input->accept();
        })
        .then<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), "晶振频率设置错误");
            box->button(QMessageBox::Ok)->click();
        })
        .then<QInputDialog>([](QInputDialog* input) {
            EXPECT_EQ(input->textValue(), "0");
            input->reject();  // Cancel: the crystal follows Timer0's frequency
        });
    Action("VbMenuSet_Osc")->trigger();
    EXPECT_EQ(script.pending(), 0u);
    EXPECT_EQ(settings.CrystalMHz, 4.0f);
}

TEST_F(MainWindowTest, Text1FollowsTheWindowSize) {
    window.showNormal();
    window.resize(800, 600);
    const double dpi = window.logicalDpiY();
    const int expectedHeight = qRound((window.frameGeometry().height() * 1440.0 / dpi - 675) * dpi / 1440);
    EXPECT_NEAR(window.text1()->height(), expectedHeight, 1);
    EXPECT_EQ(window.text1()->x(), 0);
    window.resize(20, 20);
    EXPECT_GE(window.text1()->width(), 0);
    EXPECT_EQ(form.Text1.height(), 0);
}

}  // namespace
}  // namespace korvane
