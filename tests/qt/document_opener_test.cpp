#include "qt/document_opener.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "modal_script.h"
#include "qt/qt_platform.h"

namespace korvane {
namespace {

using testing::ModalScript;

// A platform whose program folder is a scratch folder.
class FolderPlatform : public QtPlatform {
public:
    std::string folder;
    std::string programFolder() const override { return folder; }
};

// The desktop's tools are stand-in scripts in a folder that replaces PATH, so
// each case decides which tools exist and what xdg-mime answers.
class DocumentOpenerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bin.isValid() && program.isValid());
        savedPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8());
        platform.folder = program.path().toStdString();
    }
    void TearDown() override { qputenv("PATH", savedPath); }

    void tool(const QString& name, const QByteArray& body) {
        QFile file(bin.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    void helpFile() {
        QFile file(program.filePath("korvane.chm"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("ITSF");
    }
    // The text of the warning that opening the help at `page` shows, or "" for none.
    QString openHelp(const std::string& page = {}) {
        QString shown;
        ModalScript script;
        script.then<QMessageBox>([&](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), QString::fromUtf8(kDocumentOpenProblemTitle));
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            shown = box->text();
            box->accept();
        });
        platform.openDocument("korvane.chm", page);
        return shown;
    }

    QTemporaryDir bin, program;
    QByteArray savedPath;
    FolderPlatform platform;
};

TEST_F(DocumentOpenerTest, SaysWhatIsMissingInsteadOfOpeningNothing) {
    const QByteArray opener = "echo \"$PWD $1\" >" + bin.filePath("opened").toUtf8();
    struct Case {
        const char* name;
        bool file;
        std::vector<std::pair<QString, QByteArray>> tools;
        QString message;  // a part of the warning
    } cases[] = {
        {"no help file",
         false,
         {{"xdg-open", opener}, {"xdg-mime", "echo xchm.desktop"}, {"file", ""}},
         "找不到帮助文件 " + program.filePath("korvane.chm")},
        {"no viewer",
         true,
         {{"xdg-open", opener}, {"xdg-mime", "true"}, {"file", ""}},
         "没有找到可以打开 korvane.chm 的程序。\n请安装软件包 xchm，例如：\nsudo apt-get install xchm"},
        {"no xdg-utils", true, {{"file", ""}}, "请安装软件包 xdg-utils"},
        {"no file command",
         true,
         {{"xdg-open", opener}, {"xdg-mime", "echo xchm.desktop"}},
         "请安装软件包 file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : QDir(bin.path()).entryList(QDir::Files)) QFile::remove(bin.filePath(name));
        QFile::remove(program.filePath("korvane.chm"));
        for (const auto& [name, body] : c.tools) tool(name, body);
        if (c.file) helpFile();
        EXPECT_TRUE(openHelp().contains(c.message)) << c.message.toStdString();
        EXPECT_FALSE(QFile::exists(bin.filePath("opened")));
    }
}

TEST_F(DocumentOpenerTest, HandsTheHelpToTheDesktopFromTheProgramFolder) {
    tool("xdg-open", "echo \"$PWD $1\" >" + bin.filePath("opened.part").toUtf8() + " && /bin/mv " +
                         bin.filePath("opened.part").toUtf8() + " " + bin.filePath("opened").toUtf8());
    tool("xdg-mime", "[ \"$*\" = 'query default application/vnd.ms-htmlhelp' ] && echo xchm.desktop");
    tool("file", "");
    helpFile();

    EXPECT_EQ(openHelp(), QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(bin.filePath("opened")); }, 5000));
    QFile opened(bin.filePath("opened"));
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    const QString folder = QDir(program.path()).canonicalPath();
    EXPECT_EQ(QString::fromUtf8(opened.readAll()).trimmed(), folder + " " + program.filePath("korvane.chm"));
}

TEST_F(DocumentOpenerTest, OpensAPageWhereTheViewerTakesOneElseTheStart) {
    // Each stand-in notes the program that ran, its folder and its argument.
    const auto recorder = [&](const char* name) {
        return QByteArray("echo \"") + name + " $PWD $1\" >" + bin.filePath("opened.part").toUtf8() +
               " && /bin/mv " + bin.filePath("opened.part").toUtf8() + " " + bin.filePath("opened").toUtf8();
    };
    const QString folder = QDir(program.path()).canonicalPath();
    const QString chm = program.filePath("korvane.chm");
    struct Case {
        const char* name;
        std::string page;
        const char* viewer;  // the desktop's default for CHM files
        bool xchmInstalled;
        QString opened;
    } const cases[] = {
        {"xchm at a page", "port.html", "xchm.desktop", true,
         "xchm " + folder + " file:" + chm + "#xchm:/port.html"},
        {"xchm at the start", "", "xchm.desktop", true, "xdg-open " + folder + " " + chm},
        {"another viewer", "port.html", "kchmviewer.desktop", true, "xdg-open " + folder + " " + chm},
        {"xchm named but missing", "port.html", "xchm.desktop", false, "xdg-open " + folder + " " + chm},
    };
    helpFile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : QDir(bin.path()).entryList(QDir::Files)) QFile::remove(bin.filePath(name));
        tool("xdg-open", recorder("xdg-open"));
        tool("xdg-mime", QByteArray("echo ") + c.viewer);
        tool("file", "");
        if (c.xchmInstalled) tool("xchm", recorder("xchm"));

        EXPECT_EQ(openHelp(c.page), QString());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(bin.filePath("opened")); }, 5000));
        QFile opened(bin.filePath("opened"));
        ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
        EXPECT_EQ(QString::fromUtf8(opened.readAll()).trimmed(), c.opened);
    }
}

}  // namespace
}  // namespace korvane
