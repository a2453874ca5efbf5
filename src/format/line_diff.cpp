#include "format/line_diff.h"

#include <algorithm>
#include <cstddef>

namespace korvane {

namespace {

enum class Op { Same, Removed, Added };

// The edit script by a longest common subsequence. The common head and
// tail are taken off first: a regenerated text mostly differs in a few
// places, so the table stays small; past a few million cells the middle is
// simply replaced as a whole rather than let a huge file stall the window.
std::vector<Op> EditScript(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    const std::size_t n = a.size() - head - tail;
    const std::size_t m = b.size() - head - tail;
    std::vector<Op> ops(head, Op::Same);
    constexpr std::size_t kLargestTable = 4'000'000;
    if (n * m > kLargestTable) {
        ops.insert(ops.end(), n, Op::Removed);
        ops.insert(ops.end(), m, Op::Added);
    } else {
        // lcs[i][j]: the common length of a's middle from i and b's from j.
        std::vector<std::vector<int>> lcs(n + 1, std::vector<int>(m + 1, 0));
        for (std::size_t i = n; i-- > 0;)
            for (std::size_t j = m; j-- > 0;)
                lcs[i][j] = a[head + i] == b[head + j] ? lcs[i + 1][j + 1] + 1
                                                       : std::max(lcs[i + 1][j], lcs[i][j + 1]);
        std::size_t i = 0;
        std::size_t j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && a[head + i] == b[head + j]) {
                ops.push_back(Op::Same);
                ++i;
                ++j;
            } else if (i < n && (j == m || lcs[i + 1][j] >= lcs[i][j + 1])) {
                // Removed before added, as diff shows a changed line: − then +.
                ops.push_back(Op::Removed);
                ++i;
            } else {
                ops.push_back(Op::Added);
                ++j;
            }
        }
    }
    ops.insert(ops.end(), tail, Op::Same);
    return ops;
}

// For each line of `a`, the line of `b` it is matched with in a longest
// common subsequence, or -1.
std::vector<long> Matches(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::vector<long> match(a.size(), -1);
    std::size_t i = 0;
    std::size_t j = 0;
    for (const Op op : EditScript(a, b)) {
        if (op == Op::Same) match[i] = static_cast<long>(j);
        if (op != Op::Added) ++i;
        if (op != Op::Removed) ++j;
    }
    return match;
}

