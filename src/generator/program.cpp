#include "generator/program.h"

#include <cctype>

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

Ring RingOf(std::string_view variable) {
    const std::string v(variable);
    std::string size = v + "_SIZE";
    for (char& c : size) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return {v + "_buf", v + "_head", v + "_tail", size};
}

std::string SpellBits(std::string_view line, const std::function<std::string(std::string_view)>& spell) {
    std::string text;
    while (!line.empty()) {
        const std::size_t open = line.find('{');
        const std::size_t close = open == std::string_view::npos ? open : line.find('}', open);
        // A brace of the C itself is followed by a blank or ends the line.
        if (close == std::string_view::npos || close == open + 1 ||
            !std::isupper(static_cast<unsigned char>(line[open + 1]))) {
            const std::size_t kept = open == std::string_view::npos ? line.size() : open + 1;
            text += line.substr(0, kept);
            line.remove_prefix(kept);
            continue;
        }
        text += line.substr(0, open);
        text += spell(line.substr(open + 1, close - open - 1));
        line.remove_prefix(close + 1);
    }
    return text;
}

std::string ResultVariable(const Branch& branch) {
    return branch.dataVariable + (branch.service == Service::KeepResult ? "_value" : "_result");
}

}  // namespace korvane
