// korvane-calc: the timer, baud-rate, I2C clock and A/D clock calculators of the dialogs on the
// command line. The same functions run; only the output is plain text in the
// C locale, without thousands grouping.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/baud_calc.h"
#include "calc/i2c_calc.h"
#include "calc/settings_calc.h"
#include "calc/timer_calc.h"
#include "files/file_io.h"
#include "format/number_text.h"
#include "settings/ad_converter.h"
#include "settings/project_settings.h"
#include "version.h"

namespace {

using namespace korvane;

constexpr int kCalculatorFailure = 1;
constexpr int kBadUsage = 2;

constexpr const char* kUsage =
    "Usage: korvane-calc timer0|timer1|timer2 --mhz F --us T [--prescaler N | --all-prescalers]\n"
    "                    [--external]\n"
    "       korvane-calc baud --mhz F --mode async-high|async-low|sync [--error PERCENT]\n"
    "       korvane-calc i2c --mhz F --khz R\n"
    "       korvane-calc ad --mhz F\n"
    "       korvane-calc --help | --version\n"
    "\n"
    "timerN works out the start value for a period of T microseconds at F MHz:\n"
    "  start=0xCE max=512 min=2.000 error=0.000  (timer1 adds high=0x.. low=0x..;\n"
    "  timer2 gives its period register instead: pr2=0x..)\n"
    "  --prescaler N is the divisor: timer0 1 (not assigned) or 2..256, timer1 1, 2,\n"
    "  4 or 8, timer2 1, 4 or 16; without it, the dialog's default. --all-prescalers\n"
    "  prints the line for every divisor, prefixed 1:N, or the range when the\n"
    "  period does not fit. --external (timer0 only): timing an outside clock of\n"
    "  F MHz on T0CKI, one count per edge.\n"
    "baud lists the usable standard rates as RATE SPBRG ACTUAL, fastest first, then\n"
    "  'chosen RATE SPBRG' (the slowest) or 'chosen none'. --error is the allowed\n"
    "  error in percent (default 0.2).\n"
    "i2c works out SSPADD for an I2C master clock of R kHz at F MHz, never faster\n"
    "  than R: sspadd=0x09 actual=100.000 error=0.000 (kHz, and per cent off R).\n"
    "ad lists the A/D conversion clocks at F MHz, fastest first: CLOCK tad=US\n"
    "  conversion=US (12 TAD) and allowed or too-fast (TAD under 1.6 us), marked\n"
    "  a-parts where only the PIC16F87xA have it; FRC gives its typical range.\n"
    "  Then 'chosen CLOCK CLOCK': the fastest allowed on the A parts and on the others.\n"
    "\n"
    "Exit status: 0 done, 1 the calculator refused the input (its message on\n"
    "standard error), 2 bad usage.\n";

// Everything for standard output goes through here, checked, so a full or
// closed output is an error and not a silent success.
int Emit(std::string_view text) {
    return WriteStandardOutput("korvane-calc", text) ? 0 : kCalculatorFailure;
}

constexpr const char* kCrystalNotSingle = "the crystal does not fit a single";

int Usage(const std::string& problem) {
    std::fprintf(stderr, "korvane-calc: %s\n\n%s", problem.c_str(), kUsage);
    return kBadUsage;
}

// "--name value" pairs and bare "--flag"s after the command word.
struct Arguments {
    std::map<std::string, std::string> values;
    std::vector<std::string> flags;
    std::string problem;