std::string Range(std::size_t start, std::size_t count) {
    // A range of no lines names the line before it, as diff does.
    const std::size_t first = count == 0 ? start : start + 1;
    return std::to_string(first) + (count == 1 ? "" : "," + std::to_string(count));
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string WithLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

std::vector<int> ChangedLines(std::string_view before, std::string_view after) {
    std::vector<int> changed;
    int line = 0;
    for (const Op op : EditScript(SplitLines(before), SplitLines(after))) {
        if (op == Op::Added) changed.push_back(line);
        if (op != Op::Removed) ++line;
    }
    return changed;
}

LineMerge MergeLines(const std::vector<std::string>& base, const std::vector<std::string>& ours,
                     const std::vector<std::string>& theirs, std::string_view oursLabel,
                     std::string_view theirsLabel) {
    const std::vector<long> toOurs = Matches(base, ours);
    const std::vector<long> toTheirs = Matches(base, theirs);
    LineMerge merged;
    const auto take = [&](const std::vector<std::string>& from, std::size_t first, std::size_t last) {
        merged.lines.insert(merged.lines.end(), from.begin() + static_cast<std::ptrdiff_t>(first),
                            from.begin() + static_cast<std::ptrdiff_t>(last));
    };
    const auto same = [](const std::vector<std::string>& x, std::size_t xFirst, std::size_t xLast,
                         const std::vector<std::string>& y, std::size_t yFirst, std::size_t yLast) {
        return std::equal(
            x.begin() + static_cast<std::ptrdiff_t>(xFirst), x.begin() + static_cast<std::ptrdiff_t>(xLast),
            y.begin() + static_cast<std::ptrdiff_t>(yFirst), y.begin() + static_cast<std::ptrdiff_t>(yLast));
    };
    std::size_t o = 0;  // base
    std::size_t a = 0;  // ours
    std::size_t b = 0;  // theirs
    for (;;) {
        // Lines all three share, in step, go through as they are.
        std::size_t stable = 0;
        while (o + stable < base.size() && toOurs[o + stable] == static_cast<long>(a + stable) &&
               toTheirs[o + stable] == static_cast<long>(b + stable))
            ++stable;
        take(base, o, o + stable);
        o += stable;
        a += stable;
        b += stable;
        // Up to the next base line both sides still have: one changed chunk.
        std::size_t next = o;
        while (next < base.size() && (toOurs[next] < 0 || toTheirs[next] < 0)) ++next;
        const std::size_t aEnd = next < base.size() ? static_cast<std::size_t>(toOurs[next]) : ours.size();
        const std::size_t bEnd =
            next < base.size() ? static_cast<std::size_t>(toTheirs[next]) : theirs.size();
        if (next == o && aEnd == a && bEnd == b) {
            if (next == base.size()) break;
            break;  // all three are at their ends (in-step lines went as stable ones)
        }
        const bool oursSame = aEnd - a == next - o && same(ours, a, aEnd, base, o, next);
        const bool theirsSame = bEnd - b == next - o && same(theirs, b, bEnd, base, o, next);
        if (oursSame) {
            take(theirs, b, bEnd);
        } else if (theirsSame || (aEnd - a == bEnd - b && same(ours, a, aEnd, theirs, b, bEnd))) {
            take(ours, a, aEnd);
        } else {
            merged.conflicts.push_back(merged.lines.size());
            merged.lines.push_back(std::string(kConflictStart) + std::string(oursLabel));
            take(ours, a, aEnd);
            merged.lines.emplace_back(kConflictMiddle);
            take(theirs, b, bEnd);
            merged.lines.push_back(std::string(kConflictEnd) + std::string(theirsLabel));
        }
        o = next;
        a = aEnd;
        b = bEnd;
        if (o == base.size() && a == ours.size() && b == theirs.size()) break;
    }
    return merged;
}

namespace {

// The lines, the last one marked by a trailing LF (which no line holds
// otherwise) when the text has no line end after it, so that it differs
// from the same line with one.
std::vector<std::string> DiffLines(std::string_view text) {
    std::vector<std::string> lines = SplitLines(text);
    if (!lines.empty() && !text.ends_with('\n')) lines.back() += '\n';
    return lines;
}

}  // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after, std::string_view beforeName,
                        std::string_view afterName, std::string_view lineEnd) {
    constexpr std::size_t kContext = 3;
    const std::vector<std::string> a = DiffLines(before);
    const std::vector<std::string> b = DiffLines(after);
    const std::string end(lineEnd);
    const auto line = [&](char sign, const std::string& text) {
        std::string out(1, sign);
        if (text.ends_with('\n'))
            return out + text.substr(0, text.size() - 1) + "\n\\ No newline at end of file\n";
        return out + text + end;
    };
    const std::vector<Op> ops = EditScript(a, b);
    // Where each step stands in both texts.
    std::vector<std::size_t> atA(ops.size() + 1, 0);
    std::vector<std::size_t> atB(ops.size() + 1, 0);
    for (std::size_t k = 0; k < ops.size(); ++k) {
        atA[k + 1] = atA[k] + (ops[k] != Op::Added);
        atB[k + 1] = atB[k] + (ops[k] != Op::Removed);
    }
    std::string out;
    std::size_t k = 0;
    while (k < ops.size()) {
        while (k < ops.size() && ops[k] == Op::Same) ++k;
        if (k == ops.size()) break;
        // A hunk: from the context before the first change to the context
        // after the last change that lies within twice the context of the next.
        const std::size_t first = k > kContext ? k - kContext : 0;
        std::size_t last = k;
        for (std::size_t scan = k; scan < ops.size(); ++scan) {
            if (ops[scan] != Op::Same) last = scan;
            if (scan - last > 2 * kContext) break;
        }
        const std::size_t stop = std::min(ops.size(), last + 1 + kContext);
        if (out.empty()) {
            out += "--- " + std::string(beforeName) + "\t\n";
            out += "+++ " + std::string(afterName) + "\t\n";
        }
        out += "@@ -" + Range(atA[first], atA[stop] - atA[first]) + " +" +
               Range(atB[first], atB[stop] - atB[first]) + " @@\n";
        for (std::size_t s = first; s < stop; ++s) {
            switch (ops[s]) {
                case Op::Same:
                    out += line(' ', a[atA[s]]);
                    break;
                case Op::Removed:
                    out += line('-', a[atA[s]]);
                    break;
                case Op::Added:
                    out += line('+', b[atB[s]]);
                    break;
            }
        }
        k = stop;
    }
    return out;
}

}  // namespace korvane
