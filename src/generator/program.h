#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace korvane {

// The generated program as a description: what each function sets, in which
// order, with the comment that explains it. A writer turns it into one output
// form's text. Values are numbers, never stored texts, so nothing a project
// file holds can reach the program except through a comment.

// How a value is spelt: a single digit bit, a decimal number, or a register
// byte ("0x0F").
enum class ValueForm { Bit, Decimal, Byte };

// One register or bit set to a value.
struct Write {
    std::string target;
    std::int64_t value;
    ValueForm form;
};

// How the writes of one statement share a line: each as its own assignment
// ("A=1;B=0;"), as one assignment with blanks ("TRISA = 0x00;"), or as one
// chained assignment of the same value ("TMR1H=TMR1L=0x00;").
enum class Layout { Packed, Spaced, Chained };

struct Blank {};
// A comment line. `keepsLine` leaves an empty line in its place when the
// text is written without comments.
struct Note {
    std::string text;
    bool keepsLine = false;
};
struct Assign {
    std::vector<Write> writes;
    std::string comment;  // on the same line
    Layout layout = Layout::Packed;
    // A bit set by itself, where the forms that write registers whole must
    // leave the register's other bits as an earlier function set them.
    bool alone = false;
};
// Clears the watchdog, as each form spells it.
struct ClearWatchdog {
    std::string comment;
};
// Waits at least `microseconds`: `loops` turns of a counting loop, each of
// at least three instruction cycles, where a form has no delay of its own.
struct Wait {
    std::int64_t microseconds;
    std::int64_t loops;
    std::string comment;
};
// Stores a register into a variable: a read that ends a condition.
struct Read {
    std::string variable;
    std::string source;
    std::string comment;
};
using Step = std::variant<Blank, Note, Assign, ClearWatchdog, Wait, Read>;

// Builds a function's steps so that a module's builder reads like the list of
// statements it writes.
class Body {
public:
    void Blank() { steps.emplace_back(korvane::Blank{}); }
    void Comment(std::initializer_list<std::string_view> pieces);
    // A comment whose line stays, empty, without comments.
    void CommentKeepingLine(std::string_view text);
    void Set(std::vector<Write> writes, std::string_view comment = {}, Layout layout = Layout::Packed);
    void SetBit(std::string_view target, std::int64_t value, std::string_view comment = {});
    void ClearWatchdog(std::string_view comment) {
        steps.emplace_back(korvane::ClearWatchdog{std::string(comment)});
    }
    void SetBitAlone(std::string_view target, std::int64_t value, std::string_view comment = {});
    void Wait(std::int64_t microseconds, std::int64_t loops, std::string_view comment) {
        steps.emplace_back(korvane::Wait{microseconds, loops, std::string(comment)});
    }
    void Read(std::string_view variable, std::string_view source, std::string_view comment) {
        steps.emplace_back(korvane::Read{std::string(variable), std::string(source), std::string(comment)});
    }

    std::vector<Step> steps;
};

// The set-up functions, in the order main calls them. The modern forms start
// the timers in a function of their own, once every module they drive is set
// up; the classic text starts each timer where it sets it up.
enum class SetupId { Ports, Timers, Ccp, Sci, Mssp, Ad, Comparator, Start, InterruptEnable };

struct Function {
    SetupId id;
    std::string name;     // "fun_timerset"
    std::string comment;  // the line above it
    std::vector<Step> body;
    std::string region;  // the user's code region at its end; none in the classic text
};

// What an interrupt branch does besides the user's code: clear its flag, or,
// where the flag is read-only, read the data register that clears it, or send
// what is waiting and stop the interrupt when nothing is, or clear the flag
// and keep a result the next event overwrites. With a module's drivers, a
// received byte goes into the receive ring buffer and what is sent comes
// from the transmit one, and a kept result is marked ready for them.
enum class Service { ClearFlag, ReadData, SendData, ReadResult, RingReceive, RingSend, KeepResult };

// A timer reloaded in its branch by adding its start value to the running
// count, so that the period does not depend on the entry latency or on how
// long any user code runs.
struct TimerReload {
    int timer;              // 0 or 1
    std::int64_t counts;    // the period in timer counts
    std::int64_t prescale;  // 1 without a prescaler
    double periodUs;        // the period the counts give
    bool instructionClock;  // counts Fosc/4, not pulses on T0CKI
};

