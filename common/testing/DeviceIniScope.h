#pragma once
#include <windows.h>

#include <string>

#include "framework/testing/TempFolder.h"

// For tests: KDM540.INI in the Windows folder belongs to the device software, so what was there comes back at
// the end of the scope. The profile functions cache the file: the cache is flushed before the file is touched.
class CDeviceIniScope {
public:
    CDeviceIniScope() {
        char folder[MAX_PATH] = {};
        GetWindowsDirectoryA(folder, sizeof folder);
        m_path = std::string(folder) + "\\KDM540.INI";
        Flush();
        m_existed = FileExists(m_path);
        if (m_existed)
            m_saved = ReadFileBytes(m_path);
    }
    ~CDeviceIniScope() {
        Flush();
        if (m_existed)
            WriteFileBytes(m_path, m_saved);
        else
            DeleteFileA(m_path.c_str());
    }
    CDeviceIniScope(const CDeviceIniScope&) = delete;
    CDeviceIniScope& operator=(const CDeviceIniScope&) = delete;

    void Write(const std::string& text) {
        Flush();
        WriteFileBytes(m_path, text);
    }
    // The file as Setup writes it when the main dialog is confirmed, with the suite's temporary folder.
    void WriteTempPath(const std::string& folder) {
        Write("[COMMON]\r\nProgPath=C:\\LUMENPOST\r\nTempPath=" + folder + "\r\n[PORT]\r\nComPot=LPT1\r\n");
    }
    void Remove() {
        Flush();
        DeleteFileA(m_path.c_str());
    }

private:
    static void Flush() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, "KDM540.INI"); }

    std::string m_path;
    bool m_existed = false;
    std::string m_saved;
};
