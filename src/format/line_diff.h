#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// A text's lines without their line ends (CR LF or LF); a last line end
// makes no empty line after it.
std::vector<std::string> SplitLines(std::string_view text);

// The lines (from 0) of `after` that are not in a longest common
// subsequence with `before`: what an edit added or changed.
std::vector<int> ChangedLines(std::string_view before, std::string_view after);

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
