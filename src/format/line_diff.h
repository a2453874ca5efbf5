#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// A text's lines without their line ends (CR LF or LF); a last line end
// makes no empty line after it.
std::vector<std::string> SplitLines(std::string_view text);

// `text` with every CR LF line end made LF.
std::string WithLf(std::string_view text);

// The lines (from 0) of `after` that are not in a longest common
// subsequence with `before`: what an edit added or changed.
std::vector<int> ChangedLines(std::string_view before, std::string_view after);

// Three-way merge of lines, as version control merges: what changed from
// `base` to `ours` and from `base` to `theirs` both go in; where both changed
// the same lines differently, both are kept between conflict markers
// ("<<<<<<< " ours label, "=======", ">>>>>>> " theirs label).
struct LineMerge {
    std::vector<std::string> lines;
    std::vector<std::size_t> conflicts;  // the index of each "<<<<<<<" line
};
inline constexpr std::string_view kConflictStart = "<<<<<<< ";
inline constexpr std::string_view kConflictMiddle = "=======";
inline constexpr std::string_view kConflictEnd = ">>>>>>> ";
LineMerge MergeLines(const std::vector<std::string>& base, const std::vector<std::string>& ours,
                     const std::vector<std::string>& theirs, std::string_view oursLabel,
                     std::string_view theirsLabel);

// The change from `before` to `after` as a unified diff with three lines of
// context; the texts' lines ended by `lineEnd` and the diff's own lines by LF
// (as diff writes a CR LF file's change, so patch keeps the CRs), each name
// ended by a tab (so a name with a blank is read whole) and a last line
// without its line end marked "\ No newline at end of file"; "" when the
// texts are the same. The texts' bytes are taken as they are, in any encoding in which
// a LF byte is always a line end.
std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view beforeName,
                        std::string_view afterName, std::string_view lineEnd = "\n");

}  // namespace korvane
