// Preloaded into a Qt program (LD_PRELOAD): writes to $VESKO_PROBE_LOG, in milliseconds since
// $VESKO_PROBE_START_NS (CLOCK_REALTIME, taken by the launcher just before it started the
// program), when its libraries are loaded ("loaded"), when a window is mapped ("map") and when
// each frame is swapped ("swap").
// It forwards every call unchanged, so the program behaves as without it.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

double millisecondsSinceStart() {
    const char* start = std::getenv("VESKO_PROBE_START_NS");
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t nowNs = std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
    return start ? double(nowNs - std::strtoll(start, nullptr, 10)) / 1e6 : 0.0;
}

void note(const char* event) {
    const char* path = std::getenv("VESKO_PROBE_LOG");
    if (!path) {
        return;
    }
    char line[64];
    const int length =
        std::snprintf(line, sizeof line, "%s %.1f\n", event, millisecondsSinceStart());
    const int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0) {
        (void)!write(fd, line, std::size_t(length));
        close(fd);
    }
}

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

struct xcb_void_cookie_t {
    unsigned int sequence;
};
struct xcb_connection_t;

xcb_void_cookie_t xcb_map_window(xcb_connection_t* connection, std::uint32_t window) {
    static const auto real =
        next<xcb_void_cookie_t (*)(xcb_connection_t*, std::uint32_t)>("xcb_map_window");
    note("map");
    return real(connection, window);
}

void glXSwapBuffers(void* display, unsigned long drawable) {
    static const auto real = next<void (*)(void*, unsigned long)>("glXSwapBuffers");
    real(display, drawable);
    note("swap");
}

unsigned int eglSwapBuffers(void* display, void* surface) {
    static const auto real = next<unsigned int (*)(void*, void*)>("eglSwapBuffers");
    const unsigned int result = real(display, surface);
    note("swap");
    return result;
}
}
// When the program's libraries are loaded, before its main().
__attribute__((constructor)) static void probeLoaded() { note("loaded"); }
