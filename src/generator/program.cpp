#include "generator/program.h"

namespace korvane {

void Body::Comment(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces) text += piece;
    steps.emplace_back(Note{std::move(text), false});
}

void Body::CommentKeepingLine(std::string_view text) {
    steps.emplace_back(Note{std::string(text), true});
}

void Body::Set(std::vector<Write> writes, std::string_view comment, Layout layout) {
    steps.emplace_back(Assign{std::move(writes), std::string(comment), layout});
}

void Body::SetBit(std::string_view target, std::int64_t value, std::string_view comment) {
    Set({{std::string(target), value, ValueForm::Bit}}, comment);
}

void Body::SetBitAlone(std::string_view target, std::int64_t value, std::string_view comment) {
    steps.emplace_back(
        Assign{{{std::string(target), value, ValueForm::Bit}}, std::string(comment), Layout::Packed, true});
}

}  // namespace korvane
