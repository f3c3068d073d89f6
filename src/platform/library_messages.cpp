#include "platform/library_messages.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace vortel {

namespace {

std::mutex g_mutex;
std::string g_alsaLast;

extern "C" void keepAlsaMessage(const char*, int, const char*, int, const char* fmt, ...) {
    char text[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    std::lock_guard lock(g_mutex);
    g_alsaLast = text;
}

extern "C" void dropWaylandMessage(const char*, va_list) {}

// The libraries are loaded the way SDL loads them, at run time, and stay
// loaded: they hold our hooks.
template <typename Setter, typename Hook>
void install(const char* library, const char* setter, Hook hook) {
    void* handle = dlopen(library, RTLD_LAZY | RTLD_LOCAL);
    if (!handle) return;
    if (auto set = reinterpret_cast<Setter>(dlsym(handle, setter))) set(hook);
}

}  // namespace

void quietenLibraryMessages() {
    static std::once_flag once;
    std::call_once(once, [] {
        using AlsaHook = void (*)(const char*, int, const char*, int, const char*, ...);
        install<int (*)(AlsaHook)>("libasound.so.2", "snd_lib_error_set_handler", &keepAlsaMessage);
        using WaylandHook = void (*)(const char*, va_list);
        install<void (*)(WaylandHook)>("libwayland-client.so.0", "wl_log_set_handler_client", &dropWaylandMessage);
    });
}

std::string lastAlsaMessage() {
    std::lock_guard lock(g_mutex);
    return g_alsaLast;
}

}  // namespace vortel