// An interrupt branch: tests `flag`, stores `source` into `variable` first
// when it has one (a read that ends the condition), then clears the flag.
// The classic text has a branch for every serviced source and always clears
// the flag; the other forms have one for every enabled source, which also
// tests the enable, serve it as `service` says and reload a timer.
struct Branch {
    std::string flag;
    std::string comment;
    std::string variable;
    std::string source;
    std::string readComment;
    bool serviced = true;
    bool enabled = true;
    std::string enableBit;
    Service service = Service::ClearFlag;
    // ReadData and SendData: the data register and the name the user's
    // variables start with ("sci_rx": sci_rx_byte, sci_tx_byte and sci_tx_full).
    std::string dataRegister;
    std::string dataVariable;
    std::optional<TimerReload> reload;
    // What the user's code must do for the source, where the data sheet
    // leaves it to the program.
    std::string userAction;
    std::string region;  // the user's code region of the branch, where the form has them
};

// Where a ReadResult or KeepResult branch keeps the result: ad_result, or
// ad_value beside the drivers' ad_result().
std::string ResultVariable(const Branch& branch);

// The receive branch's counts of the bytes it had to drop.
inline constexpr std::string_view kFrameErrorsVariable = "sci_frame_errors";
inline constexpr std::string_view kOverrunsVariable = "sci_overruns";
// And, with the drivers' ring buffer, those it had no room for.
inline constexpr std::string_view kRxLostVariable = "sci_rx_lost";

// A ring buffer between the interrupt routine and main: the routine moves
// one index, main the other, each a byte the other only reads, so neither
// can catch the other half-way. The indices run freely; the size, a power of
// two, masks them.
struct Ring {
    std::string buffer;  // sci_rx_buf
    std::string head;    // where the next byte goes
    std::string tail;    // where the next byte comes from
    std::string size;    // SCI_RX_SIZE, a #define
};
Ring RingOf(std::string_view variable);

struct Enable {
    std::string bit;
    std::string comment;
    bool peripheral;  // takes effect only with PEIE set
};

// A variable the program shares between the interrupt routine and main.
struct Global {
    std::string declaration;
    std::string comment;
};

// A driver function of the forms that have drivers: C both compilers read,
// where {NAME} is a bit the form spells its own way. Declared at the top
// with its one-line comment (what it does, whether it waits, what it
// returns), defined after the set-up functions.
struct Driver {
    std::string declaration;        // "unsigned char sci_read(void)"
    std::string comment;            // "//...": one line
    std::vector<std::string> body;  // the lines between its braces, unindented, without comments
};

// A driver's line with each {NAME} as `spell` spells that bit.
std::string SpellBits(std::string_view line, const std::function<std::string(std::string_view)>& spell);

struct ConfigOption {
    std::string directive;  // the assembler's names: FOSC = XT
    std::string option;
};

struct ConfigWordLine {
    std::uint16_t word;
    std::vector<std::string> choices;  // each field's choice, for the comment
    std::vector<ConfigOption> fields;
};

struct Program {
    std::string part;  // "pic16f877a"
    std::int64_t crystalHz = 0;
    // The watchdog runs: the word turns it on, or the user programs the word.
    bool watchdog = false;
    std::optional<ConfigWordLine> config;  // none when the user programs the word
    std::vector<Global> globals;
    std::vector<Function> setups;
    bool interrupts = false;  // the interrupt routine and the enable function exist
    std::vector<Branch> branches;
    std::vector<Enable> enables;
    std::optional<Function> interruptEnable;  // fun_intset, called after every set-up
    std::vector<Driver> drivers;
    // What the drivers cost, summed over the modules that have them, and the
    // bytes of their buffers.
    int driverWords = 0;
    int driverRam = 0;
    int driverBuffers = 0;
    // The user's code regions of the declarations and of main; empty in the
    // classic text, which has none.
    std::string globalsRegion;
    std::string beforeLoopRegion;
    std::string loopRegion;
};

}  // namespace korvane
