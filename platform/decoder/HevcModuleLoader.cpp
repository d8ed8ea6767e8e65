#include <dlfcn.h>

#include <atomic>
#include <filesystem>
#include <system_error>

#include "platform/decoder/HevcFfmpegPlugin.h"

namespace vesko::decoder {
namespace {

std::atomic<int> stepAside{0};

// Where the module is: installed beside the executable's prefix, or else where this build put it.
void* openModule() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const auto installed = executable.parent_path().parent_path() / VESKO_HEVC_MODULE_INSTALLED;
        if (void* module = dlopen(installed.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            return module;
        }
    }
    return dlopen(VESKO_HEVC_MODULE_BUILT, RTLD_NOW | RTLD_LOCAL);
}

// The module stays loaded: libheif keeps the plugin's functions.
bool loadAndRegister() {
    void* module = openModule();
    if (!module) {
        return false;
    }
    const auto entry =
        reinterpret_cast<FfmpegHevcModuleEntry>(dlsym(module, kFfmpegHevcModuleEntry));
    return entry && entry(&stepAside);
}

}  // namespace

Libde265Only::Libde265Only() { ++stepAside; }
Libde265Only::~Libde265Only() { --stepAside; }

bool registerFfmpegHevcDecoder() {
    static const bool registered = loadAndRegister();
    return registered;
}

}  // namespace vesko::decoder
