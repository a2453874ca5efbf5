#include "generator/source_lines.h"

#include <algorithm>

namespace korvane {

namespace {
constexpr std::string_view kCrLf = "\r\n";

// Two searches for one character each: find_first_of("\r\n") tests every
// character against the set and made the whole source three times slower.
std::size_t FirstLineBreak(std::string_view piece) {
    return std::min(piece.find('\r'), piece.find('\n'));
}
}  // namespace

void SourceLines::AppendPiece(std::string_view piece) {
    // Line ends are the generator's alone: a line break inside a setting's
    // text (a pasted time, a hand-edited file) becomes one blank, so it can
    // neither end a comment early nor leave a bare CR or LF in the text.
    while (!piece.empty()) {
        const std::size_t brk = FirstLineBreak(piece);
        text_ += piece.substr(0, brk);
        if (brk == std::string_view::npos) break;
        text_ += ' ';
        const bool crLf = piece[brk] == '\r' && brk + 1 < piece.size() && piece[brk + 1] == '\n';
        piece.remove_prefix(brk + (crLf ? 2 : 1));
    }
}

void SourceLines::Append(std::initializer_list<std::string_view> pieces) {
    for (std::string_view piece : pieces) AppendPiece(piece);
}

void SourceLines::EndLine() {
    // A backslash at the end would join the next line to this one (a comment
    // would swallow it).
    while (!text_.empty() && text_.back() == '\\') text_.pop_back();
    text_ += kCrLf;
}

void SourceLines::Line(std::initializer_list<std::string_view> pieces) {
    Append(pieces);
    EndLine();
}

void SourceLines::Comment(std::initializer_list<std::string_view> pieces) {
    if (withComments_) Line(pieces);
}

void SourceLines::LineWithComment(std::initializer_list<std::string_view> statement,
                                  std::string_view comment) {
    Append(statement);
    if (withComments_) AppendPiece(comment);
    EndLine();
}

}  // namespace korvane
