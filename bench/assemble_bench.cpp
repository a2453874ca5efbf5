// Cost of one generate command with the largest source the settings allow:
// every port, timer, CCP module, the serial port, every interrupt, comments.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "generator/source_assembly.h"
#include "settings/project_settings.h"

namespace {

korvane::ProjectSettings EverythingOn() {
    korvane::ProjectSettings s;
    s.PortAUsed = s.PortBUsed = s.PortCUsed = s.PortDUsed = s.PortEUsed = 1;
    s.PortADir = {1, 1, 0, 0, 1, 0, 0, 0};
    s.PortCDir = {0, 0, 1, 0, 0, 0, 1, 1};
    s.PortEDir = {1, 1, 1, 0, 0, 0, 0, 0};

    s.T0En = true;
    s.T0Int = -1;
    s.T0PsIndex = 3;
    s.T0PsDiv = 16;
    s.T0TimeUs = 1000.0f;
    s.T0ErrorUs = 8.0f;
    s.T0RegText = "0xC2";

    s.T1En = true;
    s.T1Int = -1;
    s.T1PsIndex = 2;
    s.T1PsDiv = 4.0;
    s.T1OscEn = 1;
    s.T1TimeUs = "50000";
    s.T1RegHighText = "0x3C";
    s.T1RegLowText = "0xB0";

    s.T2En = true;
    s.T2Int = -1;
    s.T2PsIndex = 2;
    s.T2PsDiv = 16;
    s.T2PostIndex = 15;
    s.T2TimeUs = 4096.0f;
    s.T2RegText = "0x00";

    s.Ccp1En = true;
    s.Ccp1Int = -1;
    s.Ccp1Mode = 0;
    s.Ccp1M = 5;
    s.Ccp2En = true;
    s.Ccp2Int = -1;
    s.Ccp2Mode = 2;
    s.Ccp2M = 12;
    s.Ccp2X = 1;

    s.SciEn = 1;
    s.SciTxInt = 1;
    s.SciRxInt = 1;
    s.SciBaud = "9600";
    s.SciSpbrgText = "0x19";
    return s;
}

void BM_AssembleEverythingWithComments(benchmark::State& state) {
    const korvane::ProjectSettings settings = EverythingOn();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = korvane::AssembleSource(settings, true);
        bytes += text.size();
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_AssembleEverythingWithComments);

}  // namespace
