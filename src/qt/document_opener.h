#pragma once

#include <QString>
#include <string>

namespace korvane {

// What keeps the desktop from showing a document with its registered viewer,
// as a message for the user (lines separated by "\r"); empty when nothing
// does. The desktop opens documents through xdg-open, which reports nothing
// to the program when the file or its viewer is missing.
std::string DocumentOpenProblem(const QString& path);

// Title of the box that shows such a problem.
extern const char* const kDocumentOpenProblemTitle;

// Opens the document with the desktop's viewer for its type, with the
// document's folder as the working folder: at `page` inside it when that
// viewer can be told a page, else (and for an empty `page`) through xdg-open
// at its start. Returns false when the viewer could not be started.
bool OpenWithDesktop(const QString& path, const QString& page);

}  // namespace korvane
