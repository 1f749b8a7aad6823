// zu-regsvr: registers or unregisters a control module in the per-user registry file by loading it and
// calling its own entry points, and lists what the registry file holds.
//
//     zu-regsvr register [MODULE]     MODULE defaults to the ZuComponents library
//     zu-regsvr unregister [MODULE]
//     zu-regsvr list
#include "ZuControls.h"

#include <cstdio>
#include <cstring>
#include <dlfcn.h>

namespace {

int usage() {
    std::fprintf(stderr, "usage: zu-regsvr register|unregister [MODULE]\n       zu-regsvr list\n");
    return 2;
}

int callEntryPoint(const char* module, const char* entryPoint) {
    void* library = dlopen(module, RTLD_NOW);
    if (!library) {
        std::fprintf(stderr, "zu-regsvr: cannot load %s: %s\n", module, dlerror());
        return 1;
    }
    using EntryPoint = ZuHRESULT (*)();
    auto call = reinterpret_cast<EntryPoint>(dlsym(library, entryPoint));
    if (!call) {
        std::fprintf(stderr, "zu-regsvr: %s has no %s\n", module, entryPoint);
        dlclose(library);
        return 1;
    }
    const ZuHRESULT result = call();
    dlclose(library);
    if (result < 0) {
        std::fprintf(stderr, "zu-regsvr: %s failed: 0x%08X\n", entryPoint, static_cast<unsigned>(result));
        return 1;
    }
    std::printf("%s succeeded for %s (%s)\n", entryPoint, module,
                zu::registryFilePath().toLocal8Bit().constData());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) return usage();
    const char* module = argc == 3 ? argv[2] : ZU_MODULE_FILE_NAME;
    if (std::strcmp(argv[1], "register") == 0) return callEntryPoint(module, "DllRegisterServer");
    if (std::strcmp(argv[1], "unregister") == 0) return callEntryPoint(module, "DllUnregisterServer");
    if (std::strcmp(argv[1], "list") == 0 && argc == 2) {
        for (const QString& line : zu::registrationListing())
            std::printf("%s\n", line.toLocal8Bit().constData());
        return 0;
    }
    return usage();
}
