#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "settings/setting_value.h"

namespace korvane {

// Collects generated lines so that a section builder reads like the list of
// lines it writes. Every line ends with CRLF, and no other CR or LF is
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

// Bit k of an option index as the digit "0" or "1".
std::string_view BitDigit(std::int64_t index, int k);
// A 0/1 setting as the digit it is; anything else is 0.
std::string_view BitOf(const SettingValue& value);
// A calculator's register text, when it is one ("0x0F"); nothing while no
// value has been worked out, and the statement that would write it is left out.
std::optional<std::string_view> RegisterValue(std::string_view text);

}  // namespace korvane
