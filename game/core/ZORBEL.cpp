// The engine binding: the pointer table, its inert stand-ins and the dlopen/dlsym loader.
#include "ZORBEL.h"

#include "platform.h"

#include <cstdio>
#include <dlfcn.h>
#include <type_traits>

namespace {

// What an operation does while unbound: nothing, and a zero result. Keeps a missing export from crashing.
template <typename Pointer> struct Inert;
template <typename R, typename... Args> struct Inert<R (*)(Args...)> {
    static R Call(Args...) {
        if constexpr (!std::is_void_v<R>) return R{};
    }
};

} // namespace

#define ZORBEL_DEFINE_POINTER(ret, name, params, contract) ret(*name) params = &Inert<ret(*) params>::Call;
ZORBEL_OPERATIONS(ZORBEL_DEFINE_POINTER)
#undef ZORBEL_DEFINE_POINTER

namespace zorbel {
namespace {

constexpr const char* kLoadError = "Error while loading ZORBEL Engine";

void* gLibrary = nullptr;

bool Fail(const std::string& detail) {
    std::fprintf(stderr, "%s\n", detail.c_str());
    platform::ShowErrorBox("Error", kLoadError);
    Unbind();
    return false;
}

} // namespace

std::string DefaultLibraryPath() {
    const std::string dir = platform::ExecutableDir();
    return (dir.empty() ? std::string(".") : dir) + "/libzorbel_gl.so";
}

void Unbind() {
#define ZORBEL_RESET_POINTER(ret, name, params, contract) name = &Inert<ret(*) params>::Call;
    ZORBEL_OPERATIONS(ZORBEL_RESET_POINTER)
#undef ZORBEL_RESET_POINTER
}

bool Bind(const std::string& libraryPath) {
    Unbind();
    void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) return Fail(std::string("cannot load the engine: ") + dlerror());

    auto version = reinterpret_cast<int32_t (*)()>(dlsym(library, "ZB_Version"));
    if (!version || version() != ZORBEL_API_VERSION) {
        const int found = version ? version() : -1;
        dlclose(library);
        return Fail(libraryPath + ": engine interface version " + std::to_string(found) + ", expected " +
                    std::to_string(ZORBEL_API_VERSION));
    }

#define ZORBEL_BIND_POINTER(ret, name, params, contract)                                                     \
    if (void* symbol = dlsym(library, #name))                                                                \
        name = reinterpret_cast<ret(*) params>(symbol);                                                      \
    else                                                                                                     \
        std::fprintf(stderr, "%s: the engine has no operation %s\n", libraryPath.c_str(), #name);
    ZORBEL_OPERATIONS(ZORBEL_BIND_POINTER)
#undef ZORBEL_BIND_POINTER

    if (gLibrary) dlclose(gLibrary);
    gLibrary = library;
    return true;
}

} // namespace zorbel
