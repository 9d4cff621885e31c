// Adding one entry to a continuous log of N sections, the program's way and
// the plain whole-file way, and reading one value back out of it.

#include "SampleFiles.h"
#include "SampleLog.h"
#include "configuration/IniModule.h"
#include "ini/IniFiles.h"
#include "ini/IniText.h"
#include "platform/posix/PosixFileSystem.h"

#include <benchmark/benchmark.h>

namespace twk::bench {
namespace {

const std::string kNewText = "https://example.org/a/newly/copied/link?with=parameters and a few words";

void logSizes(benchmark::internal::Benchmark* b)
{
    for (long n = kSmallestLog; n <= kLargestLog; n *= 10)
        b->Arg(n);
    b->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

// Steady state, as in the running program: the first write after the file
// was opened reads it once to index it, and is left out of the timing.
void AddOneEntry(benchmark::State& state)
{
    const long sections = state.range(0);
    const auto path = SampleLogFile(sections);
    platform::PosixFileSystem files;
    ini::IniFiles ini(files);
    long added = 0;
    if (!ini.write(path, StampAfterSample(sections, added++), "TEXT", kNewText, platform::NewFile::OwnerOnly))
        state.SkipWithError("the log could not be written");
    for (auto _ : state)
        if (!ini.write(path, StampAfterSample(sections, added++), "TEXT", kNewText, platform::NewFile::OwnerOnly))
            state.SkipWithError("the log could not be written");
}

// Read the whole file, add the section, replace the file (written beside and
// renamed over it, as every rewrite of the program is).
void WholeFileRewrite(benchmark::State& state)
{
    const long sections = state.range(0);
    const auto path = SampleLogFile(sections);
    platform::PosixFileSystem files;
    long added = 0;
    for (auto _ : state) {
        const auto content = files.read(path);
        if (!content ||
            !files.replace(path, ini::withValue(*content, StampAfterSample(sections, added++), "TEXT", kNewText),
                           platform::NewFile::OwnerOnly))
            state.SkipWithError("the log could not be written");
    }
}

// The value of the sample's last section: the whole file is read and searched.
void ReadIniInLog(benchmark::State& state)
{
    const long sections = state.range(0);
    const auto path = SampleLogFile(sections);
    platform::PosixFileSystem files;
    ini::IniFiles ini(files);
    const auto last = StampAfterSample(sections, -1);
    for (auto _ : state)
        benchmark::DoNotOptimize(configuration::ReadIni(ini, last, "TEXT", path));
}

} // namespace

BENCHMARK(AddOneEntry)->Apply(logSizes);
BENCHMARK(WholeFileRewrite)->Apply(logSizes);
BENCHMARK(ReadIniInLog)->Apply(logSizes);

} // namespace twk::bench
