// Loaded with LD_PRELOAD: every fsync and fdatasync of the program waits
// TWK3_SYNC_DELAY_MS milliseconds first, as on a slow disk or a network folder.
#include <dlfcn.h>
#include <time.h>

#include <cstdlib>

namespace {

void delay()
{
    const char* value = std::getenv("TWK3_SYNC_DELAY_MS");
    const long ms = value ? std::atol(value) : 0;
    timespec wait{ms / 1000, (ms % 1000) * 1000000};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

template <class F> F real(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd)
{
    delay();
    static const auto next = real<int (*)(int)>("fsync");
    return next(fd);
}

extern "C" int fdatasync(int fd)
{
    delay();
    static const auto next = real<int (*)(int)>("fdatasync");
    return next(fd);
}
