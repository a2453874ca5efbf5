#include "qt/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "files/file_io.h"
#include "qt/binders.h"
#include "qt/document_opener.h"
#include "qt/form_registry.h"

namespace korvane {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// The file list of the save dialog in the program's language: Qt fills the
// type and date columns from the system's locale and its own English words.
class ChineseFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != kType && index.column() != kModified))
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        if (index.column() == kModified) return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        if (info.isDir()) return QStringLiteral("文件夹");
        return QMimeDatabase().mimeTypeForFile(info).comment();
    }

private:
    // The columns of QFileSystemModel.
    static constexpr int kType = 2;
    static constexpr int kModified = 3;
};

// Gives the activation back to the window that opened a modal one once that
// has closed: a window manager may leave it with none, and the access keys
// then do nothing until the user clicks.
class ActivateOnClose {
public:
    explicit ActivateOnClose(QWidget* opener) : opener_(opener) {}
    ~ActivateOnClose() {
        if (opener_ && opener_->isVisible()) opener_->activateWindow();
    }
    ActivateOnClose(const ActivateOnClose&) = delete;
    ActivateOnClose& operator=(const ActivateOnClose&) = delete;

private:
    QPointer<QWidget> opener_;
};

// The forms separate lines with a bare carriage return, which a Qt label
// would not break on.
QString DisplayText(const std::string& text) {
    return ToQt(text).replace(QLatin1String("\r\n"), "\n").replace(QLatin1Char('\r'), '\n');
}

}  // namespace

QtPlatform::~QtPlatform() {
    for (auto& [form, view] : modeless_) delete view.data();
}

QWidget* QtPlatform::parentWindow() const {
    for (auto it = modalStack_.rbegin(); it != modalStack_.rend(); ++it)
        if (*it) return it->data();
    // A main window not shown yet (behind the start screen) owns no dialog:
    // it would need a native window of its own made first, for nothing.
    if (mainWindow_ && !mainWindow_->isVisible()) return nullptr;
    return mainWindow_.data();
}

MessageAnswer QtPlatform::messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                     MessageButtons buttons) {
    const ActivateOnClose opener(parentWindow());
    QMessageBox box(ToQtIcon(icon), ToQt(title), DisplayText(text), QMessageBox::NoButton, parentWindow());
    box.setObjectName("MessageBox");
    box.setTextFormat(Qt::PlainText);
    switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    const int result = box.exec();
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (result == QMessageBox::Yes) return MessageAnswer::Yes;
    return result == QMessageBox::Cancel ? MessageAnswer::Cancel : MessageAnswer::No;
}

