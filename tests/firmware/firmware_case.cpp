// Runs one firmware case of a case table on one output form: korvane-gen
// writes the C source for the case's settings in that form (classic or
// sdcc), the user's additions go where a user writes them (an endless loop at
// the end of main, statements in interrupt branches), SDCC compiles it for
// the part the settings choose, gplink links it, and gpsim runs it with the
// case's stimuli while logging register writes. The case's expectations are
// then checked against the log and the register values gpsim printed, and the
// configuration word the program carries against the classic text's.
//
// firmware_case --gen KORVANE_GEN --toolchain DIR --include DIR --work DIR [--form F] CASES.toml NAME
#include <iconv.h>
#include <toml++/toml.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The parts in the order of the ChipPart setting; a case without one gets the
// default part.
constexpr const char* kParts[] = {"16f873",  "16f874",  "16f876",  "16f877",
                                  "16f873a", "16f874a", "16f876a", "16f877a"};
constexpr long kDefaultPart = 7;

struct Failure {
    std::string what;
};

[[noreturn]] void Fail(const std::string& what) {
    throw Failure{what};
}

// A case's entry that must be a table.
const toml::table& Table(const toml::node& node, const std::string& what) {
    if (!node.is_table()) Fail(what + " must be tables");
    return *node.as_table();
}

std::string Quote(const fs::path& p) {
    return "'" + p.string() + "'";
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
    if (!out) Fail("cannot write " + p.string());
}

// Runs a shell command with its output in LOG; on failure the log is shown.
void Run(const std::string& step, const std::string& command, const fs::path& log) {
    const int status = std::system((command + " >" + Quote(log) + " 2>&1").c_str());
    if (status != 0) Fail(step + " failed (" + command + "):\n" + ReadFile(log));
}

std::string Hex(long v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%lX", v);
    return buf;
}

// The value the generated text assigns to a register or bit (`NAME=VALUE;`,
// `NAME = VALUE;`); a name assigned two different values has none.
std::string GeneratedValue(const std::string& text, const std::string& name) {
    const std::regex assignment("(^|[^A-Za-z0-9_.])" + name + " ?= ?([^;=\r\n]+);");
    std::string value;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), assignment); it != std::sregex_iterator();
         ++it) {
        if (!value.empty() && (*it)[2] != value) Fail("the generated text gives " + name + " two values");
        value = (*it)[2];
    }
    if (value.empty()) Fail("the generated text assigns no " + name);
    return value;
}

// The user's code may reload what the generator worked out: @NAME stands for
// the value the generated text gives NAME (`TMR0=@TMR0;`).
std::string WithGeneratedValues(std::string code, const std::string& text) {
    static const std::regex placeholder("@([A-Za-z0-9_]+)");
    std::smatch m;
    while (std::regex_search(code, m, placeholder))
        code.replace(std::size_t(m.position(0)), std::size_t(m.length(0)), GeneratedValue(text, m[1]));
    return code;
}

std::string WithoutSpaces(std::string s) {
    std::erase_if(s, [](char ch) { return ch == ' ' || ch == '\t'; });
    return s;
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A text that turns the part header's bare bit names off reaches bits only
// as REGbits.NAME; the user's code, written with bare names, is spelt so.
std::map<std::string, std::string> BitNames(const std::string& text, const fs::path& header) {
    std::map<std::string, std::string> names;
    if (text.find("#define NO_BIT_DEFINES") == std::string::npos) return names;
    static const std::regex bitDefine(R"(#define (\w+) (\w+bits\.\w+))");
    const std::string h = ReadFile(header);
    for (auto it = std::sregex_iterator(h.begin(), h.end(), bitDefine); it != std::sregex_iterator(); ++it)
        names[(*it)[1]] = (*it)[2];
    return names;
}

std::string WithBitNames(const std::string& code, const std::map<std::string, std::string>& names) {
    static const std::regex word(R"(\.?\b\w+\b)");
    std::string out;
    std::size_t from = 0;
    for (auto it = std::sregex_iterator(code.begin(), code.end(), word); it != std::sregex_iterator(); ++it) {
        const auto found = names.find(it->str());
        if (found == names.end()) continue;
        out += code.substr(from, std::size_t(it->position()) - from) + found->second;
        from = std::size_t(it->position() + it->length());
    }
    return out + code.substr(from);
}

// Inserts CODE as a line of its own after the first line matching LINE.
void InsertAfterLine(std::string& text, const std::regex& line, const std::string& code,
                     const std::string& what) {
    std::smatch m;
    if (!std::regex_search(text, m, line)) Fail("the generated text has no " + what);
    text.insert(std::size_t(m.position(0) + m.length(0)), code + "\r\n");
}

// UTF-8 text as GBK, as the program saves its files.
std::string Gbk(const std::string& utf8) {
    const iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) Fail("no GBK converter");
    std::string in = utf8, out(utf8.size() * 2, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok) Fail("cannot write " + utf8 + " in GBK");
    out.resize(out.size() - outLeft);
    return out;
}

