#pragma once

#include <string>
#include <vector>

#include "files/file_io.h"
#include "platform/form_id.h"

namespace korvane {

enum class MessageIcon { Information, Question, Warning, Error };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// What the form logic asks of the desktop: boxes, file dialogs, files, the
// clipboard and documents. The logic never opens a box itself; the Qt layer
// implements this, tests script a fake. All texts are UTF-8. Message texts
// separate lines with a single "\r".
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // A message box; with Yes/No, Yes is the default button. Returns the
    // button pressed (Ok for an OK box); closing a Yes/No box answers No, a
    // Yes/No/Cancel box Cancel.
    virtual MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    // An input box; returns the typed text, or "" when cancelled.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
    // A save dialog that confirms before overwriting and adds no extension.
    // `filter` pairs description and pattern with "|": "C文件(*.c)|*.c".
    // Returns the chosen path, or "" when cancelled.
    virtual std::string saveFileDialog(const std::string& initialName, const std::string& filter) = 0;
    // An open dialog for an existing file, with a filter as above. Returns the
    // chosen path, or "" when cancelled.
    virtual std::string openFileDialog(const std::string& filter) = 0;
    // Writes `text` unchanged (no byte-order mark, line ends kept) in GBK,
    // replacing the file only once the whole text is safely written.
    virtual FileWriteResult writeLegacyTextFile(const std::string& path, const std::string& text) = 0;
    // Writes `bytes` as they are, with the same care (a UTF-8 text).
    virtual FileWriteResult writeFileBytes(const std::string& path, const std::string& bytes) = 0;
    // Writes a file of the program's own beside the user's (an update's
    // base): a link at its name is replaced, never followed.
    virtual FileWriteResult writeOwnFile(const std::string& path, const std::string& bytes) = 0;
    // A question about a change: `text` above the change as a unified diff
    // (UTF-8, all of it, scrollable), Yes/No as messageBox. A platform with
    // no view of its own asks with the text alone.
    virtual MessageAnswer diffBox(const std::string& text, const std::string& /*diff*/,
                                  const std::string& title) {
        return messageBox(text, title, MessageIcon::Question, MessageButtons::YesNo);
    }
    virtual void putClipboardText(const std::string& text) = 0;
    // Asks the desktop to open a document from the program's folder with its
    // registered viewer, at `page` inside it (a help page such as
    // "port.html") or at its start when `page` is ""; a viewer that cannot be
    // told a page shows the start. The outcome is not reported.
    virtual void openDocument(const std::string& fileName, const std::string& page) = 0;
    // The folder the program runs from, where its pictures and help live.
    virtual std::string programFolder() const = 0;
    // An option the program keeps across runs (a menu option), "" when it
    // was never stored. A platform that keeps none forgets them.
    virtual std::string storedOption(const std::string& /*name*/) const { return {}; }
    virtual void storeOption(const std::string& /*name*/, const std::string& /*value*/) {}
};

// Moving between the program's windows.
class Navigation {
public:
    virtual ~Navigation() = default;
    // Opens a form. Modal: returns when it has closed. Otherwise returns at once.
    virtual void showForm(FormId form, bool modal) = 0;
    // Ends the whole program: every open window closes, no handler runs after.
    virtual void endProgram() = 0;
};

// Both, as one desktop implements them.
class Platform : public DesktopServices, public Navigation {};

}  // namespace korvane
