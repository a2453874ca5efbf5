#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/app_context.h"
#include "platform/platform.h"

namespace korvane {

// A scripted Platform for logic tests. It records every box, file, clipboard
// put and window in order, and answers from the queues below. A box or dialog
// with nothing scripted counts as a test failure and is answered No / Cancel,
// so a runaway loop ends.
class FakePlatform : public Platform {
public:
    struct Message {
        std::string text, title;
        MessageIcon icon;
        MessageButtons buttons;
    };
    struct Input {
        std::string prompt, title, defaultText;
    };

    // Answers for Yes/No boxes (OK boxes need none), input boxes and save dialogs.
    std::deque<MessageAnswer> answers;
    std::deque<std::string> inputs;
    std::deque<std::string> savePaths;
    std::deque<std::string> openPaths;
    // What "the user" does inside a form opened, e.g. change settings.
    std::map<FormId, std::function<void()>> formActions;
    // When set, writing a file fails with this reason.
    std::string writeFailure;

    // Everything that happened, in order: "message:<title>", "input:<title>",
    // "save:<initial name>", "openfile", "write:<path>", "clipboard", "open:<file>",
    // "form:<name>" (or "form:<name>:modeless"), "end".
    std::vector<std::string> events;
    std::vector<Message> messages;
    std::vector<Input> inputBoxes;
    std::vector<std::string> saveFilters;
    std::vector<std::string> openFilters;
    std::map<std::string, std::string> files;  // path -> bytes written (GBK for a legacy text file)
    std::string clipboard;
    int clipboardPuts = 0;
    std::vector<std::string> openedDocuments;
    std::vector<std::string> shownForms;
    int endProgramCalls = 0;
    std::string folder = "/opt/korvane";
    std::map<std::string, std::string> options;  // what storeOption kept

    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    // Recorded as a question box whose text is the text, "\r" and the diff.
    MessageAnswer diffBox(const std::string& text, const std::string& diff,
                          const std::string& title) override {
        return messageBox(text + "\r" + diff, title, MessageIcon::Question, MessageButtons::YesNo);
    }
    std::string saveFileDialog(const std::string& initialName, const std::string& filter) override;
    std::string openFileDialog(const std::string& filter) override;
    FileWriteResult writeLegacyTextFile(const std::string& path, const std::string& text) override;
    FileWriteResult writeFileBytes(const std::string& path, const std::string& bytes) override;
    FileWriteResult writeOwnFile(const std::string& path, const std::string& bytes) override {
        return writeFileBytes(path, bytes);
    }
    void putClipboardText(const std::string& text) override;
    void openDocument(const std::string& fileName, const std::string& page) override;
    std::string programFolder() const override { return folder; }
    std::string storedOption(const std::string& name) const override {
        const auto found = options.find(name);
        return found == options.end() ? std::string() : found->second;
    }
    void storeOption(const std::string& name, const std::string& value) override { options[name] = value; }
    void showForm(FormId form, bool modal) override;
    void endProgram() override;

    // Titles of the message boxes shown so far, in order.
    std::vector<std::string> messageTitles() const;
};

// What a dialog test starts from: default settings, a scripted platform and
// the context forms are built with. Open() builds a form, FormT unless told,
// and loads it as showing it would.
template <class FormT>
class FormFixture : public ::testing::Test {
protected:
    ProjectSettings settings;
    FakePlatform platform;
    AppContext context{settings, platform};

    template <class F = FormT>
    std::unique_ptr<F> Open() {
        auto form = std::make_unique<F>(context);
        form->load();
        return form;
    }
};

}  // namespace korvane
