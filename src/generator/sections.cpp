#include "generator/sections.h"

#include "settings/ad_converter.h"
#include "settings/mssp.h"
#include "settings/parts.h"

namespace korvane {

bool AnyPortUsed(const ProjectSettings& s) {
    // Ports D and E count only on a part that has them.
    const std::int16_t used[] = {s.PortAUsed, s.PortBUsed, s.PortCUsed, s.PortDUsed, s.PortEUsed};
    for (int port = 0; port < 5; ++port)
        if (used[port] != 0 && PortExists(s, port)) return true;
    return false;
}

bool AnyTimerUsed(const ProjectSettings& s) {
    return s.T0En.isTrue() || s.T1En.isTrue() || s.T2En.isTrue();
}

bool PortBOptionsWritten(const ProjectSettings& s) {
    return s.Rb0Int != 0 || s.RbPullUp == 1;
}

bool TimerSetupWritten(const ProjectSettings& s) {
    return AnyTimerUsed(s) || PortBOptionsWritten(s);
}

bool AnyCcpUsed(const ProjectSettings& s) {
    return s.Ccp1En.isTrue() || s.Ccp2En.isTrue();
}

bool SciUsed(const ProjectSettings& s) {
    return s.SciEn.equals(1);
}

bool AnyInterrupt(const ProjectSettings& s) {
    return s.T0Int != 0 || s.T1Int != 0 || s.T2Int != 0 || s.Ccp1Int != 0 || s.Ccp2Int != 0 ||
           s.SciTxInt.equals(1) || s.SciRxInt == 1 || SspInterrupt(s) || BusCollisionInterrupt(s) ||
           s.Rb0Int != 0 || s.RbChangeInt != 0 || AdInterrupt(s);
}

bool SspInterrupt(const ProjectSettings& s) {
    return MsspUsed(s) && s.MsspInt != 0;
}

bool BusCollisionInterrupt(const ProjectSettings& s) {
    return MsspIsI2cMaster(s) && s.MsspBclInt != 0;
}

bool AdInterrupt(const ProjectSettings& s) {
    return AdUsed(s) && s.AdInt != 0;
}

std::optional<Adcon1Choice> Adcon1Of(const ProjectSettings& s) {
    if (AdUsed(s)) return Adcon1Choice{AdAdcon1(s), true};
    // PCFG = 011x: every pin of ports A and E digital.
    constexpr std::int64_t kAllDigital = kPcfgAllDigital;
    if (s.PortAUsed == 1 || s.PortEUsed == 1) return Adcon1Choice{kAllDigital, false};
    return std::nullopt;
}

}  // namespace korvane