// Inserts CODE into the user code region NAME of a modern text (as saved,
// in GBK), where an update keeps it.
void InsertIntoRegion(std::string& text, const std::string& name, const std::string& code) {
    const std::string marker = Gbk("/* 用户代码开始: " + name + " */\r\n");
    const auto at = text.find(marker);
    if (at == std::string::npos) Fail("the generated text has no user code region for " + name);
    text.insert(at + marker.size(), code + "\r\n");
}

// The user's part: statements in interrupt branches, and the end of main.
// Everything the generator wrote stays as it is, except the line a case
// leaves out (`drop`: the line starting so, spaces aside) to show what it is
// for.
//
// Classic form: a branch's statements go after its flag clearing, main's at
// its end. SDCC form: a branch's statements go into its user code region,
// first in the branch, except statements that only reload generated values
// (`TMR0=@TMR0;`), which that form's branch does itself; main's statements
// before their last `while(1)` go into the region before the form's own
// endless loop, that loop's body into the region inside it.
std::string AddUserCode(std::string text, const toml::table& c, const std::string& form,
                        const std::map<std::string, std::string>& bitNames) {
    const std::string generated = text;
    const auto user = [&](const std::string& code) {
        return WithBitNames(WithGeneratedValues(code, generated), bitNames);
    };
    if (const auto drop = c["drop"].value<std::string>()) {
        std::size_t at = 0;
        while ((at = text.find("\r\n", at)) != std::string::npos) {
            at += 2;
            const auto end = text.find("\r\n", at);
            if (WithoutSpaces(text.substr(at, end - at)).rfind(WithoutSpaces(*drop), 0) == 0) {
                text.erase(at - 2, end - (at - 2));
                break;
            }
        }
        if (at == std::string::npos) Fail("the generated text has no line " + *drop);
    }
    const bool sdcc = form == "sdcc";
    if (const auto* isr = c["isr"].as_table()) {
        static const std::regex reloadsOnly(R"(^(([A-Za-z0-9_]+)=@\2;)+$)");
        for (const auto& [flag, node] : *isr) {
            const std::string f(flag.str());
            const std::string code = node.value_or(std::string());
            if (!sdcc) {
                InsertAfterLine(text, std::regex("\r\n   " + f + "=0;\r\n"), "   " + user(code),
                                "branch for " + f);
            } else if (!std::regex_match(WithoutSpaces(code), reloadsOnly)) {
                InsertIntoRegion(text, "中断 " + f, "        " + user(code));
            }
        }
    }
    const std::string code = user(c["main"].value_or(std::string("while(1);")));
    const auto main = text.find(sdcc ? "\r\nvoid main(void)\r\n" : "\r\nvoid main()\r\n");
    if (main == std::string::npos) Fail("the generated text has no main");
    if (!sdcc) {
        const auto end = text.find("\r\n}\r\n", main);
        if (end == std::string::npos) Fail("main has no end");
        text.insert(end + 2, " " + code + "\r\n");
        return text;
    }
    const std::string loopLine = "\r\n    while (1) {\r\n";
    const auto loop = text.find(loopLine, main);
    if (loop == std::string::npos) Fail("main has no endless loop");
    std::string before = code, body;
    static const std::regex endless(R"(while ?\(1\))");
    std::smatch last;
    for (auto it = std::sregex_iterator(code.begin(), code.end(), endless); it != std::sregex_iterator();
         ++it)
        last = *it;
    if (!last.empty()) {
        before = code.substr(0, std::size_t(last.position(0)));
        body = Trimmed(code.substr(std::size_t(last.position(0) + last.length(0))));
        if (body.size() >= 2 && body.front() == '{' && body.back() == '}')
            body = Trimmed(body.substr(1, body.size() - 2));
        if (body == ";") body.clear();
    }
    if (!body.empty()) InsertIntoRegion(text, "主循环", "        " + body);
    if (!Trimmed(before).empty()) InsertIntoRegion(text, "主循环前", "    " + Trimmed(before));
    return text;
}

// gpsim names a port pin by its port and number: RA4 is porta4.
std::string PinName(const std::string& pin) {
    if (pin.size() != 3 || pin[0] != 'R') Fail("not a pin: " + pin);
    return std::string("port") + char(pin[1] - 'A' + 'a') + pin[2];
}

