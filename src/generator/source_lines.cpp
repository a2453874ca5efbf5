#include "generator/source_lines.h"

#include <cmath>

namespace korvane {

namespace {
constexpr std::string_view kCrLf = "\r\n";
}

void SourceLines::AppendPiece(std::string_view piece) {
    // Line ends are the generator's alone: a line break inside a setting's
    // text (a pasted time, a hand-edited file) becomes one blank, so it can
    // neither end a comment early nor leave a bare CR or LF in the text.
    while (!piece.empty()) {
        const std::size_t brk = piece.find_first_of("\r\n");
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

void SourceLines::Line(std::initializer_list<std::string_view> pieces) {
    Append(pieces);
    text_ += kCrLf;
}

void SourceLines::Comment(std::initializer_list<std::string_view> pieces) {
    if (withComments_) Line(pieces);
}

void SourceLines::LineWithComment(std::initializer_list<std::string_view> statement,
                                  std::string_view comment) {
    Append(statement);
    if (withComments_) AppendPiece(comment);
    text_ += kCrLf;
}

bool AnyPortUsed(const ProjectSettings& s) {
    return s.PortAUsed != 0 || s.PortBUsed != 0 || s.PortCUsed != 0 || s.PortDUsed != 0 ||
           s.PortEUsed != 0;
}

bool AnyTimerUsed(const ProjectSettings& s) {
    return s.T0En.isTrue() || s.T1En.isTrue() || s.T2En.isTrue();
}

bool AnyCcpUsed(const ProjectSettings& s) { return s.Ccp1En.isTrue() || s.Ccp2En.isTrue(); }

bool SciUsed(const ProjectSettings& s) { return s.SciEn.equals(1); }

bool AnyInterrupt(const ProjectSettings& s) {
    return s.T0Int != 0 || s.T1Int != 0 || s.T2Int != 0 || s.Ccp1Int != 0 || s.Ccp2Int != 0 ||
           s.SciTxInt.equals(1) || s.SciRxInt == 1;
}

std::int64_t IndexValue(const SettingValue& value) {
    const auto number = value.toNumber();
    if (!number || std::isnan(*number)) return 0;
    const double limit = 2147483647.0;
    return static_cast<std::int64_t>(std::nearbyint(std::fmax(-limit, std::fmin(limit, *number))));
}

std::string_view BitDigit(std::int64_t index, int k) { return (index >> k) & 1 ? "1" : "0"; }

}  // namespace korvane