    std::optional<std::string> get(const std::string& name) const {
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    bool has(const std::string& flag) const { return std::ranges::find(flags, flag) != flags.end(); }
};

Arguments ParseArguments(int argc, char* argv[], std::initializer_list<std::string_view> valued,
                         std::initializer_list<std::string_view> bare) {
    Arguments arguments;
    for (int i = 2; i < argc && arguments.problem.empty(); ++i) {
        const std::string arg = argv[i];
        if (std::ranges::find(valued, arg) != valued.end()) {
            if (i + 1 >= argc)
                arguments.problem = arg + " needs a value";
            else if (!arguments.values.emplace(arg, argv[++i]).second)
                arguments.problem = arg + " given twice";
        } else if (std::ranges::find(bare, arg) != bare.end()) {
            arguments.flags.push_back(arg);
        } else {
            arguments.problem = "unknown argument " + arg;
        }
    }
    return arguments;
}

// An option value that is no number is bad usage; a number the calculator
// refuses is the calculator's to report.
std::optional<std::string> NotANumber(const Arguments& args, std::initializer_list<std::string> names) {
    for (const auto& name : names) {
        const auto value = args.get(name);
        if (value && !ParseDecimal(*value)) return name + " needs a number, not " + *value;
    }
    return std::nullopt;
}

// The dialog's message box: its title, then its lines.
int CalculatorFailure(std::string_view title, std::string text) {
    std::ranges::replace(text, '\r', '\n');
    std::fprintf(stderr, "%.*s\n%s\n", static_cast<int>(title.size()), title.data(), text.c_str());
    return kCalculatorFailure;
}

std::string SecondLine(const std::string& text) {
    const auto start = text.find('\r');
    if (start == std::string::npos) return {};
    const auto end = text.find('\r', start + 1);
    return text.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

std::string TimerLine(TimerKind timer, const TimerCalcOutcome& outcome) {
    const char* name = timer == TimerKind::Timer2 ? "pr2=" : "start=";
    std::string line = name + outcome.preload->registerText + " max=" + outcome.range->maxText +
                       " min=" + outcome.range->minText + " error=" + outcome.preload->errorText;
    if (timer == TimerKind::Timer1)
        line += " high=" + outcome.preload->highText + " low=" + outcome.preload->lowText;
    return line;
}

// The divisors a timer accepts.
std::vector<int> Divisors(TimerKind timer) {
    std::vector<int> divisors;
    if (timer == TimerKind::Timer0) divisors.push_back(1);  // prescaler not assigned
    for (int ratio : PrescalerRatios(timer)) divisors.push_back(ratio);
    return divisors;
}

int RunTimer(TimerKind timer, int argc, char* argv[]) {
    const Arguments args =
        ParseArguments(argc, argv, {"--mhz", "--us", "--prescaler"}, {"--all-prescalers", "--external"});
    if (!args.problem.empty()) return Usage(args.problem);
    const bool external = args.has("--external");
    if (external && timer != TimerKind::Timer0) return Usage("--external is for timer0 only");
    const auto mhz = args.get("--mhz");
    const auto us = args.get("--us");
    if (!mhz || !us) return Usage("--mhz and --us are required");
    if (const auto problem = NotANumber(args, {"--mhz", "--us"})) return Usage(*problem);
    const std::vector<int> divisors = Divisors(timer);

    if (args.has("--all-prescalers")) {
        if (args.get("--prescaler")) return Usage("--prescaler and --all-prescalers exclude each other");
        std::vector<std::string> lines;
        for (int divisor : divisors) {
            const auto outcome = CalculateTimerPeriod({timer, divisor, *us, *mhz, kPlainNumbers, external});
            const std::string prefix = "1:" + std::to_string(divisor) + " ";
            if (outcome.status == TimerCalcStatus::Ok)
                lines.push_back(prefix + TimerLine(timer, outcome));
            else if (outcome.status == TimerCalcStatus::OutOfRange)
                lines.push_back(prefix + SecondLine(outcome.message->text));
            else
                return CalculatorFailure(outcome.message->title, outcome.message->text);
        }
        std::string out;
        for (const auto& line : lines) out += line + "\n";
        return Emit(out);
    }

    // Without --prescaler, the divisor the dialog starts with.
    int divisor = TimerDivisor(ProjectSettings{}, timer);
    if (const auto text = args.get("--prescaler")) {
        const auto it = std::ranges::find_if(divisors, [&](int d) { return std::to_string(d) == *text; });
        if (it == divisors.end()) return Usage("this timer has no prescaler " + *text);
        divisor = *it;
    }
    const auto outcome = CalculateTimerPeriod({timer, divisor, *us, *mhz, kPlainNumbers, external});
    if (outcome.status != TimerCalcStatus::Ok)
        return CalculatorFailure(outcome.message->title, outcome.message->text);
    return Emit(TimerLine(timer, outcome) + "\n");
}

int RunBaud(int argc, char* argv[]) {
    const Arguments args = ParseArguments(argc, argv, {"--mhz", "--mode", "--error"}, {});
    if (!args.problem.empty()) return Usage(args.problem);
    const auto mhz = args.get("--mhz");
    const auto mode = args.get("--mode");
    if (!mhz || !mode) return Usage("--mhz and --mode are required");
    if (const auto problem = NotANumber(args, {"--mhz", "--error"})) return Usage(*problem);
    const auto crystal = ParseSingle(*mhz);
    if (!crystal) return Usage("the crystal does not fit in whole Hz");
    int divisor;
    if (*mode == "async-high")
        divisor = ModeBaudDivisor(false, true);
    else if (*mode == "async-low")
        divisor = ModeBaudDivisor(false, false);
    else if (*mode == "sync")
        divisor = ModeBaudDivisor(true, true);
    else
        return Usage("unknown mode " + *mode);
    const std::string errorLimit = args.get("--error").value_or(ProjectSettings{}.SciErrLimit.toText());

    const BaudCalcResult result = CalcBaudList({*crystal, divisor, errorLimit, kPlainNumbers});
    switch (result.status) {
        case BaudCalcStatus::Ok:
        case BaudCalcStatus::NoUsableRate:
            break;
        case BaudCalcStatus::ErrorLimitInvalid:
            return Usage("--error needs a number that fits a single, not " + errorLimit);
        case BaudCalcStatus::CrystalOutOfRange:
            return Usage("the crystal does not fit in whole Hz");
        case BaudCalcStatus::CrystalNotPositive:
            return CalculatorFailure(baud_messages::kCrystalTitle, std::string(baud_messages::kCrystalText));
        case BaudCalcStatus::ErrorLimitNegative:
            return CalculatorFailure(baud_messages::kErrorLimitTitle,
                                     std::string(baud_messages::kErrorLimitText));
    }
    std::string out;
    for (const BaudEntry& entry : result.entries)
        out += entry.rateText + " " + entry.spbrgText + " " + entry.actualText + "\n";
    const BaudEntry* chosen = result.chosen();
    out += chosen ? "chosen " + chosen->rateText + " " + chosen->spbrgText + "\n" : "chosen none\n";
    return Emit(out);
}

int RunI2c(int argc, char* argv[]) {
    const Arguments args = ParseArguments(argc, argv, {"--mhz", "--khz"}, {});
    if (!args.problem.empty()) return Usage(args.problem);
    const auto mhz = args.get("--mhz");
    const auto khz = args.get("--khz");
    if (!mhz || !khz) return Usage("--mhz and --khz are required");
    if (const auto problem = NotANumber(args, {"--mhz", "--khz"})) return Usage(*problem);
    const auto crystal = ParseSingle(*mhz);
    if (!crystal) return Usage(kCrystalNotSingle);
    const CalcOutcome outcome = CalculateSspadd(*khz, *crystal, kPlainNumbers);
    if (outcome.status != CalcStatus::Ok)
        return CalculatorFailure(outcome.message->title, outcome.message->text);
    const double actual = I2cRateKHz(*crystal, outcome.value);
    return Emit("sspadd=" + RegisterByteText(outcome.value) +
                " actual=" + FixedDecimalText(actual, 3, kPlainNumbers) + " error=" +
                FixedDecimalText(I2cErrorPercent(actual, *outcome.input), 3, kPlainNumbers) + "\n");
}

int RunAd(int argc, char* argv[]) {
    const Arguments args = ParseArguments(argc, argv, {"--mhz"}, {});
    if (!args.problem.empty()) return Usage(args.problem);
    const auto mhz = args.get("--mhz");
    if (!mhz) return Usage("--mhz is required");
    if (const auto problem = NotANumber(args, {"--mhz"})) return Usage(*problem);
    const auto crystal = ParseSingle(*mhz);
    if (!crystal) return Usage(kCrystalNotSingle);
    // Refused as the other calculators refuse a crystal of 0 or less.
    if (*crystal <= 0)
        return CalculatorFailure(baud_messages::kCrystalTitle, std::string(baud_messages::kCrystalText));
    std::string out;
    for (const AdClock& clock : AdClocks()) {
        std::string times;
        if (clock.divisor == 0) {
            times = "tad=" + std::to_string(kFrcTadMinUs) + "-" + std::to_string(kFrcTadMaxUs) +
                    " conversion=" + std::to_string(kFrcTadMinUs * kTadPerConversion) + "-" +
                    std::to_string(kFrcTadMaxUs * kTadPerConversion);
        } else {
            const double tad = TadUs(clock, *crystal);
            times = "tad=" + FixedDecimalText(tad, 3, kPlainNumbers) +
                    " conversion=" + FixedDecimalText(tad * kTadPerConversion, 3, kPlainNumbers);
        }
        out += std::string(clock.text) + " " + times +
               (TadAllowed(clock, *crystal) ? " allowed" : " too-fast") +
               (clock.onlyAParts ? " a-parts" : "") + "\n";
    }
    out += std::string("chosen ") + AdClockOf(DefaultAdClock(*crystal, true)).text + " " +
           AdClockOf(DefaultAdClock(*crystal, false)).text + "\n";
    return Emit(out);
}

}  // namespace

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") return Emit(kUsage);
        if (arg == "--version") return Emit("korvane-calc " + std::string(kVersion) + "\n");
    }
    if (argc < 2) return Usage("no calculator named");
    const std::string_view command = argv[1];
    if (command == "timer0") return RunTimer(TimerKind::Timer0, argc, argv);
    if (command == "timer1") return RunTimer(TimerKind::Timer1, argc, argv);
    if (command == "timer2") return RunTimer(TimerKind::Timer2, argc, argv);
    if (command == "baud") return RunBaud(argc, argv);
    if (command == "i2c") return RunI2c(argc, argv);
    if (command == "ad") return RunAd(argc, argv);
    return Usage("unknown calculator " + std::string(command));
}