std::string Stimuli(const toml::table& c, double mhz) {
    std::string script;
    int n = 0;
    // Loads one of gpsim's modules under a new name, which it returns.
    const auto load = [&](const std::string& type) {
        if (script.find("module library") == std::string::npos) script += "module library libgpsim_modules\n";
        std::string name = type + std::to_string(++n);
        script += "module load " + type + " " + name + "\n";
        return name;
    };
    // A pin belongs to one node in gpsim: a module's line and its pull-up on
    // the same pin are attached there in one line, once all are known. Each
    // edge list keeps a node of its own, as several byte frames on one pin
    // would otherwise fight over it.
    std::vector<std::vector<std::string>> nets;
    const auto wire = [&](const std::string& a, const std::string& b) {
        const bool pinFirst = a.starts_with("port");
        const std::string& pin = pinFirst ? a : b;
        const std::string& other = pinFirst ? b : a;
        const auto shared = std::ranges::find_if(nets, [&](const auto& net) { return net[0] == pin; });
        if (shared != nets.end())
            shared->push_back(other);
        else
            nets.push_back({pin, other});
    };
    const auto wireAlone = [&](const std::string& a, const std::string& b) {
        const std::string net = "net" + std::to_string(++n);
        script += "node " + net + "\nattach " + net + " " + a + " " + b + "\n";
    };
    if (const auto* list = c["stimuli"].as_array()) {
        for (const auto& node : *list) {
            const auto& s = Table(node, "stimuli");
            const std::string pin = s["pin"].value_or(std::string());
            // An open-drain bus line (I2C) held high by a resistor.
            if (s["pullup"].value_or(false)) {
                wire(PinName(pin), load("pullup") + ".pin");
                continue;
            }
            // A pin on a node of its own: gpsim gives the voltage the chip
            // drives there (CVREF on RA2) to the chip's own inputs only through a node.
            if (s["open"].value_or(false)) {
                const std::string net = "net" + std::to_string(++n);
                script += "node " + net + "\nattach " + net + " " + PinName(pin) + "\n";
                continue;
            }
            // A voltage on an analog input: the pull-up module's source,
            // which a high-impedance input reads as it is.
            if (const auto volts = s["volts"].value<double>()) {
                const std::string source = load("pullup");
                script += source + ".voltage = " + std::to_string(*volts) + "\n";
                wire(PinName(pin), source + ".pin");
                continue;
            }
            // A chip on the board: each of its pins wired to a pin of ours,
            // or held at 1 or 0 by a pull-up or pull-down.
            if (const auto type = s["module"].value<std::string>()) {
                const std::string module = load(*type);
                if (const auto* pins = s["pins"].as_table()) {
                    for (const auto& [modulePin, to] : *pins) {
                        const std::string end = module + "." + std::string(modulePin.str());
                        if (const auto level = to.value<long>())
                            wire(end, load(*level ? "pullup" : "pulldown") + ".pin");
                        else
                            wire(end, PinName(to.value_or(std::string())));
                    }
                }
                continue;
            }
            long level = s["initial"].value_or(0L);
            std::vector<long> edges;  // cycle, level, cycle, level, ...
            if (const auto* e = s["edges"].as_array()) {
                for (const auto& v : *e) edges.push_back(v.value_or(0L));
            }
            // A byte sent to the pin as an asynchronous frame: start bit,
            // eight data bits from bit 0, stop bit; the line idles high.
            if (const auto byte = s["byte"].value<long>()) {
                const double bit = mhz * 1e6 / 4 / s["baud"].value_or(9600.0);
                const long start = s["at"].value_or(0L);
                level = 1;
                long last = 1;
                for (int i = 0; i < 10; ++i) {
                    const long b = i == 0 ? 0 : i == 9 ? 1 : (*byte >> (i - 1)) & 1;
                    if (b != last) edges.insert(edges.end(), {start + std::lround(i * bit), b});
                    last = b;
                }
            }
            // One-shot edge lists only: a repeating stimulus is counted wrongly
            // by gpsim (its own re-drive shows as an edge).
            const std::string name = "stim" + std::to_string(++n);
            script += "stimulus asynchronous_stimulus\ninitial_state " + std::to_string(level) +
                      "\nstart_cycle 0\n{";
            for (std::size_t i = 0; i < edges.size(); ++i)
                script += (i ? ", " : " ") + std::to_string(edges[i]);
            script += " }\nname " + name + "\nend\n";
            wireAlone(name, PinName(pin));
        }
    }
    for (const auto& ends : nets) {
        const std::string net = "net" + std::to_string(++n);
        script += "node " + net + "\nattach " + net;
        for (const std::string& end : ends) script += " " + end;
        script += "\n";
    }
    return script;
}

struct Write {
    long cycle;
    std::string reg;
    long value;
    long was;
};

// gpsim's log: an instruction line starting with the cycle in hex, then
// "...Wrote: 0x0020 to _INTCONbits(0x000B) was 0x0000".
std::vector<Write> ParseLog(const std::string& log) {
    std::vector<Write> writes;
    static const std::regex instr(R"(^0x([0-9A-Fa-f]+) )");
    static const std::regex wrote(
        R"(Wrote: 0x([0-9A-Fa-f]+) to _([A-Za-z0-9_]+?)(bits)?\(0x[0-9A-Fa-f]+\) was 0x([0-9A-Fa-f]+))");
    std::istringstream in(log);
    long cycle = -1;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, instr)) {
            cycle = std::stol(m[1], nullptr, 16);
        } else if (std::regex_search(line, m, wrote)) {
            writes.push_back({cycle, m[2], std::stol(m[1], nullptr, 16), std::stol(m[4], nullptr, 16)});
        }
    }
    return writes;
}

