#include "project/key_depth.h"

#include <vector>

namespace korvane {

namespace {

class DepthScanner {
public:
    explicit DepthScanner(std::string_view text) : text_(text) {}

    std::optional<int> run() {
        startStatement();
        while (i_ < text_.size()) {
            const char c = text_[i_];
            if (c == '\n') {
                ++line_;
                ++i_;
                if (open_.empty()) startStatement();
            } else if (c == '#') {
                while (i_ < text_.size() && text_[i_] != '\n') ++i_;
            } else if (c == '"' || c == '\'') {
                skipString(c);
            } else if (inKey_) {
                if (!key(c)) return line_;
                ++i_;
            } else {
                if (!value(c)) return line_;
                ++i_;
            }
        }
        return std::nullopt;
    }

private:
    // A statement starts a key at the top level, under the current table header.
    void startStatement() {
        inKey_ = true;
        inHeader_ = false;
        atStart_ = true;
        parts_ = 1;
    }

    bool deeper(int depth) const { return depth > kDeepestKey; }

    bool key(char c) {
        if (c == ' ' || c == '\t' || c == '\r') return true;
        const bool first = atStart_;
        atStart_ = false;
        if (first && c == '[' && open_.empty()) {
            inHeader_ = true;
            headerDepth_ = 0;
            return true;
        }
        if (inHeader_) {
            if (c == '[') ++headerDepth_;  // an array of tables is one level more
            if (c == '.') ++parts_;
            if (c == ']') {
                tableDepth_ = headerDepth_ + parts_;
                inKey_ = false;  // the rest of the line is a comment or nothing
                return !deeper(tableDepth_);
            }
            return !deeper(headerDepth_ + parts_);
        }
        if (c == '}' && !open_.empty()) {  // an empty inline table
            open_.pop_back();
            inKey_ = false;
            return true;
        }
        if (c == '.') return !deeper(context() + ++parts_);
        if (c == '=') {
            inKey_ = false;
            valueDepth_ = context() + parts_;
            return !deeper(valueDepth_);
        }
        return true;
    }

    bool value(char c) {
        if (c == '{' || c == '[') {
            open_.push_back({c, valueDepth_ + (c == '[' ? 1 : 0)});
            valueDepth_ = open_.back().depth;
            if (c == '{') {
                inKey_ = true;
                atStart_ = false;
                parts_ = 1;
            }
            return !deeper(valueDepth_);
        }
        if ((c == '}' || c == ']') && !open_.empty()) {
            open_.pop_back();
        } else if (c == ',' && !open_.empty()) {
            if (open_.back().kind == '{') {
                inKey_ = true;
                parts_ = 1;
            } else {
                valueDepth_ = open_.back().depth;
            }
        }
        return true;
    }

    // The depth a key's first part lies at.
    int context() const { return open_.empty() ? tableDepth_ : open_.back().depth; }

    void skipString(char quote) {
        const std::string_view triple = quote == '"' ? R"(""")" : "'''";
        const bool multiLine = text_.substr(i_, 3) == triple;
        atStart_ = false;
        i_ += multiLine ? 3 : 1;
        while (i_ < text_.size()) {
            const char c = text_[i_];
            if (c == '\\' && quote == '"') {
                if (i_ + 1 < text_.size() && text_[i_ + 1] == '\n') ++line_;
                i_ += 2;
                continue;
            }
            if (c == '\n') {
                if (!multiLine) return;  // the parser reports the open string
                ++line_;
            }
            if (multiLine ? text_.substr(i_, 3) == triple : c == quote) {
                i_ += multiLine ? closingRun(quote) : 1;
                return;
            }
            ++i_;
        }
    }

    // The quotes that end a multi-line string at i_: TOML lets one or two of
    // them belong to the text before the closing three ("""a"""" is `a"`).
    std::size_t closingRun(char quote) const {
        std::size_t run = 3;
        while (run < 5 && i_ + run < text_.size() && text_[i_ + run] == quote) ++run;
        return run;
    }

    struct Open {
        char kind;
        int depth;  // of the values directly inside
    };
    std::string_view text_;
    std::size_t i_ = 0;
    int line_ = 1;
    bool inKey_ = true;
    bool inHeader_ = false;
    bool atStart_ = true;
    int parts_ = 1;
    int headerDepth_ = 0;
    int tableDepth_ = 0;
    int valueDepth_ = 0;
    std::vector<Open> open_;
};

}  // namespace

std::optional<int> FindTooDeepKey(std::string_view text) {
    return DepthScanner(text).run();
}

}  // namespace korvane
