#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "controls/app_context.h"
#include "controls/form.h"
#include "platform/platform.h"

namespace korvane {

// Platform on Qt Widgets. Forms are opened through the form table
// (form_registry.cpp); boxes and dialogs are parented to the innermost open
// window so they stay above it.
class QtPlatform : public Platform {
public:
    QtPlatform() = default;
    ~QtPlatform() override;

    // Forms are built with this context.
    void setContext(AppContext* context) { context_ = context; }
    // The window that boxes belong to while no dialog is open.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    // A dialog ("DiffBox") with the text above the whole diff ("DiffView"):
    // monospace, no wrapping, scrollable, removed lines red, added green.
    MessageAnswer diffBox(const std::string& text, const std::string& diff,
                          const std::string& title) override;
    std::string saveFileDialog(const std::string& initialName, const std::string& filter) override;
    std::string openFileDialog(const std::string& filter) override;
    FileWriteResult writeLegacyTextFile(const std::string& path, const std::string& text) override;
    FileWriteResult writeFileBytes(const std::string& path, const std::string& bytes) override;
    FileWriteResult writeOwnFile(const std::string& path, const std::string& bytes) override;
    void putClipboardText(const std::string& text) override;
    void openDocument(const std::string& fileName, const std::string& page) override;
    std::string programFolder() const override;
    std::string storedOption(const std::string& name) const override;
    void storeOption(const std::string& name, const std::string& value) override;
    void showForm(FormId form, bool modal) override;
    void endProgram() override;

    // The Qt form of a "desc|pattern|desc|pattern" filter: "desc;;desc".
    static QString QtFilter(const std::string& filter);

private:
    QWidget* parentWindow() const;

    AppContext* context_ = nullptr;
    QPointer<QWidget> mainWindow_;
    std::vector<QPointer<QWidget>> modalStack_;
    // Modeless forms live until the program ends; their views die first.
    std::vector<std::pair<std::unique_ptr<Form>, QPointer<QWidget>>> modeless_;
};

}  // namespace korvane