MessageAnswer QtPlatform::diffBox(const std::string& text, const std::string& diff,
                                  const std::string& title) {
    const ActivateOnClose opener(parentWindow());
    QDialog dialog(parentWindow());
    dialog.setObjectName("DiffBox");
    dialog.setWindowTitle(ToQt(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(DisplayText(text), &dialog);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* view = new QPlainTextEdit(&dialog);
    view->setObjectName("DiffView");
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QString shown = ToQt(diff);
    if (shown.endsWith('\n')) shown.chop(1);  // no empty line after the last
    view->setPlainText(shown);
    // Each line coloured by what it is, as diff viewers do.
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        const QString line = block.text();
        QTextCharFormat format;
        if (line.startsWith("---") || line.startsWith("+++")) {
            format.setFontWeight(QFont::Bold);
        } else if (line.startsWith('-')) {
            format.setBackground(QColor(0xFF, 0xE0, 0xE0));
            format.setForeground(QColor(0xA0, 0x00, 0x00));
        } else if (line.startsWith('+')) {
            format.setBackground(QColor(0xDD, 0xF8, 0xDD));
            format.setForeground(QColor(0x00, 0x70, 0x00));
        } else if (line.startsWith("@@")) {
            format.setForeground(QColor(0x00, 0x40, 0xB0));
        } else {
            continue;
        }
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
    layout->addWidget(view, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Yes | QDialogButtonBox::No, &dialog);
    buttons->button(QDialogButtonBox::Yes)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    const QRect screen =
        (parentWindow() ? parentWindow()->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    dialog.resize(std::min(900, screen.width() * 9 / 10), std::min(640, screen.height() * 9 / 10));
    return dialog.exec() == QDialog::Accepted ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string QtPlatform::inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) {
    const ActivateOnClose opener(parentWindow());
    QInputDialog dialog(parentWindow());
    dialog.setObjectName("InputBox");
    dialog.setWindowTitle(ToQt(title));
    dialog.setLabelText(DisplayText(prompt));
    dialog.setTextValue(ToQt(defaultText));
    if (dialog.exec() != QDialog::Accepted) return {};
    return FromQt(dialog.textValue());
}

QString QtPlatform::QtFilter(const std::string& filter) {
    const QStringList parts = ToQt(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        // Qt reads the patterns from the parentheses of the description.
        filters << (description.contains('(') ? description
                                              : QStringLiteral("%1 (%2)").arg(description, parts[i + 1]));
    }
    return filters.join(";;");
}

namespace {

// Both file dialogs: named, filtered, their file list in the program's
// language; the chosen file, or "" when the user cancels.
std::string RunFileDialog(QWidget* parent, const char* name, QFileDialog::AcceptMode mode,
                          const std::string& filter, const std::string& initialName) {
    const ActivateOnClose opener(parent);
    QFileDialog dialog(parent);
    dialog.setObjectName(name);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(QtPlatform::QtFilter(filter));
    // No default suffix: the save commands add their own, in one place with
    // the question about a file the added suffix leads to.
    dialog.setDefaultSuffix(QString());
    if (!initialName.empty()) dialog.selectFile(ToQt(initialName));
    dialog.setProxyModel(new ChineseFileColumns(&dialog));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? std::string() : FromQt(files.front());
}

}  // namespace

std::string QtPlatform::saveFileDialog(const std::string& initialName, const std::string& filter) {
    return RunFileDialog(parentWindow(), "SaveFileDialog", QFileDialog::AcceptSave, filter, initialName);
}

std::string QtPlatform::openFileDialog(const std::string& filter) {
    return RunFileDialog(parentWindow(), "OpenFileDialog", QFileDialog::AcceptOpen, filter, {});
}

namespace {

FileWriteResult Written(std::string error) {
    FileWriteResult result;
    if (!error.empty()) {
        result.status = FileWriteResult::Status::Failed;
        result.error = std::move(error);
    }
    return result;
}

}  // namespace

FileWriteResult QtPlatform::writeFileBytes(const std::string& path, const std::string& bytes) {
    return Written(ReplaceFileContents(path, bytes));
}

FileWriteResult QtPlatform::writeOwnFile(const std::string& path, const std::string& bytes) {
    return Written(ReplaceOwnFile(path, bytes));
}

FileWriteResult QtPlatform::writeLegacyTextFile(const std::string& path, const std::string& text) {
    return WriteGbkTextFile(path, text);
}

void QtPlatform::putClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(ToQt(text));
}

void QtPlatform::openDocument(const std::string& fileName, const std::string& page) {
    // xdg-open succeeds whether or not a viewer exists, so the user would see
    // nothing happen; say what is missing instead.
    const QString path = ToQt(programFolder() + "/" + fileName);
    const std::string problem = DocumentOpenProblem(path);
    if (problem.empty() && OpenWithDesktop(path, ToQt(page))) return;
    messageBox(problem.empty() ? "xdg-open 无法启动。" : problem, kDocumentOpenProblemTitle,
               MessageIcon::Warning, MessageButtons::Ok);
}

// The user's settings file (~/.config/Korvane/korvane.conf).
std::string QtPlatform::storedOption(const std::string& name) const {
    return FromQt(QSettings("Korvane", "korvane").value(ToQt(name)).toString());
}

void QtPlatform::storeOption(const std::string& name, const std::string& value) {
    QSettings("Korvane", "korvane").setValue(ToQt(name), ToQt(value));
}

std::string QtPlatform::programFolder() const {
    return FromQt(QCoreApplication::applicationDirPath());
}

void QtPlatform::showForm(FormId id, bool modal) {
    if (!context_) return;
    const FormEntry& entry = FindForm(id);
    std::unique_ptr<Form> form = entry.createForm(*context_);
    QWidget* view = entry.createView(*form, modal ? parentWindow() : nullptr);
    // F1 opens the help at the window's own page, through the main window's
    // help command, which knows the help file.
    if (const std::string page = FormHelpPage(id); !page.empty()) {
        auto* help = new QShortcut(QKeySequence(Qt::Key_F1), view);
        QObject::connect(help, &QShortcut::activated, view, [this, page] {
            if (context_ && context_->mainWindow) context_->mainWindow->showHelp(page);
        });
    }
    if (!modal) {
        form->load();
        view->show();
        modeless_.emplace_back(std::move(form), view);
        return;
    }
    const ActivateOnClose opener(parentWindow());
    modalStack_.emplace_back(view);
    form->load();
    if (!form->unloaded()) {
        if (auto* dialog = qobject_cast<QDialog*>(view)) dialog->exec();
    }
    modalStack_.pop_back();
    delete view;  // the view goes before the form it mirrors
}

void QtPlatform::endProgram() {
    QCoreApplication::exit(0);
}

}  // namespace korvane