struct Event {
    long cycle;
    long level;  // the bit's new value; -1 for a write watched as a whole
};

// An expectation's events: the writes to its register, or with a bit given
// only the writes that change that bit (only those to 1 or to 0 with edge
// "rising" or "falling").
//
// With overflow = P the events are a timer's overflows, worked out from its
// reloads: a write to reg (TMR0, or TMR1L with high = "TMR1H") that found
// the timer at count n came n counts of P cycles after the overflow, so it
// does not depend on when the interrupt routine got there.
std::vector<Event> Events(const std::vector<Write>& writes, const toml::table& e) {
    const std::string reg = e["reg"].value_or(std::string());
    const auto bit = e["bit"].value<long>();
    const std::string edge = e["edge"].value_or(std::string());
    std::vector<Event> events;
    if (const auto scale = e["overflow"].value<long>()) {
        const std::string high = e["high"].value_or(std::string());
        for (auto w = writes.begin(); w != writes.end(); ++w) {
            if (w->reg != reg) continue;
            long count = w->was;
            if (!high.empty()) {
                const auto h = std::find_if(w, writes.end(), [&](const Write& x) { return x.reg == high; });
                if (h == writes.end()) break;
                count += h->was * 256;
            }
            events.push_back({w->cycle - count * *scale, -1});
        }
        return events;
    }
    for (const auto& w : writes) {
        if (w.reg != reg) continue;
        if (!bit) {
            events.push_back({w.cycle, -1});
            continue;
        }
        if ((((w.value ^ w.was) >> *bit) & 1) == 0) continue;
        const long level = (w.value >> *bit) & 1;
        if ((edge == "rising" && level != 1) || (edge == "falling" && level != 0)) continue;
        // with = [B, L]: only changes written while bit B of the same register is L.
        if (const auto* with = e["with"].as_array();
            with && ((w.value >> (*with)[0].value_or(0L)) & 1) != (*with)[1].value_or(0L))
            continue;
        events.push_back({w.cycle, level});
    }
    return events;
}

// A number, or [LO, HI], as a range.
std::pair<long, long> Range(const toml::node_view<const toml::node>& v) {
    if (const auto* range = v.as_array()) return {(*range)[0].value_or(0L), (*range)[1].value_or(0L)};
    const long n = v.value_or(-1L);
    return {n, n};
}

std::string RangeText(std::pair<long, long> r, std::string (*text)(long)) {
    return r.first == r.second ? text(r.first) : text(r.first) + " to " + text(r.second);
}

std::string Decimal(long v) {
    return std::to_string(v);
}

// Durations in cycles: their mean within tolerance, each one within jitter (a
// pin watched by a polling loop is seen up to a loop's length late).
std::string CheckDurations(const std::string& what, const std::vector<long>& durations, long expected,
                           const toml::table& e) {
    const double tolerance = e["tolerance"].value_or(0.0);
    const double jitter = e["jitter"].value_or(tolerance);
    if (durations.size() < 2)
        Fail(what + ": " + std::to_string(durations.size()) + " durations, too few to measure");
    std::string line = what + ":";
    bool ok = true;
    double sum = 0;
    for (const long d : durations) {
        line += " " + std::to_string(d);
        ok = ok && std::abs(d - expected) <= jitter;
        sum += double(d);
    }
    const double mean = sum / double(durations.size());
    ok = ok && std::abs(mean - expected) <= tolerance;
    char tail[120];
    std::snprintf(tail, sizeof tail, " cycles, mean %.2f, expected %ld ± %g (each ± %g)", mean, expected,
                  tolerance, jitter);
    line += tail;
    if (!ok) Fail(line);
    return line;
}

std::string Describe(const toml::table& e) {
    std::string d = e["reg"].value_or(std::string("?"));
    if (const auto bit = e["bit"].value<long>()) d += " bit " + std::to_string(*bit);
    if (const auto edge = e["edge"].value<std::string>()) d += " " + *edge;
    return d;
}

