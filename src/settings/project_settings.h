#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/chip_facts.h"
#include "settings/setting_value.h"

namespace korvane {

enum class SettingGroup;

using PinDirections = std::array<std::int16_t, 8>;  // per pin: 1 = input, 0 = output
// Per pin: 1 = an output that starts high (RA4, open-drain: released), 0 = low.
using PinLevels = PinDirections;

// The sizes a driver's ring buffer may have: powers of two, for the mask.
inline constexpr std::int16_t kRingSizes[] = {4, 8, 16, 32, 64};

// Everything the user has chosen about the chip, one record for the whole run.
// Member initialisers are the defaults; a default-constructed record is the
// state right after the main window has loaded.
struct ProjectSettings {
    // Crystal
    float CrystalMHz = 4;

    // Ports
    PinDirections PortADir{}, PortBDir{}, PortCDir{}, PortDDir{}, PortEDir{};
    std::int16_t PortAUsed = 1;
    std::int16_t PortBUsed = 1;
    std::int16_t PortCUsed = 0;
    std::int16_t PortDUsed = 0;
    std::int16_t PortEUsed = 0;
    // The latch each port's outputs start from; inputs keep theirs unused.
    PinLevels PortALevel{}, PortBLevel{}, PortCLevel{}, PortDLevel{}, PortELevel{};

    // Timer0
    SettingValue T0En = false;
    std::int16_t T0Int = 0;  // -1 when the interrupt is on
    SettingValue T0UsePs = true;
    SettingValue T0PsIndex = 0;
    std::int16_t T0PsDiv = 2;
    SettingValue T0ClockMode = 0;
    SettingValue T0Edge = 0;
    SettingValue T0FreqMHz = 4;
    SettingValue T0TimeUs = 256;
    float T0ErrorUs = 0;
    std::string T0RegText;

    // Timer1
    SettingValue T1En = false;
    std::int16_t T1Int = 0;
    SettingValue T1PsIndex = 0;
    SettingValue T1PsDiv = 1;
    SettingValue T1ClockMode = 0;
    SettingValue T1SyncMode = 0;
    std::int16_t T1OscEn = 0;
    SettingValue T1FreqMHz = 4;
    SettingValue T1TimeUs = 256;
    float T1ErrorUs = 0;
    SettingValue T1RegHighText = std::string();
    std::string T1RegLowText;

    // Timer2
    SettingValue T2En = false;
    std::int16_t T2Int = 0;
    SettingValue T2PsIndex = 0;
    SettingValue T2PostIndex = 0;
    std::int16_t T2PsDiv = 1;
    SettingValue T2FreqMHz = 4;
    SettingValue T2TimeUs = 256;
    float T2ErrorUs = 0;
    std::string T2RegText;

    // CCP1 and CCP2
    SettingValue Ccp1En = false, Ccp2En = false;
    std::int16_t Ccp1Int = 0, Ccp2Int = 0;
    SettingValue Ccp1Mode = 0, Ccp2Mode = 0;
    SettingValue Ccp1M = 0, Ccp2M = 0;
    std::int16_t Ccp1SubCode = 4, Ccp2SubCode = 4;
    SettingValue Ccp1Y = 0, Ccp2Y = 0;
    SettingValue Ccp1X = 0, Ccp2X = 0;
    // The compare time as last worked out and the Timer1 counts it gives (0
    // while none could be worked out); the PWM duty time and the CCPRxL byte
    // it gives (-1 while none could be worked out; CCPxX and CCPxY hold the
    // two low bits). Defaults: 1000 counts and half of PR2 255, both at 4 MHz.
    SettingValue Ccp1CmpTimeUs = 1000, Ccp2CmpTimeUs = 1000;
    float Ccp1CmpValue = 1000, Ccp2CmpValue = 1000;
    SettingValue Ccp1DutyUs = 128, Ccp2DutyUs = 128;
    std::int16_t CcpDrivers = 1;  // both modules' driver functions, as SciDrivers
    std::int16_t Ccp1DutyReg = 128, Ccp2DutyReg = 128;

    // SCI
    SettingValue SciEn = 0;
    SettingValue SciTxEn = 1;
    SettingValue SciRxEn = 1;
    SettingValue SciSyncMode = 0;
    SettingValue SciTx9 = 0;
    SettingValue SciClockSource = 1;
    SettingValue SciTxInt = 0;
    std::int16_t SciRxInt = 0;
    SettingValue SciContinuous = 1;
    SettingValue SciSingleRx = 1;
    SettingValue SciRx9 = 0;
    std::int16_t SciHighSpeed = 1;
    SettingValue SciErrLimit = "0.2";
    std::string SciBaud;
    SettingValue SciSpbrgText = std::string();
    // Driver functions (XC8 and SDCC forms): on in a new project, off in a
    // file that does not name them. The ring buffers' sizes, of kRingSizes.
    std::int16_t SciDrivers = 1;
    std::int16_t SciRxBuffer = 16;
    std::int16_t SciTxBuffer = 16;

