#include <windows.h>

#include <new>

#include "companions/twain/manager/SourceManager.h"

namespace {
CSourceManager* g_manager = nullptr;
}  // namespace

extern "C" TW_UINT16 WINAPI
DSM_Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
    try {
        return g_manager->Entry(origin, dest, group, type, message, data);
    } catch (const std::bad_alloc&) {
        return g_manager->Fail(TWCC_LOWMEMORY);
    } catch (...) {
        return g_manager->Fail(TWCC_BUMMER);
    }
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_manager = new (std::nothrow) CSourceManager(instance);
        return g_manager != nullptr;
    case DLL_PROCESS_DETACH:
        // Unloaded by FreeLibrary: the sources still open are let go. At process exit nothing is done, as the
        // process takes everything with it and the sources' libraries may be gone already.
        if (!reserved)
            delete g_manager;
        g_manager = nullptr;
        break;
    }
    return TRUE;
}
