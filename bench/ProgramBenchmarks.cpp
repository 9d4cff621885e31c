// The program as a whole: a polling tick that finds nothing new, a settings
// read, and one huge copied text through everything a capture does.

#include "ProgramOnFakes.h"
#include "SampleFiles.h"
#include "SampleLog.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace twk::bench {
namespace {

// The clipboard still holds the text the first tick took; the current log
// is the N-section sample, which an idle tick must never touch.
void IdleTick(benchmark::State& state)
{
    ProgramOnFakes fakes([](const std::string& folder) {
        return "ON=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=" + folder + "/\r\n";
    });
    fakes.clipboard.copy("https://example.org/already/captured");
    fakes.tick();
    fakes.program->Settings.ClipLogPath = SampleLogFile(state.range(0));
    for (auto _ : state)
        fakes.tick();
    if (fakes.clipboard.reads == 0 || !fakes.dialogs.messages.empty())
        state.SkipWithError("the tick did not run as an idle one");
}
BENCHMARK(IdleTick)->RangeMultiplier(10)->Range(kSmallestLog, kLargestLog)->Unit(benchmark::kMicrosecond);

void ReadIniInSettings(benchmark::State& state)
{
    ProgramOnFakes fakes([](const std::string&) {
        return std::string("ON=1\r\nAUTOSAVE=0\r\nXYPOS=1\r\nAM=0\r\nASAF=0\r\nFREQUENCY=3\r\nJS=1\r\n");
    });
    for (auto _ : state)
        benchmark::DoNotOptimize(fakes.program->ReadIni("TWK", "FREQUENCY"));
}
BENCHMARK(ReadIniInSettings)->Unit(benchmark::kMicrosecond);

// Append mode with the append file kept: the viewer, the append file and the
// continuous log each take the whole text. Each round starts from an empty
// viewer and no log, as the first huge copy of a session does.
void HugeText(benchmark::State& state)
{
    ProgramOnFakes fakes([](const std::string& folder) {
        return "ON=1\r\nAM=1\r\nASAF=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=" + folder +
               "/\r\nAMLFPATH=" + folder + "/appendfile.txt\r\n";
    });
    const auto megabytes = static_cast<std::size_t>(state.range(0));
    const std::string texts[] = {std::string(megabytes << 20, 'a'), std::string(megabytes << 20, 'b')};
    auto& viewer = *fakes.program->frmToText;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        viewer.Text1.setText("");
        std::filesystem::remove(fakes.folder.file("twk.txt"));
        fakes.environment.clock.second = round % 60;
        state.ResumeTiming();
        viewer.txtTMP.setText(texts[round++ % 2]);
    }
    if (!fakes.dialogs.messages.empty())
        state.SkipWithError("a write failed");
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(megabytes << 20));
}
BENCHMARK(HugeText)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace
} // namespace twk::bench
