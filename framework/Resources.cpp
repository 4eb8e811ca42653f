#include "framework/Resources.h"

#include "framework/core/TextFormat.h"

namespace {
HINSTANCE g_resourceInstance = nullptr;
}

HINSTANCE ResourceInstance() {
    return g_resourceInstance ? g_resourceInstance : GetModuleHandleA(nullptr);
}

void SetResourceInstance(HINSTANCE instance) {
    g_resourceInstance = instance;
}

std::string LoadResString(UINT id) {
    // A string-table entry holds at most 4095 characters; in code page 936 each may take two bytes.
    char buffer[8192];
    int length = LoadStringA(ResourceInstance(), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

std::string FormatResString(UINT id, const std::string& arg) {
    return ReplacePlaceholder1(LoadResString(id), arg);
}
