#pragma once
#include <string>

#include "companions/twain/core/ScanPages.h"

// What the user set in the scanner's window, kept for the next session and for scans without the window.
struct ScanSettings {
    static constexpr unsigned kMaxPages = 99;

    scan::Resolution resolution = scan::Resolution::kFine;
    unsigned pages = 1;
    bool folderPictures = false;  // the pictures of `folder` instead of the test sheets
    std::string folder;

    // HKEY_CURRENT_USER\Software\Orvex\KDMTW\Scanner; values that are missing or out of range keep the defaults.
    static ScanSettings Load();
    void Save() const;
};

// The received-fax folder of the suite, where the scan file goes; empty when the suite is not set up.
std::string ReceivedFaxFolder();
