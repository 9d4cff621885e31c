// What a start of its own costs each capture: a fresh process adding one
// entry to logs of 1,000 and 1,000,000 sections (searching the log itself,
// or after a look through it that began a tick earlier), and the peak memory of a
// fresh process adding its entry to a log of 1 GB; and a one-line capture
// in append mode once the viewer holds 300,000 lines.
#include "ProgramOnFakes.h"
#include "SampleFiles.h"
#include "SampleLog.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace twk::bench {
namespace {

struct FreshRun {
    double peakMb = -1; // -1 when it failed
    double cpuMs = 0;   // user and system time: on a loaded machine steadier than the time it took
    double writeMs = 0; // the write alone, its look for the name included
};

// The program's first tick comes this long after its settings are loaded.
constexpr int kFirstTickMs = 50;

// Runs the one-entry writer; with a lead time, the look through the log starts that long before the write.
FreshRun appendInFreshProcess(const std::string& log, const std::string& section, std::optional<int> leadMs = {})
{
    const std::string program = TWK_APPEND_ONCE;
    const std::string peakFile = log + ".peak";
    std::string lead = leadMs ? std::to_string(*leadMs) : "";
    char* arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>(log.c_str()),
                         const_cast<char*>(section.c_str()), const_cast<char*>(peakFile.c_str()),
                         leadMs ? lead.data() : nullptr,     nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ) != 0)
        return {};
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    long peakKb = -1;
    FreshRun run;
    std::ifstream(peakFile) >> peakKb >> run.writeMs;
    std::remove(peakFile.c_str());
    const auto ms = [](const timeval& time) { return static_cast<double>(time.tv_sec) * 1e3 + time.tv_usec / 1e3; };
    run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && peakKb >= 0)
        run.peakMb = static_cast<double>(peakKb) / 1024;
    return run;
}

void FreshProcessAddsEntry(benchmark::State& state)
{
    const long sections = state.range(0);
    const auto path = SampleLogFile(sections);
    long added = 0;
    FreshRun run;
    double cpuMs = 0;
    for (auto _ : state) {
        run = appendInFreshProcess(path, StampAfterSample(sections, added++));
        cpuMs += run.cpuMs;
        if (run.peakMb < 0)
            state.SkipWithError("the writer failed");
    }
    state.counters["peak_MB"] = run.peakMb;
    state.counters["cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(FreshProcessAddsEntry)
    ->Arg(1000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same, the look through the log started when the settings are loaded,
// a first tick before the write: the time is the write's alone, what a start
// for one capture waits for; the CPU counts the whole process, look included.
void FreshProcessAddsEntryAfterLook(benchmark::State& state)
{
    const long sections = state.range(0);
    const auto path = SampleLogFile(sections);
    long added = 0;
    FreshRun run;
    double cpuMs = 0;
    for (auto _ : state) {
        run = appendInFreshProcess(path, StampAfterSample(sections, added++), kFirstTickMs);
        cpuMs += run.cpuMs;
        state.SetIterationTime(run.writeMs / 1e3);
        if (run.peakMb < 0)
            state.SkipWithError("the writer failed");
    }
    state.counters["peak_MB"] = run.peakMb;
    state.counters["cpu_ms"] = benchmark::Counter(cpuMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(FreshProcessAddsEntryAfterLook)
    ->Arg(1000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A log of 1 GB, made of the 1,000,000-section sample over and over.
void FirstAppendToAGigabyteLog(benchmark::State& state)
{
    twk::testing::TempFolder folder;
    const auto path = folder.file("twk.txt");
    {
        const auto sample = SampleLog(100000);
        std::ofstream out(path, std::ios::binary);
        for (std::size_t written = 0; written < (std::size_t{1} << 30); written += sample.size())
            out << sample;
    }
    long added = 0;
    FreshRun run;
    for (auto _ : state)
        run = appendInFreshProcess(path, StampAfterSample(1000000, added++));
    if (run.peakMb < 0)
        state.SkipWithError("the writer failed");
    state.counters["peak_MB"] = run.peakMb;
    state.counters["cpu_ms"] = run.cpuMs;
}
BENCHMARK(FirstAppendToAGigabyteLog)->Iterations(1)->Unit(benchmark::kMillisecond);

void CaptureAfterLongText(benchmark::State& state)
{
    ProgramOnFakes fakes([](const std::string& folder) {
        return "ON=1\r\nAM=1\r\nASAF=1\r\nAUTOSAVE=1\r\nSAVETYPE=1\r\nSAVEDFILEPATH=" + folder +
               "/\r\nAMLFPATH=" + folder + "/appendfile.txt\r\n";
    });
    std::string longText;
    for (int line = 0; line < 300000; ++line)
        longText += "line " + std::to_string(line) + " of a long copied text\r\n";
    fakes.clipboard.copy(longText);
    fakes.tick();
    int round = 0;
    for (auto _ : state) {
        fakes.environment.clock.second = ++round % 60;
        fakes.clipboard.copy("one line " + std::to_string(round));
        fakes.tick();
    }
    if (!fakes.dialogs.messages.empty())
        state.SkipWithError("a write failed");
}
BENCHMARK(CaptureAfterLongText)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
} // namespace twk::bench