// Checks one expectation; returns the line that reports it, or fails.
std::string Check(const toml::table& e, const std::vector<Write>& writes,
                  const std::map<long, std::map<std::string, long>>& reads, long resets) {
    const std::string what = Describe(e);
    const auto skip = static_cast<std::size_t>(e["skip"].value_or(0L));
    auto events = Events(writes, e);
    events.erase(events.begin(), events.begin() + long(std::min(skip, events.size())));
    if (const auto period = e["period"].value<long>()) {
        std::vector<long> intervals;
        for (std::size_t i = 1; i < events.size(); ++i)
            intervals.push_back(events[i].cycle - events[i - 1].cycle);
        return CheckDurations(what + " intervals", intervals, *period, e);
    }
    if (const auto high = e["high"].value<long>()) {
        std::vector<long> highs;
        for (std::size_t i = 1; i < events.size(); ++i) {
            if (events[i - 1].level == 1) highs.push_back(events[i].cycle - events[i - 1].cycle);
        }
        return CheckDurations(what + " high", highs, *high, e);
    }
    // after = [REG, ...]: each of these writes comes after every write to REG.
    if (const auto* after = e["after"].as_array()) {
        std::string line = what + " after";
        for (const auto& node : *after) {
            const std::string other = node.value_or(std::string());
            long last = -1;
            for (const auto& w : writes)
                if (w.reg == other) last = std::max(last, w.cycle);
            line += " " + other + " (last written at " + std::to_string(last) + ")";
            if (last < 0) Fail(line + ": never written");
            for (const auto& ev : events)
                if (ev.cycle <= last) Fail(line + ": written at " + std::to_string(ev.cycle));
        }
        if (events.empty()) Fail(line + ": never written");
        return line;
    }
    if (e.contains("count")) {
        const auto want = Range(e["count"]);
        const long n = long(events.size());
        std::string line = what + ": " + std::to_string(n) + " events, expected " + RangeText(want, Decimal);
        if (n < want.first || n > want.second) Fail(line);
        return line;
    }
    if (e.contains("resets")) {
        const auto want = Range(e["resets"]);
        std::string line = std::to_string(resets) + " resets, expected " + RangeText(want, Decimal);
        if (resets < want.first || resets > want.second) Fail(line);
        return line;
    }
    const auto read = [&](long cycle) {
        long v = reads.at(cycle).at(e["reg"].value_or(std::string()));
        if (const auto bit = e["bit"].value<long>()) v = (v >> *bit) & 1;
        return v;
    };
    const auto want = Range(e["value"]);
    if (const auto at = e["at"].value<long>()) {
        const long v = read(*at);
        std::string line =
            what + " at cycle " + std::to_string(*at) + ": " + Hex(v) + ", expected " + RangeText(want, Hex);
        if (v < want.first || v > want.second) Fail(line);
        return line;
    }
    // A level held through a stretch, after every instruction: a pin, which
    // writes alone would not show (TRIS turning it into an output).
    if (const auto from = e["from"].value<long>()) {
        const long to = e["to"].value_or(*from);
        long reached = *from, count = 0;
        for (auto it = reads.lower_bound(*from); it != reads.end(); ++it) {
            if (!it->second.count(e["reg"].value_or(std::string()))) continue;
            reached = it->first;
            if (it->first > to) break;
            ++count;
            const long v = read(it->first);
            if (v < want.first || v > want.second)
                Fail(what + " at cycle " + std::to_string(it->first) + ": " + Hex(v) + ", expected " +
                     RangeText(want, Hex) + " from cycle " + std::to_string(*from) + " to " +
                     std::to_string(to));
        }
        if (reached < to) Fail(what + ": read only as far as cycle " + std::to_string(reached));
        return what + " from cycle " + std::to_string(*from) + " to " + std::to_string(to) + ": " +
               RangeText(want, Hex) + " after all " + std::to_string(count) + " instructions";
    }
    Fail(what + ": an expectation needs period, high, count, resets, at or from");
}

// An expectation as it holds on FORM: its keys, with those of its table named
// after the form (`sdcc = { period = 1024 }`) in their place.
toml::table ForForm(const toml::table& e, const std::string& form) {
    toml::table effective = e;
    if (const auto* own = e[form].as_table()) {
        for (const auto& [key, value] : *own) effective.insert_or_assign(key, value);
    }
    return effective;
}

// The word an Intel hex file puts at a program word address (byte address
// twice that, low byte first), if it puts one there.
std::optional<long> HexWord(const std::string& hex, long word) {
    std::istringstream in(hex);
    long upper = 0;
    std::map<long, long> bytes;
    for (std::string line; std::getline(in, line);) {
        if (line.size() < 11 || line[0] != ':') continue;
        const auto field = [&](std::size_t at, std::size_t n) {
            return std::stol(line.substr(at, n), nullptr, 16);
        };
        const long count = field(1, 2), address = field(3, 4), type = field(7, 2);
        if (type == 4) upper = field(9, 4) << 16;
        if (type != 0) continue;
        for (long i = 0; i < count; ++i) bytes[upper + address + i] = field(9 + 2 * std::size_t(i), 2);
    }
    if (!bytes.count(2 * word) || !bytes.count(2 * word + 1)) return std::nullopt;
    return bytes[2 * word] | bytes[2 * word + 1] << 8;
}

