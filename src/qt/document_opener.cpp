#include "qt/document_opener.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <utility>

namespace korvane {

const char* const kDocumentOpenProblemTitle = "无法打开帮助";

namespace {

// The Debian packages that let the desktop open a file by its type.
struct Tool {
    const char* program;
    const char* package;
};
constexpr Tool kDesktopTools[] = {{"xdg-open", "xdg-utils"}, {"xdg-mime", "xdg-utils"}, {"file", "file"}};

// Viewers worth naming for the documents this program opens.
constexpr struct {
    const char* mimeType;
    const char* package;
} kViewerPackages[] = {{"application/vnd.ms-htmlhelp", "xchm"}};

// Viewers that open a page given at start, by their desktop entry: xchm takes
// "file:" and the file's path with "#xchm:/" and the page after it.
constexpr struct {
    const char* desktopEntry;
    const char* program;
    const char* pageUrl;  // %1 the document's absolute path, %2 the page
} kPageViewers[] = {{"xchm.desktop", "xchm", "file:%1#xchm:/%2"}};

std::string InstallHint(const std::string& package) {
    return "请安装软件包 " + package + "，例如：\rsudo apt-get install " + package;
}

std::string DefaultApplication(const QString& xdgMime, const QString& mimeType) {
    QProcess query;
    query.start(xdgMime, {"query", "default", mimeType});
    if (!query.waitForFinished(10000)) {
        query.kill();
        query.waitForFinished();
        return {};
    }
    return query.readAllStandardOutput().trimmed().toStdString();
}

}  // namespace

std::string DocumentOpenProblem(const QString& path) {
    const std::string shownPath = path.toStdString();
    if (!QFileInfo(path).isFile()) return "找不到帮助文件 " + shownPath + "\r请重新安装Korvane。";
    for (const Tool& tool : kDesktopTools) {
        if (QStandardPaths::findExecutable(tool.program).isEmpty())
            return "缺少打开文件所需的程序 " + std::string(tool.program) + "。\r" + InstallHint(tool.package);
    }
    const QString mimeType = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    if (!DefaultApplication(QStandardPaths::findExecutable("xdg-mime"), mimeType).empty()) return {};
    // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) about a
    // literal put in front of a temporary string.
    std::string text = "没有找到可以打开 ";
    text += QFileInfo(path).fileName().toStdString();
    text += " 的程序。";
    for (const auto& viewer : kViewerPackages) {
        if (mimeType != QLatin1String(viewer.mimeType)) continue;
        text += '\r';
        text += InstallHint(viewer.package);
    }
    return text;
}

namespace {

// The program and arguments that open `path` at `page`, or xdg-open with the
// path alone when the desktop's viewer cannot be told a page.
std::pair<QString, QStringList> Opener(const QString& path, const QString& page) {
    if (!page.isEmpty()) {
        const QString mimeType = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
        const std::string viewer = DefaultApplication(QStandardPaths::findExecutable("xdg-mime"), mimeType);
        for (const auto& known : kPageViewers) {
            const QString program = QStandardPaths::findExecutable(known.program);
            if (viewer != known.desktopEntry || program.isEmpty()) continue;
            return {program,
                    {QString::fromLatin1(known.pageUrl).arg(QFileInfo(path).absoluteFilePath(), page)}};
        }
    }
    return {QStandardPaths::findExecutable("xdg-open"), {path}};
}

}  // namespace

bool OpenWithDesktop(const QString& path, const QString& page) {
    QProcess opener;
    const auto [program, arguments] = Opener(path, page);
    opener.setProgram(program);
    opener.setArguments(arguments);
    opener.setWorkingDirectory(QFileInfo(path).absolutePath());
    // The viewer's own diagnostics (GTK's, for one) are not this program's.
    opener.setStandardOutputFile(QProcess::nullDevice());
    opener.setStandardErrorFile(QProcess::nullDevice());
    return opener.startDetached();
}

}  // namespace korvane
