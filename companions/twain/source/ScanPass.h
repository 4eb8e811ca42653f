#pragma once
#include <string>
#include <vector>

#include "companions/twain/core/ScanPages.h"
#include "companions/twain/source/ScanSettings.h"

// One pass through the scanner: the pages the user asked for, each scanned when the application takes it. A
// folder's pictures are read when the pass starts, so that the pass knows how many pages it has.
class CScanPass {
public:
    enum class Problem { kNone, kNoFolder, kNoPictures };

    // `skipped` gets the names of pictures that could not be read; they are left out.
    Problem Start(const ScanSettings& settings, std::vector<std::string>& skipped);
    unsigned Pending() const { return m_total - m_next; }
    unsigned Scanned() const { return m_next; }
    // The next page; only while one is pending.
    scan::ScannedPage ScanNext();
    // Nothing more is pending.
    void Stop() { m_total = m_next; }

private:
    scan::Resolution m_resolution = scan::Resolution::kFine;
    std::vector<kdm::BilevelImage> m_pictures;  // empty for the test sheets
    unsigned m_total = 0;
    unsigned m_next = 0;
};