// Program words and data bytes a linked program takes, from gplink's map.
std::pair<long, long> MapSize(const fs::path& map) {
    static const std::regex section(
        R"(^\s*(\S+)\s+(code|romdata|udata|idata)\s+0x[0-9a-fA-F]+\s+(program|data)\s+0x([0-9a-fA-F]+)\s*$)");
    std::istringstream in(ReadFile(map));
    long words = 0, bytes = 0;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (!std::regex_match(line, m, section)) continue;
        const long size = std::stol(m[4], nullptr, 16);
        // The configuration word and the runtime's fixed registers are no program's.
        if (m[3] == "program" && !std::string(m[1]).starts_with(".config")) words += size / 2;
        if (m[3] == "data" && !std::string(m[1]).starts_with("UD_abs")) bytes += size;
    }
    return {words, bytes};
}

// Compiles and links SOURCE (prog.c in WORK) for the SDCC form.
void Build(const fs::path& work, const std::string& cc, const fs::path& partFiles, const std::string& part) {
    Run("sdcc", "cd " + Quote(work) + " && " + cc + " -c prog.c -o prog.o", work / "sdcc.log");
    Run("gplink",
        "cd " + Quote(work) + " && gplink -m -w -r -s /usr/share/gputils/lkr/" + part +
            "_g.lkr -o prog.hex prog.o " + Quote(partFiles / "regs.o") + " " +
            Quote(partFiles / "runtime.lib"),
        work / "gplink.log");
}

// budget = true: what the generated header says the drivers cost matches,
// within 10 %, what they add to the same project with every driver off.
void CheckBudget(const fs::path& gen, const fs::path& work, const toml::table& settings,
                 const std::string& cc, const fs::path& partFiles, const std::string& part) {
    // "驱动函数约占程序存储器N字、RAM M字节(另有缓冲区B字节)": its first three numbers.
    const std::string text = ReadFile(work / "generated.c");
    const std::size_t at = text.find(Gbk("驱动函数约占程序存储器"));
    if (at == std::string::npos) Fail("the generated header states no drivers' cost");
    long numbers[3] = {};
    std::size_t pos = at;
    for (long& n : numbers) {
        pos = text.find_first_of("0123456789", pos);
        if (pos == std::string::npos) Fail("the generated header states no drivers' cost");
        std::size_t used = 0;
        n = std::stol(text.substr(pos), &used);
        pos += used;
    }
    const long words = numbers[0], ram = numbers[1], buffers = numbers[2];
    toml::table off = settings;
    for (const auto& [key, value] : settings)
        if (key.str().ends_with("Drivers")) off.insert_or_assign(key.str(), 0);
    const fs::path base = work / "drivers-off";
    fs::create_directories(base);
    std::ostringstream kvp;
    kvp << toml::table{{"korvane", toml::table{{"chip", "PIC16F87x"}, {"format", 2}}}, {"settings", off}}
        << "\n";
    WriteFile(base / "project.kvp", kvp.str());
    Run("korvane-gen",
        Quote(gen) + " --form sdcc -o " + Quote(base / "prog.c") + " " + Quote(base / "project.kvp"),
        base / "gen.log");
    Build(base, cc, partFiles, part);
    const auto [onWords, onBytes] = MapSize(work / "prog.map");
    const auto [offWords, offBytes] = MapSize(base / "prog.map");
    const long addedWords = onWords - offWords, addedRam = onBytes - offBytes - buffers;
    const std::string line = "drivers add " + std::to_string(addedWords) + " words and " +
                             std::to_string(addedRam) + " bytes of RAM besides " + std::to_string(buffers) +
                             " of buffers; the header says " + std::to_string(words) + " and " +
                             std::to_string(ram);
    const auto within = [](long measured, long stated) { return std::abs(measured - stated) * 10 <= stated; };
    if (!within(addedWords, words) || !within(addedRam, ram)) Fail(line);
    std::cout << "ok: " << line << "\n";
}

