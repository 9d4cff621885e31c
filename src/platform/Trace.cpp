#include "platform/Trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace twk::platform {
namespace {

// Lines may come from the thread that looks through a log as well.
std::mutex& sinkLock()
{
    static std::mutex lock;
    return lock;
}

TraceSink& chosenSink()
{
    static TraceSink sink;
    return sink;
}

bool askedFor()
{
    static const bool asked = [] {
        const char* value = std::getenv("TWK_DEBUG");
        return value && std::strcmp(value, "1") == 0;
    }();
    return asked;
}

} // namespace

void trace(const std::string& line)
{
    const std::lock_guard hold(sinkLock());
    if (chosenSink()) {
        chosenSink()(line);
        return;
    }
    if (!askedFor())
        return;
    const std::string whole = "twk3: " + line + "\n";
    std::fwrite(whole.data(), 1, whole.size(), stderr);
    std::fflush(stderr);
}

void setTraceSink(TraceSink sink)
{
    const std::lock_guard hold(sinkLock());
    chosenSink() = std::move(sink);
}

} // namespace twk::platform
