#include "fake_platform.h"

#include <gtest/gtest.h>

#include "format/gbk.h"

namespace korvane {

MessageAnswer FakePlatform::messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                       MessageButtons buttons) {
    events.push_back("message:" + title);
    messages.push_back({text, title, icon, buttons});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << title << " / " << text;
        return MessageAnswer::No;
    }
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string FakePlatform::inputBox(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) {
    events.push_back("input:" + title);
    inputBoxes.push_back({prompt, title, defaultText});
    if (inputs.empty()) {
        ADD_FAILURE() << "unscripted input box: " << title;
        return {};
    }
    auto text = inputs.front();
    inputs.pop_front();
    return text;
}

std::string FakePlatform::saveFileDialog(const std::string& initialName, const std::string& filter) {
    events.push_back("save:" + initialName);
    saveFilters.push_back(filter);
    if (savePaths.empty()) {
        ADD_FAILURE() << "unscripted save dialog";
        return {};
    }
    auto path = savePaths.front();
    savePaths.pop_front();
    return path;
}

std::string FakePlatform::openFileDialog(const std::string& filter) {
    events.push_back("openfile");
    openFilters.push_back(filter);
    if (openPaths.empty()) {
        ADD_FAILURE() << "unscripted open dialog";
        return {};
    }
    auto path = openPaths.front();
    openPaths.pop_front();
    return path;
}

FileWriteResult FakePlatform::writeFileBytes(const std::string& path, const std::string& bytes) {
    events.push_back("write:" + path);
    FileWriteResult result;
    if (!writeFailure.empty()) {
        result.status = FileWriteResult::Status::Failed;
        result.error = writeFailure;
    } else {
        files[path] = bytes;
    }
    return result;
}

FileWriteResult FakePlatform::writeLegacyTextFile(const std::string& path, const std::string& text) {
    events.push_back("write:" + path);
    FileWriteResult result;
    auto encoded = EncodeGbk(text);
    if (!encoded.unencodable.empty()) {
        result.status = FileWriteResult::Status::Unencodable;
        result.unencodable = encoded.unencodable;
    } else if (!writeFailure.empty()) {
        result.status = FileWriteResult::Status::Failed;
        result.error = writeFailure;
    } else {
        files[path] = encoded.bytes;
    }
    return result;
}

void FakePlatform::putClipboardText(const std::string& text) {
    events.push_back("clipboard");
    clipboard = text;
    ++clipboardPuts;
}

void FakePlatform::openDocument(const std::string& fileName, const std::string& page) {
    events.push_back("open:" + fileName + (page.empty() ? "" : "#" + page));
    openedDocuments.push_back(fileName);
}

void FakePlatform::showForm(FormId form, bool modal) {
    const std::string formName = FormName(form);
    events.push_back("form:" + formName + (modal ? "" : ":modeless"));
    shownForms.push_back(formName);
    if (auto action = formActions.find(form); action != formActions.end() && action->second) action->second();
}

void FakePlatform::endProgram() {
    events.push_back("end");
    ++endProgramCalls;
}

std::vector<std::string> FakePlatform::messageTitles() const {
    std::vector<std::string> titles;
    for (const auto& message : messages) titles.push_back(message.title);
    return titles;
}

}  // namespace korvane
