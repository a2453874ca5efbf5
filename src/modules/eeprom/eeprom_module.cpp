#include "modules/eeprom/eeprom_module.h"

namespace korvane {

namespace {

bool Never(const ProjectSettings&) {
    return false;
}

bool DriversAsked(const ProjectSettings& s) {
    return s.EepromDrivers != 0;
}

// The data sheet's write: the previous write ended (WR = 0), interrupts off
// for the 55h/AAh sequence only and then as they were.
void Drivers(const ProjectSettings&, std::vector<Driver>& out, std::vector<Global>&) {
    out.push_back(
        {"unsigned char eeprom_read(unsigned char addr)",
         "//读出数据EEPROM的一个字节;先等正在进行的写入结束(会阻塞,最长约4mS);返回该字节",
         {"while ({WR})", "    ;", "EEADR = addr;", "{EEPGD} = 0;", "{RD} = 1;", "return EEDATA;"}});
    out.push_back({"void eeprom_write(unsigned char addr, unsigned char value)",
                   "//写一个字节到数据EEPROM;先等上一次写入结束(会阻塞,最长约4mS),中断允许保持原样;无返回值",
                   {"unsigned char gie;", "while ({WR})", "    ;", "EEADR = addr;", "EEDATA = value;",
                    "{EEPGD} = 0;", "{WREN} = 1;", "gie = {GIE};", "{GIE} = 0;", "EECON2 = 0x55;",
                    "EECON2 = 0xAA;", "{WR} = 1;", "if (gie) {GIE} = 1;", "{WREN} = 0;"}});
    out.push_back({"unsigned char eeprom_done(void)",
                   "//上一次写入是否已结束;不等待;结束返回1,否则返回0",
                   {"return !{WR};"}});
}

}  // namespace

constexpr Module kEepromModule = {
    .name = "EEPROM",
    .writesSetup = Never,
    .driversOn = DriversAsked,
    .drivers = Drivers,
    .driverBudget = {.words = 96, .ram = 4},
    .form = FormId::Chip,
};

}  // namespace korvane
