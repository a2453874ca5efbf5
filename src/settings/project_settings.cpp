#include "settings/project_settings.h"

namespace korvane {

namespace {
// Built on first use, so no reset can run before the defaults exist.
const ProjectSettings& Defaults() {
    static const ProjectSettings defaults;
    return defaults;
}
}  // namespace

void ProjectSettings::ResetPorts() {
    const ProjectSettings& kDefaults = Defaults();
    PortADir = kDefaults.PortADir;
    PortBDir = kDefaults.PortBDir;
    PortCDir = kDefaults.PortCDir;
    PortDDir = kDefaults.PortDDir;
    PortEDir = kDefaults.PortEDir;
    PortAUsed = kDefaults.PortAUsed;
    PortBUsed = kDefaults.PortBUsed;
    PortCUsed = kDefaults.PortCUsed;
    PortDUsed = kDefaults.PortDUsed;
    PortEUsed = kDefaults.PortEUsed;
}

void ProjectSettings::ResetTimer0() {
    const ProjectSettings& kDefaults = Defaults();
    T0En = kDefaults.T0En;
    T0Int = kDefaults.T0Int;
    T0UsePs = kDefaults.T0UsePs;
    T0PsIndex = kDefaults.T0PsIndex;
    T0PsDiv = kDefaults.T0PsDiv;
    T0ClockMode = kDefaults.T0ClockMode;
    T0Edge = kDefaults.T0Edge;
    T0FreqMHz = kDefaults.T0FreqMHz;
    T0TimeUs = kDefaults.T0TimeUs;
}

void ProjectSettings::ResetTimer1() {
    const ProjectSettings& kDefaults = Defaults();
    T1En = kDefaults.T1En;
    T1Int = kDefaults.T1Int;
    T1PsIndex = kDefaults.T1PsIndex;
    T1PsDiv = kDefaults.T1PsDiv;
    T1ClockMode = kDefaults.T1ClockMode;
    T1SyncMode = kDefaults.T1SyncMode;
    T1OscEn = kDefaults.T1OscEn;
    T1FreqMHz = kDefaults.T1FreqMHz;
    T1TimeUs = kDefaults.T1TimeUs;
}

void ProjectSettings::ResetTimer2() {
    const ProjectSettings& kDefaults = Defaults();
    T2En = kDefaults.T2En;
    T2Int = kDefaults.T2Int;
    T2PsIndex = kDefaults.T2PsIndex;
    T2PostIndex = kDefaults.T2PostIndex;
    T2PsDiv = kDefaults.T2PsDiv;
    T2FreqMHz = kDefaults.T2FreqMHz;
    T2TimeUs = kDefaults.T2TimeUs;
}

void ProjectSettings::ResetCcp() {
    const ProjectSettings& kDefaults = Defaults();
    Ccp1En = kDefaults.Ccp1En;
    Ccp2En = kDefaults.Ccp2En;
    Ccp1Int = kDefaults.Ccp1Int;
    Ccp2Int = kDefaults.Ccp2Int;
    Ccp1Mode = kDefaults.Ccp1Mode;
    Ccp2Mode = kDefaults.Ccp2Mode;
    Ccp1M = kDefaults.Ccp1M;
    Ccp2M = kDefaults.Ccp2M;
    Ccp1SubCode = kDefaults.Ccp1SubCode;
    Ccp2SubCode = kDefaults.Ccp2SubCode;
    Ccp1Y = kDefaults.Ccp1Y;
    Ccp2Y = kDefaults.Ccp2Y;
    Ccp1X = kDefaults.Ccp1X;
    Ccp2X = kDefaults.Ccp2X;
    Ccp1CmpTimeUs = kDefaults.Ccp1CmpTimeUs;
    Ccp2CmpTimeUs = kDefaults.Ccp2CmpTimeUs;
    Ccp1CmpValue = kDefaults.Ccp1CmpValue;
    Ccp2CmpValue = kDefaults.Ccp2CmpValue;
    Ccp1DutyUs = kDefaults.Ccp1DutyUs;
    Ccp2DutyUs = kDefaults.Ccp2DutyUs;
    Ccp1DutyReg = kDefaults.Ccp1DutyReg;
    Ccp2DutyReg = kDefaults.Ccp2DutyReg;
}

void ProjectSettings::ResetSci() {
    const ProjectSettings& kDefaults = Defaults();
    SciEn = kDefaults.SciEn;
    SciTxEn = kDefaults.SciTxEn;
    SciRxEn = kDefaults.SciRxEn;
    SciSyncMode = kDefaults.SciSyncMode;
    SciTx9 = kDefaults.SciTx9;
    SciClockSource = kDefaults.SciClockSource;
    SciContinuous = kDefaults.SciContinuous;
    SciSingleRx = kDefaults.SciSingleRx;
    SciRx9 = kDefaults.SciRx9;
    SciHighSpeed = kDefaults.SciHighSpeed;
    SciErrLimit = kDefaults.SciErrLimit;
}

}  // namespace korvane