void RunCase(const fs::path& gen, const fs::path& toolchain, const fs::path& include, const fs::path& work,
             const toml::table& c, const std::string& form) {
    if (const auto* forms = c["forms"].as_array()) {
        if (std::none_of(forms->begin(), forms->end(),
                         [&](const toml::node& f) { return f.value_or(std::string()) == form; }))
            Fail("the case does not run on the " + form + " form");
    }
    if (!fs::exists(toolchain / "ready")) {
        Fail("the firmware toolchain is missing in " + toolchain.string() +
             " (tests/firmware/toolchain.sh builds it; ./scripts/test runs it)");
    }
    fs::remove_all(work);
    fs::create_directories(work);
    const double mhz = c["mhz"].value_or(4.0);

    // The project: the case's settings over the defaults. The crystal sets
    // every timer's frequency as the crystal command does (a case may still
    // give a timer an outside clock), and the part is always written, so the
    // runner compiles and simulates the part the text was generated for.
    toml::table settings;
    if (const auto* s = c["settings"].as_table()) settings = *s;
    settings.insert_or_assign("CrystalMHz", mhz);
    for (const char* timer : {"T0FreqMHz", "T1FreqMHz", "T2FreqMHz"}) settings.insert(timer, mhz);
    const auto partIndex = settings["ChipPart"].value<long>().value_or(kDefaultPart);
    if (partIndex < 0 || partIndex >= long(std::size(kParts))) Fail("no part " + std::to_string(partIndex));
    const std::string part = kParts[partIndex];
    settings.insert_or_assign("ChipPart", partIndex);
    toml::table project{{"korvane", toml::table{{"chip", "PIC16F87x"}, {"format", 2}}},
                        {"settings", settings}};
    std::ostringstream kvp;
    kvp << project << "\n";
    WriteFile(work / "project.kvp", kvp.str());

    // As the program saves it: GBK, CR LF. The classic text is made on every
    // form, for its configuration word.
    Run("korvane-gen", Quote(gen) + " -o " + Quote(work / "classic.c") + " " + Quote(work / "project.kvp"),
        work / "gen.log");
    if (form != "classic") {
        Run("korvane-gen",
            Quote(gen) + " --form " + form + " -o " + Quote(work / "generated.c") + " " +
                Quote(work / "project.kvp"),
            work / "gen.log");
    } else {
        fs::copy_file(work / "classic.c", work / "generated.c");
    }
    const fs::path partFiles = toolchain / "parts" / part;
    const std::string generated = ReadFile(work / "generated.c");
    WriteFile(work / "prog.c",
              AddUserCode(generated, c, form, BitNames(generated, partFiles / ("pic" + part + ".h"))));

    // An update: the settings change as `update` says and korvane-gen
    // regenerates prog.c, keeping the user's code in its regions.
    if (const auto* update = c["update"].as_table()) {
        if (form == "classic") Fail("the classic text has no user code regions to update");
        for (const auto& [key, value] : *update) settings.insert_or_assign(key, value);
        toml::table changed{{"korvane", toml::table{{"chip", "PIC16F87x"}, {"format", 2}}},
                            {"settings", settings}};
        std::ostringstream changedKvp;
        changedKvp << changed << "\n";
        WriteFile(work / "update.kvp", changedKvp.str());
        Run("korvane-gen --update",
            Quote(gen) + " --form " + form + " --update " + Quote(work / "prog.c") + " " +
                Quote(work / "update.kvp"),
            work / "update.log");
        Run("korvane-gen", Quote(gen) + " -o " + Quote(work / "classic.c") + " " + Quote(work / "update.kvp"),
            work / "gen.log");
    }

    // The classic text needs the translating pic.h; the SDCC form includes
    // the part's own header.
    const std::string cc =
        Quote(toolchain / "compiler/bin/sdcc") + " -mpic14 -p" + part + " --no-warn-non-free --nostdinc" +
        (form == "classic" ? " -I" + Quote(include) : std::string()) + " -I" + Quote(partFiles) + " -I" +
        Quote(toolchain / "compiler/include") + " -I" + Quote(toolchain / "compiler/include/pic14");
    Build(work, cc, partFiles, part);
    if (c["budget"].value_or(false)) {
        if (form != "sdcc") Fail("the drivers' cost is measured on the SDCC form");
        CheckBudget(gen, work, settings, cc, partFiles, part);
    }

    // What the chip is programmed with: the classic text's word (or none, if
    // it carries none), on every form.
    {
        static const std::regex classicWord(R"(__CONFIG\((0x[0-9A-Fa-f]+)\);)");
        const std::string classic = ReadFile(work / "classic.c");
        std::smatch m;
        std::optional<long> want;
        if (std::regex_search(classic, m, classicWord)) want = std::stol(m[1], nullptr, 16);
        const auto word = HexWord(ReadFile(work / "prog.hex"), 0x2007);
        const auto text = [](std::optional<long> w) { return w ? Hex(*w) : std::string("none"); };
        const std::string line = "configuration word " + text(word) + ", expected the classic " + text(want);
        if (word != want) Fail(line);
        std::cout << "ok: " << line << "\n";
    }

    // The simulation: stimuli first (a cycle break set before a stimulus
    // loses the stimulus's first edge), then the logged registers, then a
    // stop at each cycle where a register is read, and at the end.
    // A reset does not end the run; the resets are counted instead.
    std::string script =
        "frequency " + std::to_string(std::lround(mhz * 1e6)) + "\nBreakOnReset = false\n" + Stimuli(c, mhz);
    std::vector<std::string> logged;
    std::map<long, std::vector<std::string>> readAt;
    // From a cycle to another, the registers read after every instruction.
    std::map<long, std::pair<long, std::vector<std::string>>> windows;
    const auto* expectations = c["expect"].as_array();
    if (!expectations || expectations->empty()) Fail("the case expects nothing");
    std::vector<toml::table> expect;
    for (const auto& node : *expectations) expect.push_back(ForForm(Table(node, "expectations"), form));
    for (const auto& e : expect) {
        const std::string reg = e["reg"].value_or(std::string());
        if (const auto at = e["at"].value<long>()) {
            readAt[*at].push_back(reg);
        } else if (const auto from = e["from"].value<long>()) {
            auto& window = windows[*from];
            window.first = std::max(window.first, e["to"].value_or(*from));
            window.second.push_back(reg);
            readAt[*from].push_back(reg);
        } else {
            std::vector<std::string> regs{reg, e["high"].value_or(std::string())};
            if (const auto* after = e["after"].as_array())
                for (const auto& node : *after) regs.push_back(node.value_or(std::string()));
            for (const std::string& r : regs)
                if (!r.empty() && std::find(logged.begin(), logged.end(), r) == logged.end())
                    logged.push_back(r);
        }
    }
    script += "log on " + (work / "writes.log").string() + "\n";
    for (const auto& reg : logged) script += "log w _" + reg + "\n";
    const long end = c["cycles"].value_or(10000L);
    readAt[end];
    for (const auto& [at, regs] : readAt) {
        script += "break c " + std::to_string(at) + "\nrun\n";
        for (const auto& reg : regs) script += "_" + reg + "\n";
        // A cycle break inside a two-cycle instruction never stops: a window
        // steps instead, as many times as it has cycles (so at least as far).
        if (const auto window = windows.find(at); window != windows.end()) {
            for (long cycle = at; cycle < window->second.first; ++cycle) {
                script += "step\n";
                for (const auto& reg : window->second.second) script += "_" + reg + "\n";
            }
        }
    }
    script += "log off\nquit\n";
    WriteFile(work / "run.stc", script);
    Run("gpsim", "cd " + Quote(work) + " && timeout 60 gpsim -i -S disable -s prog.cod -c run.stc </dev/null",
        work / "gpsim.log");

    // Each stop must be the cycle asked for.
    const std::string out = ReadFile(work / "gpsim.log");
    std::map<long, std::map<std::string, long>> reads;
    static const std::regex stop(R"(cycle break: 0x[0-9a-fA-F]+ = ([0-9]+))");
    // A stop shows the instruction it stopped at, after its cycle: a step's
    // reads go under that cycle, a break's under the break's.
    static const std::regex stepped(R"(^0x([0-9A-Fa-f]{8,}) )");
    bool broke = false;
    static const std::regex value(R"(_([A-Za-z0-9_]+?)(?:bits)? = 0x([0-9A-Fa-f]+)\s*$)");
    std::istringstream in(out);
    long current = -1;
    long resets = 0;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (line.rfind("Reset on ", 0) == 0) {
            ++resets;
        } else if (std::regex_search(line, m, stop)) {
            current = std::stol(m[1]);
            reads[current];
            broke = true;
        } else if (std::regex_search(line, m, stepped)) {
            if (!broke) current = std::stol(m[1], nullptr, 16);
            broke = false;
        } else if (std::regex_search(line, m, value)) {
            reads[current][m[1]] = std::stol(m[2], nullptr, 16);
        }
    }
    // A case that does not count resets expects none.
    const bool countsResets =
        std::any_of(expect.begin(), expect.end(), [](const toml::table& e) { return e.contains("resets"); });
    if (!countsResets && resets != 0)
        Fail("the chip was reset " + std::to_string(resets) + " times:\n" + out);
    for (const auto& [at, regs] : readAt) {
        if (!reads.count(at)) Fail("gpsim did not reach cycle " + std::to_string(at) + ":\n" + out);
        for (const auto& reg : regs) {
            if (!reads[at].count(reg))
                Fail("gpsim printed no value of " + reg + " at cycle " + std::to_string(at));
        }
    }

    const auto writes = ParseLog(ReadFile(work / "writes.log"));
    for (const auto& e : expect) {
        const std::string line = Check(e, writes, reads, resets);
        std::cout << "ok: " << line << "\n";
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    std::map<std::string, fs::path> options;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--", 0) == 0 && i + 1 < argc)
            options[arg.substr(2)] = argv[++i];
        else
            rest.push_back(arg);
    }
    const std::string form = options.count("form") ? options["form"].string() : "classic";
    if (rest.size() != 2 || options.size() != 4 + options.count("form") ||
        (form != "classic" && form != "sdcc")) {
        std::cerr << "usage: firmware_case --gen KORVANE_GEN --toolchain DIR --include DIR --work DIR "
                     "[--form classic|sdcc] CASES.toml NAME\n";
        return 2;
    }
    try {
        const toml::table cases = toml::parse_file(rest[0]);
        const auto* c = cases[rest[1]].as_table();
        if (!c) Fail("no case " + rest[1] + " in " + rest[0]);
        // The classic form's folder is the case's name, as before.
        const fs::path work =
            form == "classic" ? options["work"] / rest[1] : options["work"] / form / rest[1];
        RunCase(options["gen"], options["toolchain"], options["include"], work, *c, form);
    } catch (const Failure& f) {
        std::cout << "FAIL: " << f.what << "\n";
        return 1;
    } catch (const toml::parse_error& e) {
        std::cout << "FAIL: " << rest[0] << ": " << e.description() << "\n";
        return 1;
    }
    return 0;
}
