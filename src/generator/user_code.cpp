#include "generator/user_code.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include "format/line_diff.h"
#include "format/utf8.h"

namespace korvane {

namespace {

constexpr std::string_view kStartHead = "/* 用户代码开始: ";
constexpr std::string_view kEndHead = "/* 用户代码结束: ";
constexpr std::string_view kTail = " */";
// The stamp: one ASCII line, so no editor's encoding can garble it.
constexpr std::string_view kStampHead = "/* Korvane ";
// Files of earlier versions carry a stamp of several lines: a hash and a
// check letter per line, which still tell where such a file was edited.
constexpr std::string_view kLegacyStampHead = "/* Korvane 校验: ";
constexpr std::string_view kLettersHead = "/* Korvane 行校验: ";
constexpr std::string_view kKeptNote = "/* 以下是已去掉的模块中的用户代码,已注释掉,保留备查 */";
// One letter per line outside the regions, six bits each; the letters
// avoid '*' and '/', which could end the comment they stand in.
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kOursLabel = "文件中的文本";
constexpr std::string_view kTheirsLabel = "新生成的文本";

std::string_view Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Editors that strip trailing blanks change nothing the compiler sees.
std::string_view TrimmedEnd(std::string_view s) {
    const auto last = s.find_last_not_of(" \t");
    return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

std::uint64_t Fnv1a(std::string_view s, std::uint64_t hash = 14695981039346656037ULL) {
    for (const char c : s) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::optional<std::string_view> Between(std::string_view line, std::string_view head) {
    const std::string_view t = Trimmed(line);
    if (t.size() <= head.size() + kTail.size() || !t.starts_with(head) || !t.ends_with(kTail))
        return std::nullopt;
    return t.substr(head.size(), t.size() - head.size() - kTail.size());
}

struct Marker {
    bool start;
    std::string name;
};

// A name holding "*/" or "/*" is code after a comment, not a marker: taken
// as one, that code would be carried as a name and kept as a live line.
std::optional<Marker> MarkerOf(std::string_view line) {
    for (const bool start : {true, false}) {
        const auto name = Between(line, start ? kStartHead : kEndHead);
        if (!name) continue;
        if (name->find("*/") != std::string_view::npos || name->find("/*") != std::string_view::npos)
            return std::nullopt;
        return Marker{start, std::string(*name)};
    }
    return std::nullopt;
}

struct Region {
    std::string name;
    std::size_t start;  // the marker lines
    std::size_t end;
};

struct Layout {
    std::vector<Region> regions;
    std::optional<MergeRefusal> damage;
};

MergeRefusal Damaged(std::size_t index, std::string reason) {
    return {MergeRefusal::Kind::DamagedMarkers, static_cast<int>(index) + 1, std::move(reason)};
}

std::string Quoted(std::string_view name) {
    return "“" + QuoteShort(name) + "”";
}

// The regions, and the first damage to the markers. Past damage the walk
// goes on, keeping every region whose start and end still pair up (a name
// twice gives two), so that a forced update loses none of them.
Layout FindRegions(const std::vector<std::string>& lines, std::size_t from) {
    Layout layout;
    std::optional<Region> open;
    std::set<std::string, std::less<>> names;
    const auto damage = [&](std::size_t i, std::string reason) {
        if (!layout.damage) layout.damage = Damaged(i, std::move(reason));
    };
    for (std::size_t i = from; i < lines.size(); ++i) {
        auto marker = MarkerOf(lines[i]);
        if (!marker) continue;
        if (marker->start) {
            if (open)
                damage(i, "用户代码区" + Quoted(marker->name) + "开始在用户代码区" + Quoted(open->name) +
                              "之内(第" + std::to_string(open->start + 1) + "行开始,没有结束)");
            else if (names.contains(marker->name))
                damage(i, "用户代码区" + Quoted(marker->name) + "出现了两次");
            open = Region{std::move(marker->name), i, i};
        } else if (!open) {
            damage(i, "用户代码区" + Quoted(marker->name) + "的结束标记前没有开始标记");
        } else if (marker->name != open->name) {
            damage(i, "结束标记" + Quoted(marker->name) + "与第" + std::to_string(open->start + 1) +
                          "行的开始标记" + Quoted(open->name) + "不符");
            open.reset();
        } else {
            open->end = i;
            names.insert(open->name);
            layout.regions.push_back(std::move(*open));
            open.reset();
        }
    }
    if (open) damage(open->start, "用户代码区" + Quoted(open->name) + "没有结束标记");
    return layout;
}

// Where the kept code of modules that are gone begins (the blank line before
// its note), or the end.
std::size_t KeptBlockAt(const std::vector<std::string>& lines) {
    for (std::size_t i = lines.size(); i-- > 0;)
        if (Trimmed(lines[i]) == kKeptNote) return i > 0 && Trimmed(lines[i - 1]).empty() ? i - 1 : i;
    return lines.size();
}

// The lines that are the program's: all but the stamp and the regions'
// contents (their markers included), with their indices. The kept block at
// the end is the update's, not the generator's: the stamp, which describes
// what was generated, leaves it out (files of earlier versions did not).
std::vector<std::size_t> OutsideLines(const std::vector<std::string>& lines, std::size_t from,
                                      const std::vector<Region>& regions, bool withKept = false) {
    std::vector<std::size_t> outside;
    auto region = regions.begin();
    const std::size_t end = withKept ? lines.size() : KeptBlockAt(lines);
    for (std::size_t i = from; i < end; ++i) {
        while (region != regions.end() && region->end < i) ++region;
        if (region != regions.end() && region->start < i && i < region->end) continue;
        outside.push_back(i);
    }
    return outside;
}

struct Stamp {
    std::uint64_t hash = 0;
    std::string letters;    // an earlier version's check letters
    std::size_t lines = 0;  // how many lines it takes at the top
    bool legacy = false;
};

std::uint64_t HashOf(const std::vector<std::string>& lines, const std::vector<std::size_t>& outside) {
    std::uint64_t hash = Fnv1a({});
    for (const std::size_t i : outside) hash = Fnv1a("\n", Fnv1a(TrimmedEnd(lines[i]), hash));
    return hash;
}

char LetterOf(std::string_view line) {
    return kLetters[Fnv1a(TrimmedEnd(line)) % kLetters.size()];
}

std::optional<Stamp> ReadStamp(const std::vector<std::string>& lines) {
    if (lines.empty()) return std::nullopt;
    const auto isHash = [](std::optional<std::string_view> hash) {
        return hash && hash->size() == 16 &&
               hash->find_first_not_of("0123456789abcdef") == std::string_view::npos;
    };
    Stamp stamp;
    stamp.lines = 1;
    if (const auto hash = Between(lines[0], kStampHead); isHash(hash)) {
        stamp.hash = std::stoull(std::string(*hash), nullptr, 16);
        return stamp;
    }
    const auto hash = Between(lines[0], kLegacyStampHead);
    if (!isHash(hash)) return std::nullopt;
    stamp.hash = std::stoull(std::string(*hash), nullptr, 16);
    stamp.legacy = true;
    while (stamp.lines < lines.size()) {
        const auto letters = Between(lines[stamp.lines], kLettersHead);
        if (!letters) break;
        stamp.letters += *letters;
        ++stamp.lines;
    }
    return stamp;
}

// Where the program's text differs from what the stamp recorded: the first
// line whose letter differs, or where one side ends.
std::optional<MergeRefusal> CheckStamp(const std::vector<std::string>& lines, const Stamp& stamp,
                                       const std::vector<Region>& regions) {
    const std::vector<std::size_t> outside = OutsideLines(lines, stamp.lines, regions, stamp.legacy);
    if (HashOf(lines, outside) == stamp.hash) return std::nullopt;
    // Without the text last generated nothing tells which line it was.
    if (!stamp.legacy)
        return MergeRefusal{MergeRefusal::Kind::EditedOutside, 1,
                            "用户代码区以外的文本已被修改,又没有上次生成的文本可供合并"};
    std::size_t at = 0;
    while (at < outside.size() && at < stamp.letters.size() &&
           LetterOf(lines[outside[at]]) == stamp.letters[at])
        ++at;
    const std::size_t line = at < outside.size() ? outside[at] : lines.size() - 1;
    return MergeRefusal{MergeRefusal::Kind::EditedOutside, static_cast<int>(line) + 1,
                        "用户代码区以外的文本已被修改"};
}

bool Blank(const std::vector<std::string>& lines) {
    return std::ranges::all_of(lines, [](const std::string& line) { return Trimmed(line).empty(); });
}

void Append(std::string& body, std::string_view line) {
    (body += line) += kCrLf;
}

}  // namespace

bool IsStamped(std::string_view text) {
    return ReadStamp(SplitLines(text.substr(0, text.find('\n')))).has_value();
}

std::string RestoredText(std::string_view name) {
    return "用户代码区" + Quoted(name) + "的模块已恢复,保留的代码已放回该区";
}

std::string BranchRegion(std::string_view flag) {
    return "中断 " + std::string(flag);
}

std::string RegionStart(std::string_view name) {
    return std::string(kStartHead) + std::string(name) + std::string(kTail);
}

std::string RegionEnd(std::string_view name) {
    return std::string(kEndHead) + std::string(name) + std::string(kTail);
}

std::string Stamped(std::string_view body) {
    const std::vector<std::string> lines = SplitLines(body);
    const std::vector<std::size_t> outside = OutsideLines(lines, 0, FindRegions(lines, 0).regions);
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(HashOf(lines, outside)));
    std::string text;
    Append(text, std::string(kStampHead) + hash + std::string(kTail));
    return text + std::string(body);
}

MergeResult MergeUserCode(std::string_view oldText, std::string_view newText, bool force,
                          std::optional<std::string_view> baseText) {
    const std::vector<std::string> old = SplitLines(oldText);
    const std::optional<Stamp> stamp = ReadStamp(old);
    const Layout oldLayout = FindRegions(old, stamp ? stamp->lines : 0);
    // The base belongs to the file when it carries the file's stamp: the
    // file was written with it, and its generated text is the same.
    std::vector<std::string> base = baseText ? SplitLines(*baseText) : std::vector<std::string>();
    const std::optional<Stamp> baseStamp = ReadStamp(base);
    std::vector<std::string> fresh = SplitLines(newText);
    const std::optional<Stamp> freshStamp = ReadStamp(fresh);
    const bool merging = stamp && baseStamp && freshStamp && !oldLayout.damage && base[0] == old[0] &&
                         baseStamp->lines == stamp->lines;
    std::optional<MergeRefusal> refusal;
    if (!stamp)
        refusal = MergeRefusal{MergeRefusal::Kind::NoStamp, 1,
                               "没有Korvane的校验注释:文件不是以XC8或SDCC格式生成的,或校验注释已被修改"};
    else if (oldLayout.damage)
        refusal = oldLayout.damage;
    else if (!merging)
        refusal = CheckStamp(old, *stamp, oldLayout.regions);
    if (refusal && !force) return *refusal;

    MergedText merged;
    merged.carriedOnly = !merging;
    if (refusal) merged.overridden.push_back(*refusal);
    // Past damaged markers, every region that still pairs up is carried (a
    // name twice, both); the backup keeps the rest of the text.
    std::map<std::string, std::vector<std::string>, std::less<>> contents;
    std::vector<std::string> order;
    for (const Region& region : oldLayout.regions) {
        if (!contents.contains(region.name)) order.push_back(region.name);
        auto& lines = contents[region.name];
        lines.insert(lines.end(), old.begin() + static_cast<std::ptrdiff_t>(region.start) + 1,
                     old.begin() + static_cast<std::ptrdiff_t>(region.end));
    }

    const std::size_t freshFrom = freshStamp ? freshStamp->lines : 0;
    const std::string stampLine = freshStamp ? fresh[0] : std::string();
    std::set<std::size_t> conflictAt;  // lines of `fresh` that open a conflict
    if (merging) {
        // The program's text of the three, without stamps, the regions'
        // contents and the kept block (both carried by name below): what the
        // user changed there since the base, merged into the new generation.
        // A line the user put among the kept block's is theirs all the same.
        const auto programText = [](const std::vector<std::string>& lines, std::size_t from,
                                    const std::vector<Region>& regions) {
            std::vector<std::string> text;
            const std::size_t kept = KeptBlockAt(lines);
            for (const std::size_t i : OutsideLines(lines, from, regions, true))
                if (i < kept ||
                    !(Trimmed(lines[i]).empty() || Trimmed(lines[i]) == kKeptNote || MarkerOf(lines[i])))
                    text.push_back(lines[i]);
            return text;
        };
        const LineMerge result = MergeLines(
            programText(base, baseStamp->lines, FindRegions(base, baseStamp->lines).regions),
            programText(old, stamp->lines, oldLayout.regions),
            programText(fresh, freshFrom, FindRegions(fresh, freshFrom).regions), kOursLabel, kTheirsLabel);
        fresh.assign(1, stampLine);
        fresh.insert(fresh.end(), result.lines.begin(), result.lines.end());
        for (const std::size_t at : result.conflicts) conflictAt.insert(at + 1);
    }
    // A module that is back gets the code kept when it went, uncommented,
    // in its region, unless the region has code of its own again.
    for (std::size_t i = freshFrom; i < fresh.size(); ++i) {
        const auto marker = MarkerOf(fresh[i]);
        if (!marker || !marker->start || marker->name.starts_with(kKeptPrefix)) continue;
        const auto kept = contents.find(std::string(kKeptPrefix) + marker->name);
        const auto own = contents.find(marker->name);
        if (kept == contents.end() || (own != contents.end() && !Blank(own->second))) continue;
        std::vector<std::string> lines;
        for (std::string_view line : kept->second) {
            if (line.starts_with("// "))
                line.remove_prefix(3);
            else if (line.starts_with("//"))
                line.remove_prefix(2);
            lines.emplace_back(line);
        }
        contents[marker->name] = std::move(lines);
        contents.erase(std::string(kKeptPrefix) + marker->name);
        merged.restored.push_back(marker->name);
    }
    std::string body;
    int bodyLines = 0;
    for (std::size_t i = freshFrom; i < fresh.size(); ++i) {
        if (conflictAt.contains(i)) merged.conflicts.push_back(bodyLines + 2);  // after the stamp, from 1
        Append(body, fresh[i]);
        ++bodyLines;
        const auto marker = MarkerOf(fresh[i]);
        if (!marker || !marker->start) continue;
        const auto found = contents.find(marker->name);
        if (found == contents.end()) continue;
        for (const std::string& line : found->second) Append(body, line);
        bodyLines += static_cast<int>(found->second.size());
        contents.erase(found);
    }

    // What a module that is gone leaves: commented out, under its old name,
    // joined with what an earlier update kept under that name.
    std::vector<std::pair<std::string, std::vector<std::string>>> kept;
    for (const std::string& name : order) {
        const auto found = contents.find(name);
        if (found == contents.end() || Blank(found->second)) continue;
        const bool keptBefore = name.starts_with(kKeptPrefix);
        const std::string keptName = keptBefore ? name : std::string(kKeptPrefix) + name;
        std::vector<std::string> lines;
        for (const std::string& line : found->second)
            lines.push_back(keptBefore ? line : line.empty() ? "//" : "// " + line);
        if (!keptBefore) merged.kept.push_back(name);
        auto same = std::ranges::find(kept, keptName, &decltype(kept)::value_type::first);
        if (same == kept.end())
            kept.emplace_back(keptName, std::move(lines));
        else
            same->second.insert(same->second.end(), lines.begin(), lines.end());
    }
    if (!kept.empty()) {
        Append(body, {});
        Append(body, kKeptNote);
        for (const auto& [name, lines] : kept) {
            Append(body, RegionStart(name));
            for (const std::string& line : lines) Append(body, line);
            Append(body, RegionEnd(name));
        }
    }
    // The stamp is the new generation's: it describes what Korvane wrote, not
    // the user's edits merged into it.
    merged.text = freshStamp ? stampLine + std::string(kCrLf) + body : Stamped(body);
    return merged;
}

}  // namespace korvane
