#include "dialogs/port_form.h"

#include <string>
#include <utility>

#include "chip/claims.h"
#include "settings/chip_facts.h"
#include "settings/parts.h"
#include "settings/pin_claims.h"

namespace korvane {

namespace {

// Per port A..E: the caption of its use box and pin frame, the pin prefix.
struct PortTexts {
    const char* caption;
    const char* prefix;
};
constexpr PortTexts kPortTexts[PortForm::kPortCount] = {
    {"PortA", "RA"}, {"PortB", "RB"}, {"PortC", "RC"}, {"PortD", "RD"}, {"PortE", "RE"},
};

std::string PinCaption(const char* prefix, int pin, bool input, bool analog = false) {
    return prefix + std::to_string(pin) + (analog ? "_AN" : input ? "_IN" : "_OUT");
}

// The model name of member `pin` of a control array: "Chk_PortA(4)".
std::string PinBoxName(const char* arrayName, int pin) {
    return std::string(arrayName) + "(" + std::to_string(pin) + ")";
}

template <std::size_t... Pin>
PortForm::PinBoxes MakePinBoxes(const char* arrayName, int port, std::index_sequence<Pin...>) {
    const char* prefix = kPortTexts[port].prefix;
    return {CheckBox(PinBoxName(arrayName, Pin), PinCaption(prefix, Pin, false))...};
}

PortForm::PinBoxes MakePinBoxes(const char* arrayName, int port) {
    return MakePinBoxes(arrayName, port, std::make_index_sequence<PortForm::kPinCount>{});
}

// RA4 can only pull low: its "high" lets go of the pin.
bool OpenDrain(int port, int pin) {
    return port == kPortA && pin == kTimer0ClockPin;
}

std::string LevelCaption(int port, int pin, bool high) {
    return high ? (OpenDrain(port, pin) ? "高(释放)" : "高") : "低";
}

constexpr const char* kLevelTip = "复位后该输出引脚的电平:勾选为高电平,不勾选为低电平";
constexpr const char* kOpenDrainTip =
    "RA4为开漏输出,只能拉低:勾选即释放引脚(不驱动),由外接上拉电阻拉高;不勾选为低电平";

template <std::size_t... Pin>
PortForm::PinBoxes MakeLevelBoxes(const char* arrayName, int port, std::index_sequence<Pin...>) {
    PortForm::PinBoxes boxes{CheckBox(PinBoxName(arrayName, Pin), LevelCaption(port, Pin, false))...};
    for (std::size_t pin = 0; pin < boxes.size(); ++pin)
        boxes[pin].setToolTip(OpenDrain(port, static_cast<int>(pin)) ? kOpenDrainTip : kLevelTip);
    return boxes;
}

PortForm::PinBoxes MakeLevelBoxes(const char* arrayName, int port) {
    return MakeLevelBoxes(arrayName, port, std::make_index_sequence<PortForm::kPinCount>{});
}

}  // namespace

PortForm::PortForm(AppContext& context)
    : Form(kName, "Port Set"),
      Frame1("Frame1", "需要使用的端口"),
      Check1("Check1", kPortTexts[0].caption),
      Check2("Check2", kPortTexts[1].caption),
      Check3("Check3", kPortTexts[2].caption),
      Check4("Check4", kPortTexts[3].caption),
      Check5("Check5", kPortTexts[4].caption),
      Frame2("Frame2", kPortTexts[0].caption),
      Frame3("Frame3", kPortTexts[1].caption),
      Frame4("Frame4", kPortTexts[2].caption),
      Frame5("Frame5", kPortTexts[3].caption),
      Frame6("Frame6", kPortTexts[4].caption),
      Chk_PortA(MakePinBoxes("Chk_PortA", 0)),
      Chk_PortB(MakePinBoxes("Chk_PortB", 1)),
      Chk_PortC(MakePinBoxes("Chk_PortC", 2)),
      Chk_PortD(MakePinBoxes("Chk_PortD", 3)),
      Chk_PortE(MakePinBoxes("Chk_PortE", 4)),
      Label1("Label1", "复位后电平(&L)(勾选为高,RA4为开漏,高即释放):"),
      Chk_LevelA(MakeLevelBoxes("Chk_LevelA", 0)),
      Chk_LevelB(MakeLevelBoxes("Chk_LevelB", 1)),
      Chk_LevelC(MakeLevelBoxes("Chk_LevelC", 2)),
      Chk_LevelD(MakeLevelBoxes("Chk_LevelD", 3)),
      Chk_LevelE(MakeLevelBoxes("Chk_LevelE", 4)),
      Command1("Command1", "确定(&E)"),
      context_(context),
      settings_(context.settings) {
    // The state every opening starts from, set before any handler is wired:
    // ports A and B ticked, C..E greyed out, every pin an output.
    Check1.setChecked(true);
    Check2.setChecked(true);
    for (int p = kPortC; p < kPortCount; ++p) {
        port(p).pinFrame.setEnabled(false);
        for (auto& box : port(p).pins) box.setEnabled(false);
    }
    // A box of no pin (RA6, RA7, RE3..RE7) is never usable.
    for (int p = kPortA; p < kPortCount; ++p) {
        for (int k = kPinsOfPort[p]; k < kPinCount; ++k) port(p).pins[k].setEnabled(false);
        EnableLevels(p);
    }

    Check1.onClick = [this] { Check1_Click(); };
    Check2.onClick = [this] { Check2_Click(); };
    Check3.onClick = [this] { Check3_Click(); };
    Check4.onClick = [this] { Check4_Click(); };
    Check5.onClick = [this] { Check5_Click(); };
    // One guard for every port and every pin: a port a module needs stays
    // used, a pin a module holds keeps its direction and level.
    for (int p = 0; p < kPortCount; ++p) {
        port(p).useBox.onPress = [this, p] { return PortOnChip(p) && PortMayClose(p); };
        for (int k = 0; k < kPinCount; ++k) {
            port(p).pins[k].onPress = [this, p, k] { return PinMayChange(p, k); };
            port(p).levelBoxes[k].onClick = [this, p, k] { Chk_Level_Click(p, k); };
            port(p).levelBoxes[k].onPress = [this, p, k] { return PinMayChange(p, k); };
        }
    }
    for (int k = 0; k < kPinCount; ++k) {
        Chk_PortA[k].onClick = [this, k] { Chk_PortA_Click(k); };
        Chk_PortB[k].onClick = [this, k] { Chk_PortB_Click(k); };
        Chk_PortC[k].onClick = [this, k] { Chk_PortC_Click(k); };
        Chk_PortD[k].onClick = [this, k] { Chk_PortD_Click(k); };
        Chk_PortE[k].onClick = [this, k] { Chk_PortE_Click(k); };
    }
    Command1.onClick = [this] { Command1_Click(); };
}

PortForm::Port PortForm::port(int index) {
    using F = PortForm;
    using S = ProjectSettings;
    struct Members {
        CheckBox F::*useBox;
        Frame F::*pinFrame;
        PinBoxes F::*pins;
        PinBoxes F::*levelBoxes;
        PinDirections S::*directions;
        std::int16_t S::*used;
        PinLevels S::*levels;
    };
    static constexpr Members kMembers[kPortCount] = {
        {&F::Check1, &F::Frame2, &F::Chk_PortA, &F::Chk_LevelA, &S::PortADir, &S::PortAUsed, &S::PortALevel},
        {&F::Check2, &F::Frame3, &F::Chk_PortB, &F::Chk_LevelB, &S::PortBDir, &S::PortBUsed, &S::PortBLevel},
        {&F::Check3, &F::Frame4, &F::Chk_PortC, &F::Chk_LevelC, &S::PortCDir, &S::PortCUsed, &S::PortCLevel},
        {&F::Check4, &F::Frame5, &F::Chk_PortD, &F::Chk_LevelD, &S::PortDDir, &S::PortDUsed, &S::PortDLevel},
        {&F::Check5, &F::Frame6, &F::Chk_PortE, &F::Chk_LevelE, &S::PortEDir, &S::PortEUsed, &S::PortELevel},
    };
    const Members& m = kMembers[index];
    return {this->*m.useBox,         this->*m.pinFrame, this->*m.pins,       kPortTexts[index].prefix,
            settings_.*m.directions, settings_.*m.used, this->*m.levelBoxes, settings_.*m.levels};
}

void PortForm::Form_Load() {
    // Ticking a pin box rewrites its port's whole direction setting from the
    // boxes as they stand, so restore from a copy taken before the first tick.
    std::array<PinDirections, kPortCount> stored;
    for (int p = 0; p < kPortCount; ++p) stored[p] = port(p).directions;

    // A box of no pin stays an unticked output; its stored direction is kept.
    for (int k = 0; k < kPinCount; ++k)
        for (int p = 0; p < kPortCount; ++p)
            if (k < kPinsOfPort[p]) port(p).pins[k].setChecked(stored[p][k] == 1);

    // Each level box stores only its own pin: no copy needed.
    for (int p = 0; p < kPortCount; ++p)
        for (int k = 0; k < kPinsOfPort[p]; ++k) port(p).levelBoxes[k].setChecked(port(p).levels[k] == 1);

    // A port the part lacks shows unused, whatever a project file says.
    for (int p = 0; p < kPortCount; ++p)
        port(p).useBox.setChecked(port(p).used == 1 && PortExists(settings_, p));
}

void PortForm::Check1_Click() {
    UseBoxChanged(0);
}
void PortForm::Check2_Click() {
    UseBoxChanged(1);
}
void PortForm::Check3_Click() {
    UseBoxChanged(2);
}
void PortForm::Check4_Click() {
    UseBoxChanged(3);
}
void PortForm::Check5_Click() {
    UseBoxChanged(4);
}

void PortForm::UseBoxChanged(int portIndex) {
    // An unused port keeps its directions; they are only greyed out.
    Port p = port(portIndex);
    const bool used = p.useBox.checked();
    p.pinFrame.setEnabled(used);
    for (int k = 0; k < kPinsOfPort[portIndex]; ++k) p.pins[k].setEnabled(used);
    p.used = used ? 1 : 0;
    EnableLevels(portIndex);
}

void PortForm::EnableLevels(int portIndex) {
    // An input keeps its stored level, greyed out, for when it is an output again.
    Port p = port(portIndex);
    for (int k = 0; k < kPinCount; ++k)
        p.levelBoxes[k].setEnabled(k < kPinsOfPort[portIndex] && p.useBox.checked() && !p.pins[k].checked());
}

void PortForm::Chk_Level_Click(int portIndex, int index) {
    Port p = port(portIndex);
    const bool high = p.levelBoxes[index].checked();
    p.levels[index] = high ? 1 : 0;
    p.levelBoxes[index].setCaption(LevelCaption(portIndex, index, high));
}

void PortForm::Chk_PortA_Click(int /*index*/) {
    PinsChanged(kPortA);
}
void PortForm::Chk_PortB_Click(int /*index*/) {
    PinsChanged(kPortB);
}
void PortForm::Chk_PortC_Click(int /*index*/) {
    PinsChanged(kPortC);
}
void PortForm::Chk_PortD_Click(int /*index*/) {
    PinsChanged(kPortD);
}

void PortForm::Chk_PortE_Click(int /*index*/) {
    PinsChanged(kPortE);
}

void PortForm::PinsChanged(int portIndex) {
    // A claimed pin stored the wrong way (a project edited by hand) is put
    // right by the port's first change. Not while loading, when pins
    // restored before it would trip the rule.
    Port p = port(portIndex);
    if (!loading())
        for (const PinClaim& claim : PinClaims(settings_)) {
            auto& box = p.pins[static_cast<std::size_t>(claim.pin)];
            if (claim.port != portIndex || box.checked() == claim.input) continue;
            Warn(PinTakenMessage(claim));
            p.directions[static_cast<std::size_t>(claim.pin)] = claim.input ? 1 : 0;
            // Runs this handler again, which then stores all the port's pins.
            box.setChecked(claim.input);
            return;
        }
    WritePinsFromBoxes(portIndex);
}

void PortForm::WritePinsFromBoxes(int portIndex) {
    Port p = port(portIndex);
    for (int k = 0; k < kPinsOfPort[portIndex]; ++k) {
        const bool input = p.pins[k].checked();
        p.directions[k] = input ? 1 : 0;
        const auto claim = ClaimOn(settings_, portIndex, k);
        p.pins[k].setCaption(PinCaption(p.prefix, k, input, claim && IsAnalog(claim->signal)));
    }
    EnableLevels(portIndex);
}

bool PortForm::PinMayChange(int portIndex, int pin) {
    const auto claim = ClaimOn(settings_, portIndex, pin);
    if (!claim) return true;
    Warn(PinTakenMessage(*claim));
    return false;
}

bool PortForm::PortMayClose(int portIndex) {
    const auto claim = ClaimOnPort(settings_, portIndex);
    if (!claim) return true;
    Warn(PortNeededMessage(settings_, *claim));
    return false;
}

bool PortForm::PortOnChip(int portIndex) {
    if (PortExists(settings_, portIndex)) return true;
    const std::string part(ChosenPart(settings_).name);
    Warn({"端口不存在", part + "是28脚芯片,没有PortD和PortE.\r若要使用,请先在\"选择芯片\"中选择40脚的芯片."});
    return false;
}

void PortForm::Command1_Click() {
    unload();
}

void PortForm::Warn(const PinMessage& message) {
    context_.platform.messageBox(message.text, message.title, MessageIcon::Warning, MessageButtons::Ok);
}

}  // namespace korvane