    // MSSP (SPI and I2C master); option indices as in settings/mssp.h
    std::int16_t MsspEn = 0;           // 1 = the module is used (SSPEN)
    std::int16_t MsspMode = 0;         // 0 SPI master, 1 SPI slave, 2 I2C master
    std::int16_t MsspSpiClock = 0;     // SPI master: Fosc/4, /16, /64, Timer2 output / 2
    std::int16_t MsspSlaveSelect = 1;  // SPI slave: 1 = RA5 is SS
    std::int16_t MsspCkp = 0;          // 1 = the clock idles high (CKP)
    std::int16_t MsspCke = 1;          // 1 = data goes out as the clock turns idle (CKE)
    std::int16_t MsspSmp = 0;          // SPI master: 1 = input sampled at the end of the bit (SMP)
    std::int16_t MsspI2cSpeed = 0;     // 0 = 100 kHz, 1 = 400 kHz, 2 = the typed rate
    // The I2C bus rate in kHz: the typed text after an edit, a single after the calculator.
    SettingValue MsspI2cKHz = 100;
    std::int16_t MsspSlewControl = 0;  // 1 = I2C slew-rate control on (SMP = 0), for 400 kHz
    std::int16_t MsspSspadd = 9;       // SSPADD for the rate; -1 while none could be worked out
    std::int16_t MsspInt = 0;          // -1 when the MSSP interrupt (SSPIE) is on
    std::int16_t MsspBclInt = 0;       // -1 when the bus-collision interrupt (BCLIE) is on
    // Driver functions of the master modes (XC8 and SDCC forms): on in a new
    // project, off in a file that does not name them.
    std::int16_t MsspDrivers = 1;

    // Chip and configuration word. ChipPart indexes the table of parts; each
    // Cfg field holds the index of its choice there (two-way fields: 0 off,
    // 1 on). The oscillator follows the crystal until the user picks one.
    std::int16_t ChipPart = kDefaultPart;
    std::int16_t CfgOsc = kOscXt;  // as the 4 MHz crystal needs
    std::int16_t CfgOscByHand = 0;
    std::int16_t CfgWdt = 0;
    std::int16_t CfgPwrt = 1;
    std::int16_t CfgBor = 1;
    std::int16_t CfgLvp = 0;
    std::int16_t CfgDebug = 0;
    std::int16_t CfgCp = 0;
    std::int16_t CfgCpd = 0;
    std::int16_t CfgWrt = 0;
    std::int16_t CfgWrite = 1;  // the generated source carries the word
    // The data EEPROM's driver functions. Off in a new project too: the
    // EEPROM is never switched on, so its drivers would be in every program.
    std::int16_t EepromDrivers = 0;
    std::int16_t OutputForm = 0;  // the compiler the text is written for: OutputFormId

    // Port B's extras: the RB0/INT interrupt and its edge (the INTEDG value:
    // 0 falling, 1 rising), the RB4..RB7 change interrupt, the weak pull-ups
    // (1 = on; the chip's RBPU bit is the opposite).
    std::int16_t Rb0Int = 0;  // -1 when the interrupt is on
    std::int16_t Rb0Edge = 0;
    std::int16_t RbChangeInt = 0;  // -1 when the interrupt is on
    std::int16_t RbPullUp = 0;

    // A/D converter; codes and indices as in settings/ad_converter.h
    std::int16_t AdEn = 0;            // 1 = the module is used (ADON)
    std::int16_t AdPcfg = 0b1110;     // ADCON1's PCFG code: AN0 alone analog
    std::int16_t AdChannel = 0;       // the channel converted first (CHS)
    std::int16_t AdClock = 0b001;     // ADCS2:ADCS0 code: Fosc/8, as the 4 MHz crystal needs
    std::int16_t AdClockByHand = 0;   // 1 = the user chose the clock; a new crystal keeps it
    std::int16_t AdRightJustify = 1;  // ADFM
    std::int16_t AdInt = 0;           // -1 when the A/D interrupt (ADIE) is on
    std::int16_t AdDrivers = 1;       // driver functions, as SciDrivers

    // Comparators and their voltage reference, on the A parts only; codes as
    // in settings/comparator.h
    std::int16_t CmpEn = 0;        // 1 = the module is used
    std::int16_t CmpMode = 0b010;  // CMCON's CM2:CM0: two independent comparators
    std::int16_t CmpC1Inv = 0;     // C1INV
    std::int16_t CmpC2Inv = 0;     // C2INV
    std::int16_t CmpCis = 0;       // CIS, in the multiplexed mode: 1 = VIN- on RA3 and RA2
    std::int16_t CmpInt = 0;       // -1 when the comparator interrupt (CMIE) is on
    std::int16_t CvrEn = 0;        // CVREN: the reference is on
    std::int16_t CvrOe = 0;        // CVROE: CVREF out on RA2
    std::int16_t CvrRange = 1;     // CVRR: 1 = 0 to 0.625 VDD in steps of VDD/24
    std::int16_t CvrValue = 0;     // CVR3:CVR0

    // Puts the settings of one group of the settings table back to their
    // defaults, apart from those its rows keep (calculator outputs, SciBaud,
    // SciSpbrgText, SciTxInt, SciRxInt).
    void Reset(SettingGroup group);

    bool operator==(const ProjectSettings&) const = default;
};

}  // namespace korvane
