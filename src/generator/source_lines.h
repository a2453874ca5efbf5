#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace korvane {

// Collects the classic writer's lines. Every line ends with CRLF, and no other CR or LF is
// written; comment lines and same-line comments are dropped when comments
// are off.
class SourceLines {
public:
    explicit SourceLines(bool withComments) : withComments_(withComments) {}

    void Line(std::initializer_list<std::string_view> pieces);
    void Comment(std::initializer_list<std::string_view> pieces);
    // A statement with a comment appended directly after it.
    void LineWithComment(std::initializer_list<std::string_view> statement, std::string_view comment);

    bool withComments() const { return withComments_; }
    std::string Take() { return std::move(text_); }

private:
    void Append(std::initializer_list<std::string_view> pieces);
    void EndLine();
    void AppendPiece(std::string_view piece);

    bool withComments_;
    std::string text_;
};

}  // namespace korvane
