#include "instkit/ColorProfiles.h"

#include <icm.h>

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "instkit/Instkit.h"
#include "instkit/core/SpoolerLists.h"

namespace instkit {

namespace {
using InstallProfile = BOOL(WINAPI*)(PCSTR machine, PCSTR profile);
using UninstallProfile = BOOL(WINAPI*)(PCSTR machine, PCSTR profile, BOOL deleteFile);
using AssociateProfile = BOOL(WINAPI*)(PCSTR machine, PCSTR profile, PCSTR device);
using EnumProfiles = BOOL(WINAPI*)(PCSTR machine, PENUMTYPEA filter, PBYTE buffer, PDWORD size, PDWORD count);
using UpdateRegKey = BOOL(WINAPI*)(DWORD reserved, LPSTR cmm, LPSTR profile, UINT command);

constexpr UINT kAddProfile = 1;
constexpr DWORD kPrinterClass = 0x70727472;  // "prtr": printer profiles

template <typename Function>
Function Find(HMODULE library, const char* name) {
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

DWORD InstallAndAssociate(const ColorLibraries& libraries, HMODULE management, LPCSTR device, LPCSTR profile) {
    const auto install = Find<InstallProfile>(management, "InstallColorProfileA");
    if (!install || !Find<UninstallProfile>(management, "UninstallColorProfileA"))
        return 0;
    if (!install(nullptr, profile))
        return 0;
    CLibrary again(LoadLibraryA(libraries.management));
    const auto associate = Find<AssociateProfile>(again.Get(), "AssociateColorProfileWithDeviceA");
    return associate ? associate(nullptr, profile, device) : 0;
}

using GetColorFolder = BOOL(WINAPI*)(PCSTR machine, PSTR folder, PDWORD size);

// Where installed profiles live: the system folder's COLOR on the systems that first had colour management,
// the spooler's colour folder on later ones, which say so through GetColorDirectoryA.
std::string ColorFolder(HMODULE management) {
    char folder[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const auto get = Find<GetColorFolder>(management, "GetColorDirectoryA");
    if (get && get(nullptr, folder, &size))
        return std::string(folder) + "\\";
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::string(folder) + "\\COLOR\\";
}
}  // namespace

DWORD UpdateColorInfo(const ColorLibraries& libraries, LPCSTR deviceName, LPCSTR profileFile, UINT command) {
    const char* profile = profileFile ? profileFile : "";
    CLibrary management(LoadLibraryA(libraries.management));
    if (management && command == kAddProfile)
        return InstallAndAssociate(libraries, management.Get(), deviceName ? deviceName : "", profile);
    management.Reset();
    CLibrary graphics(LoadLibraryA(libraries.graphics));
    const auto update = Find<UpdateRegKey>(graphics.Get(), "UpdateICMRegKeyA");
    return update ? update(0, nullptr, const_cast<char*>(profile), command) : 0;
}

void DisassociatePrinterProfiles(const ColorLibraries& libraries, LPCSTR printerName) {
    CLibrary management(LoadLibraryA(libraries.management));
    const auto disassociate = Find<AssociateProfile>(management.Get(), "DisassociateColorProfileFromDeviceA");
    const auto enumerate = Find<EnumProfiles>(management.Get(), "EnumColorProfilesA");
    if (!disassociate || !enumerate || !printerName)
        return;
    ENUMTYPEA filter{};
    filter.dwSize = sizeof filter;
    filter.dwVersion = ENUM_TYPE_VERSION;  // the documented value: the system may refuse any other
    filter.dwFields = ET_DEVICENAME | ET_CLASS;
    filter.pDeviceName = printerName;
    filter.dwClass = kPrinterClass;
    DWORD size = 0;
    DWORD count = 0;
    if (enumerate(nullptr, &filter, nullptr, &size, &count) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return;
    std::vector<BYTE> names(size + 1, 0);
    if (!enumerate(nullptr, &filter, names.data(), &size, &count))
        return;
    const std::string folder = ColorFolder(management.Get());
    const auto* list = reinterpret_cast<const char*>(names.data());
    for (std::string_view name : SplitNameList(list, list + names.size())) {
        const std::string path = folder + std::string(name);
        disassociate(nullptr, path.c_str(), printerName);
    }
}

}  // namespace instkit

extern "C" DWORD WINAPI UpdateICMInfo(LPCSTR deviceName, LPCSTR profileFile, UINT command) {
    try {
        return instkit::UpdateColorInfo(instkit::ColorLibraries{}, deviceName, profileFile, command);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
