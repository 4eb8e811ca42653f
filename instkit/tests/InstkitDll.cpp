#include "instkit/tests/InstkitDll.h"

#include <gtest/gtest.h>

const ExportName kExports[20] = {
    {2, "SelectSetup"},          {3, "SelectVendorSetup"}, {4, "InstallPrinter"},     {5, "UnInstallPrinter"},
    {6, "AddNetPort"},           {7, "CreatePrinterList"}, {8, "GetNextPrinterData"}, {9, "FreePrinterList"},
    {10, "ReplaceFileOnReboot"}, {11, "GetDefaultLangID"}, {12, "UpdateICMInfo"},     {13, "CreatePortList"},
    {14, "GetNextPortData"},     {15, "FreePortList"},     {16, "CreateDriverList"},  {17, "IsFileInDrvList"},
    {18, "FreeDriverList"},      {19, "CreateGroup32"},    {20, "AddItem32"},         {21, "DeleteGroup32"},
};

namespace {
template <typename Function>
void Bind(HMODULE module, Function& function, const char* name) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!function)
        ADD_FAILURE() << "Instkit.dll does not export " << name;
}

CInstkit Load() {
    CInstkit dll;
    dll.module = LoadLibraryA("Instkit.dll");
    if (!dll.module) {
        ADD_FAILURE() << "Instkit.dll does not load: " << GetLastError();
        return dll;
    }
    Bind(dll.module, dll.SelectSetup, "SelectSetup");
    Bind(dll.module, dll.SelectVendorSetup, "SelectVendorSetup");
    Bind(dll.module, dll.InstallPrinter, "InstallPrinter");
    Bind(dll.module, dll.UnInstallPrinter, "UnInstallPrinter");
    Bind(dll.module, dll.AddNetPort, "AddNetPort");
    Bind(dll.module, dll.CreatePrinterList, "CreatePrinterList");
    Bind(dll.module, dll.GetNextPrinterData, "GetNextPrinterData");
    Bind(dll.module, dll.FreePrinterList, "FreePrinterList");
    Bind(dll.module, dll.ReplaceFileOnReboot, "ReplaceFileOnReboot");
    Bind(dll.module, dll.GetDefaultLangID, "GetDefaultLangID");
    Bind(dll.module, dll.UpdateICMInfo, "UpdateICMInfo");
    Bind(dll.module, dll.CreatePortList, "CreatePortList");
    Bind(dll.module, dll.GetNextPortData, "GetNextPortData");
    Bind(dll.module, dll.FreePortList, "FreePortList");
    Bind(dll.module, dll.CreateDriverList, "CreateDriverList");
    Bind(dll.module, dll.IsFileInDrvList, "IsFileInDrvList");
    Bind(dll.module, dll.FreeDriverList, "FreeDriverList");
    Bind(dll.module, dll.CreateGroup32, "CreateGroup32");
    Bind(dll.module, dll.AddItem32, "AddItem32");
    Bind(dll.module, dll.DeleteGroup32, "DeleteGroup32");
    return dll;
}
}  // namespace

const CInstkit& Instkit() {
    static const CInstkit dll = Load();
    return dll;
}
