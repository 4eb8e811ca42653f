#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "companions/twain/manager/tests/TestSource.h"

namespace {
HINSTANCE g_instance = nullptr;
TestSourceCall g_last{};
TW_IDENTITY g_self{};
TW_IDENTITY g_application{};
TW_UINT16 g_condition = TWCC_SUCCESS;

void Describe(TW_IDENTITY& identity) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(g_instance, path, sizeof path);
    std::string name = std::strrchr(path, '\\') ? std::strrchr(path, '\\') + 1 : path;
    name = kTestSourcePrefix + name.substr(0, name.find('.'));
    identity = {};
    identity.Version.MajorNum = 1;
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 7;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    std::strcpy(identity.Manufacturer, "Mirolo");
    std::strncpy(identity.ProductName, name.c_str(), sizeof identity.ProductName - 1);
}
}  // namespace

extern "C" TW_UINT16 WINAPI
DS_Entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 type, TW_UINT16 message, TW_MEMREF data) {
    g_last = {g_last.count + 1, origin ? origin->Id : 0, group, type, message, data};
    if (group != DG_CONTROL)
        return TWRC_SUCCESS;
    if (type == DAT_IDENTITY && message == MSG_GET) {
        Describe(*static_cast<TW_IDENTITY*>(data));
    } else if (type == DAT_IDENTITY && message == MSG_OPENDS) {
        char refuse[16] = {};
        if (GetEnvironmentVariableA(kRefuseOpenVariable, refuse, sizeof refuse) > 0) {
            g_condition = static_cast<TW_UINT16>(std::atoi(refuse));
            return TWRC_FAILURE;
        }
        g_self = *static_cast<TW_IDENTITY*>(data);
        g_application = *origin;
    } else if (type == DAT_STATUS) {
        static_cast<TW_STATUS*>(data)->ConditionCode = g_condition;
        g_condition = TWCC_SUCCESS;
    } else if (type == DAT_EVENT) {
        static_cast<TW_EVENT*>(data)->TWMessage = MSG_NULL;
        return TWRC_NOTDSEVENT;
    }
    return TWRC_SUCCESS;
}

extern "C" const TestSourceCall* TestSource_LastCall() {
    return &g_last;
}

extern "C" TW_UINT16 TestSource_Notify(TW_UINT16 message) {
    auto entry = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("TWAIN_32.DLL"), "DSM_Entry")));
    return entry ? entry(&g_self, &g_application, DG_CONTROL, DAT_NULL, message, nullptr) : TWRC_FAILURE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_instance = instance;
    return TRUE;
}
