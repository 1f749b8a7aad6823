// Loads the library by its name, as a panel control or a container does: asks it for the buttons' window
// style, and asks its server entry points for a class it does not serve and whether it may be unloaded.
#include <cstdint>
#include <cstdio>
#include <dlfcn.h>

namespace {

struct Guid {
    uint32_t data1;
    uint16_t data2, data3;
    uint8_t data4[8];
};

} // namespace

int main() {
    void* library = dlopen("libZuComponents.so", RTLD_NOW);
    if (!library) {
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
        return 1;
    }
    using GetWStyleFunction = int (*)();
    using GetClassObjectFunction = int32_t (*)(const Guid*, const Guid*, void**);
    using CanUnloadNowFunction = int32_t (*)();
    auto getWStyle = reinterpret_cast<GetWStyleFunction>(dlsym(library, "GetWStyle"));
    auto getClassObject = reinterpret_cast<GetClassObjectFunction>(dlsym(library, "DllGetClassObject"));
    auto canUnloadNow = reinterpret_cast<CanUnloadNowFunction>(dlsym(library, "DllCanUnloadNow"));
    const int style = getWStyle ? getWStyle() : -1;
    std::printf("GetWStyle = %d\n", style);
    const Guid unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    const Guid classFactory = {0x00000001, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    void* object = &library;
    const int32_t lookup = getClassObject ? getClassObject(&unknown, &classFactory, &object) : 0;
    const int32_t unload = canUnloadNow ? canUnloadNow() : -1;
    std::printf("DllGetClassObject(unknown) = 0x%08X, DllCanUnloadNow = %d\n", static_cast<unsigned>(lookup),
                unload);
    dlclose(library);
    const bool served = style == 64 && static_cast<uint32_t>(lookup) == 0x80040111u && object == nullptr;
    return served && unload == 0 ? 0 : 1;
}
