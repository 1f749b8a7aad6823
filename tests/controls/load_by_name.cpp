// Loads the library by its name, as a panel control does, and asks it for the buttons' window style.
#include <cstdio>
#include <dlfcn.h>

int main() {
    void* library = dlopen("libZuComponents.so", RTLD_NOW);
    if (!library) {
        std::fprintf(stderr, "dlopen: %s\n", dlerror());
        return 1;
    }
    using GetWStyleFunction = int (*)();
    auto getWStyle = reinterpret_cast<GetWStyleFunction>(dlsym(library, "GetWStyle"));
    const int style = getWStyle ? getWStyle() : -1;
    std::printf("GetWStyle = %d\n", style);
    dlclose(library);
    return style == 64 ? 0 : 1;
}
