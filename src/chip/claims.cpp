#include "chip/claims.h"

#include <initializer_list>

#include "chip/module_list.h"

namespace korvane {

namespace {

// Two claims on one pin conflict unless they may share it: one module's
// claims never conflict with each other (Timer1's counter input and its
// oscillator share RC0 by design), and readers of an analog voltage share.
bool Conflict(const PinClaim& a, const PinClaim& b) {
    return a.port == b.port && a.pin == b.pin && &ModuleOfUse(a.use) != &ModuleOfUse(b.use) &&
           !MayShare(a.signal, b.signal);
}

std::string Join(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r") + line;
    return text;
}

PinMessage FromFixed(const FixedMessage& message) {
    return {message.title, Join({message.line1, message.line2})};
}

PinDirections& DirectionsOf(ProjectSettings& s, int port) {
    static constexpr PinDirections ProjectSettings::*kDirections[] = {
        &ProjectSettings::PortADir, &ProjectSettings::PortBDir, &ProjectSettings::PortCDir,
        &ProjectSettings::PortDDir, &ProjectSettings::PortEDir};
    return s.*kDirections[port];
}

std::int16_t& UsedOf(ProjectSettings& s, int port) {
    static constexpr std::int16_t ProjectSettings::*kUsed[] = {
        &ProjectSettings::PortAUsed, &ProjectSettings::PortBUsed, &ProjectSettings::PortCUsed,
        &ProjectSettings::PortDUsed, &ProjectSettings::PortEUsed};
    return s.*kUsed[port];
}

}  // namespace

std::vector<PinClaim> PinClaims(const ProjectSettings& s) {
    std::vector<PinClaim> claims;
    for (const Module* module : ModulesInClaimOrder())
        if (module->claimPins) module->claimPins(s, claims);
    return claims;
}

std::optional<PinClaim> ClaimOn(const ProjectSettings& s, int port, int pin) {
    for (const PinClaim& claim : PinClaims(s))
        if (claim.port == port && claim.pin == pin) return claim;
    return std::nullopt;
}

std::optional<PinClaim> ClaimOnPort(const ProjectSettings& s, int port) {
    for (const PinClaim& claim : PinClaims(s))
        if (claim.port == port) return claim;
    return std::nullopt;
}

void ApplyPinClaims(ProjectSettings& s) {
    for (const PinClaim& claim : PinClaims(s)) {
        DirectionsOf(s, claim.port)[static_cast<std::size_t>(claim.pin)] = claim.input ? 1 : 0;
        UsedOf(s, claim.port) = 1;
    }
}

std::optional<PinConflict> ConflictOf(const ProjectSettings& s, PinUse taker) {
    const std::vector<PinClaim> claims = PinClaims(s);
    for (const PinClaim& mine : claims) {
        if (mine.use != taker) continue;
        for (const PinClaim& other : claims)
            if (Conflict(other, mine)) return PinConflict{other, mine};
    }
    return std::nullopt;
}

std::optional<PinConflict> FirstConflict(const ProjectSettings& s) {
    const std::vector<PinConflict> conflicts = PinConflicts(s);
    if (conflicts.empty()) return std::nullopt;
    return conflicts.front();
}

std::vector<PinConflict> PinConflicts(const ProjectSettings& s) {
    const std::vector<PinClaim> claims = PinClaims(s);
    std::vector<PinConflict> conflicts;
    for (std::size_t i = 0; i < claims.size(); ++i)
        for (std::size_t j = i + 1; j < claims.size(); ++j)
            if (Conflict(claims[i], claims[j])) conflicts.push_back({claims[i], claims[j]});
    return conflicts;
}

const PinUseTexts& TextsOf(PinUse use) {
    for (const PinUseTexts& texts : ModuleOfUse(use).pinUses)
        if (texts.use == use) return texts;
    // ModuleOfUse found the module by these texts.
    return ModuleOfUse(use).pinUses.front();
}

const char* ClaimingSetting(PinUse use) {
    return TextsOf(use).setting;
}

PinMessage PinTakenMessage(const PinClaim& claim) {
    const PinUseTexts& texts = TextsOf(claim.use);
    if (texts.pinTaken) return FromFixed(*texts.pinTaken);
    const std::string pin = PinName(claim.port, claim.pin);
    const char* kept = claim.input ? "输入" : "输出";
    const char* wanted = claim.input ? "输出" : "输入";
    return {pin + "口已被占用",
            Join({std::string(texts.user) + "已使用" + pin + "口," + pin + "必须定义为" + kept + ".",
                  std::string("若要定义为") + wanted + ",请先" + texts.release + "."})};
}

PinMessage PortNeededMessage(const ProjectSettings& s, const PinClaim& claim) {
    const PinUseTexts& texts = TextsOf(claim.use);
    if (texts.portNeeded) return FromFixed(*texts.portNeeded);
    std::string pins;
    for (const PinClaim& other : PinClaims(s))
        if (other.use == claim.use && other.port == claim.port)
            pins += (pins.empty() ? "" : "、") + PinName(other.port, other.pin);
    const std::string port = PinName(claim.port, 0).substr(0, 2);
    return {"禁止关闭" + port, Join({std::string(texts.user) + "需使用" + pins + "口,不可关闭",
                                     "若需关闭" + port + "口,请先" + texts.release})};
}

PinMessage ConflictMessage(const PinConflict& conflict) {
    const PinUseTexts& holder = TextsOf(conflict.holder.use);
    const PinUseTexts& taker = TextsOf(conflict.taker.use);
    const std::string pin = PinName(conflict.taker.port, conflict.taker.pin);
    return {pin + "口已被占用",
            Join({std::string(holder.user) + "已使用" + pin + "口," + taker.user + "不能同时使用.",
                  std::string("若要使用") + taker.user + ",请先" + holder.release + "."})};
}

}  // namespace korvane
