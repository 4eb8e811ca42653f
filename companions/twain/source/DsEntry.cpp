#include <windows.h>

#include <new>

#include "companions/twain/source/DataSource.h"
#include "framework/Resources.h"

// The data source's single entry point, which the manager looks up by name. One source per process: the manager
// opens it once for the application that asks.
namespace {
CDataSource* g_source = nullptr;
}

extern "C" TW_UINT16 WINAPI
DS_Entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
    try {
        if (!g_source)
            g_source = new CDataSource;
        return g_source->Entry(origin, group, type, message, data);
    } catch (const std::bad_alloc&) {
        return TWRC_FAILURE;
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        SetResourceInstance(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Freed by the manager, not at process exit: the window, if any, goes with the library's code.
        delete g_source;
        g_source = nullptr;
    }
    return TRUE;
}
