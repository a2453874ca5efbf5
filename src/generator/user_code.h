#pragma once

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
// The text outside the regions is the program's. A stamp in front of it
// (a hash of that text and a check letter for each of its lines) lets an
// update tell, and point at, a line the user changed there.

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
    // Forced past a refusal: what it was. With damaged markers no region
    // could be trusted, so none is carried.
    std::vector<MergeRefusal> overridden;
};

using MergeResult = std::variant<MergedText, MergeRefusal>;

// What the program says of a region whose module is back.
std::string RestoredText(std::string_view name);

// Carries every region of `oldText` (UTF-8, CR LF or LF) into `newText`
// (a stamped modern text) by name. Refuses when the old text has no stamp,
// was changed outside its regions, or has damaged markers (an end missing,
// a name twice, a region inside another) - unless `force`, which merges
// what can be trusted and tells what it overrode.
MergeResult MergeUserCode(std::string_view oldText, std::string_view newText, bool force);

}  // namespace korvane
