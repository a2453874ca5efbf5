#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace korvane {

// The user's code in the modern forms: regions between marker comments,
// each with a name that does not depend on the order of the modules, which
// an update carries from the old file into the newly generated text.
//
//     /* 用户代码开始: 中断 TMR1IF */
//     ...the user's lines...
//     /* 用户代码结束: 中断 TMR1IF */
//
// The text outside the regions is the program's. A stamp in front of it,
// one ASCII line with a hash of that text, ties the file to the text last
// generated for it (the base, kept beside it): with the base an update
// merges the user's edits there as version control does; without it, the
// hash tells an edit that only region carrying would lose.

inline constexpr std::string_view kGlobalsRegion = "全局";
inline constexpr std::string_view kBeforeLoopRegion = "主循环前";
inline constexpr std::string_view kLoopRegion = "主循环";
// Regions of modules that are gone, kept commented out at the end.
inline constexpr std::string_view kKeptPrefix = "保留 ";

std::string BranchRegion(std::string_view flag);  // "中断 TMR1IF"
std::string RegionStart(std::string_view name);
std::string RegionEnd(std::string_view name);

// `body` (CR LF lines) with its stamp lines in front.
std::string Stamped(std::string_view body);

// Why an old file cannot be taken apart safely, at a line (from 1) of it.
struct MergeRefusal {
    enum class Kind { NoStamp, EditedOutside, DamagedMarkers };
    Kind kind;
    int line;
    std::string reason;
};

struct MergedText {
    std::string text;                   // the new text with the user's regions, stamped, CR LF
    std::vector<std::string> kept;      // regions whose module is gone, now commented out at the end
    std::vector<std::string> restored;  // regions whose module is back, their kept code uncommented in them
    // Forced past a refusal: what it was. With damaged markers every region
    // whose markers still pair up is carried, the rest of the text is not.
    std::vector<MergeRefusal> overridden;
    // No base to merge with: only the regions were carried.
    bool carriedOnly = false;
    // Lines (from 1) of `text` where a conflict between the user's edit and
    // the new generation opens, both kept between conflict markers.
    std::vector<int> conflicts;
};

using MergeResult = std::variant<MergedText, MergeRefusal>;

// Whether `text` starts with a stamp: a modern text, one to update.
bool IsStamped(std::string_view text);

// What the program says of an update without a base, and of a conflict.
inline constexpr std::string_view kCarriedOnlyText =
    "没有上次生成的文本,只带入了用户代码区;用户代码区以外的修改无法合并";
inline constexpr std::string_view kConflictText =
    "冲突:此处的修改与新生成的文本不同,两者都已保留在冲突标记<<<<<<< ======= >>>>>>>之间";

// What the program says of a region whose module is back.
std::string RestoredText(std::string_view name);

// Carries every region of `oldText` (UTF-8, CR LF or LF) into `newText`
// (a stamped modern text) by name. With `baseText`, the text generated when
// `oldText` was written (same stamp), the user's edits outside the regions
// are merged in three ways; without it, an old text changed outside its
// regions is refused. Refuses when the old text has no stamp or has damaged
// markers (an end missing, a name twice, a region inside another) - unless
// `force`, which merges what can be trusted and tells what it overrode.
MergeResult MergeUserCode(std::string_view oldText, std::string_view newText, bool force,
                          std::optional<std::string_view> baseText = std::nullopt);

}  // namespace korvane
