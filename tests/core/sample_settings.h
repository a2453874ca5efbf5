#pragma once

#include "settings/project_settings.h"

namespace korvane {

// Every section present: the timer0 typical run, Timer1 in timer mode,
// Timer2, both CCP modules, asynchronous SCI and every interrupt source.
inline ProjectSettings EverythingOn() {
    ProjectSettings s;
    s.PortCUsed = 1;
    s.PortCDir[2] = 1;
    s.PortCDir[6] = s.PortCDir[7] = 1;  // the SCI's pins
    s.T0En = true;
    s.T0Int = -1;
    s.T0TimeUs = 100.0f;
    s.T0RegText = "0xCE";
    s.T1En = true;
    s.T1Int = -1;
    s.T1TimeUs = 1000.0f;
    s.T1RegHighText = "0xFC";
    s.T1RegLowText = "0x18";
    s.T2En = true;
    s.T2Int = -1;
    s.T2RegText = "0xFF";
    s.Ccp1En = true;
    s.Ccp1Int = -1;
    s.Ccp1M = 4;
    s.Ccp2En = true;
    s.Ccp2Int = -1;
    s.Ccp2Mode = 2;
    s.Ccp2M = 12;
    s.SciEn = 1;
    s.SciTxInt = 1;
    s.SciRxInt = 1;
    s.SciSpbrgText = "0xCF";
    s.SciBaud = "1200";
    return s;
}

}  // namespace korvane
