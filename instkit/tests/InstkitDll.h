#pragma once
#include <windows.h>

// The library as an installer sees it: loaded from the test's folder, every export looked up by name.
struct CInstkit {
    HMODULE module = nullptr;
    void(WINAPI* SelectSetup)(HWND, HINSTANCE, LPSTR, int) = nullptr;
    void(WINAPI* SelectVendorSetup)(HWND, HINSTANCE, LPSTR, int) = nullptr;
    DWORD(WINAPI* InstallPrinter)
    (LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR, DWORD, DWORD) =
        nullptr;
    DWORD(WINAPI* UnInstallPrinter)(LPCSTR, DWORD*) = nullptr;
    DWORD(WINAPI* AddNetPort)(HWND, LPCSTR, LPCSTR, LPSTR) = nullptr;
    DWORD(__cdecl* CreatePrinterList)() = nullptr;
    void(WINAPI* GetNextPrinterData)(LPSTR, LPSTR, LPSTR) = nullptr;
    void(__cdecl* FreePrinterList)() = nullptr;
    DWORD(WINAPI* ReplaceFileOnReboot)(LPCSTR, LPCSTR) = nullptr;
    DWORD(__cdecl* GetDefaultLangID)() = nullptr;
    DWORD(WINAPI* UpdateICMInfo)(LPCSTR, LPCSTR, UINT) = nullptr;
    DWORD(__cdecl* CreatePortList)() = nullptr;
    void(WINAPI* GetNextPortData)(LPSTR) = nullptr;
    void(__cdecl* FreePortList)() = nullptr;
    DWORD(__cdecl* CreateDriverList)() = nullptr;
    WORD(WINAPI* IsFileInDrvList)(LPCSTR) = nullptr;
    void(__cdecl* FreeDriverList)() = nullptr;
    DWORD(WINAPI* CreateGroup32)(LPCSTR) = nullptr;
    HRESULT(WINAPI* AddItem32)(LPCSTR, LPCSTR) = nullptr;
    BOOL(WINAPI* DeleteGroup32)(HWND, LPCSTR) = nullptr;
};

// Loaded once for the test program; a missing export fails the test that asks.
const CInstkit& Instkit();

// The exports with their ordinals, in ordinal order.
struct ExportName {
    WORD ordinal;
    const char* name;
};
extern const ExportName kExports[20];
