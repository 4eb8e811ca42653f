#include "companions/twain/source/ScanSettings.h"

#include <cstdlib>

#include "common/core/SuiteFolders.h"
#include "framework/Profile.h"

namespace {
constexpr const char* kSection = "Scanner";

CRegistryProfile ScannerProfile() {
    return CRegistryProfile("Orvex", "KDMTW");
}
}  // namespace

ScanSettings ScanSettings::Load() {
    const CRegistryProfile profile = ScannerProfile();
    ScanSettings settings;
    if (profile.GetString(kSection, "Resolution") == "standard")
        settings.resolution = scan::Resolution::kStandard;
    const unsigned long pages = std::strtoul(profile.GetString(kSection, "Pages", "1").c_str(), nullptr, 10);
    if (pages >= 1 && pages <= kMaxPages)
        settings.pages = static_cast<unsigned>(pages);
    settings.folderPictures = profile.GetString(kSection, "Source") == "folder";
    settings.folder = profile.GetString(kSection, "Folder");
    return settings;
}

void ScanSettings::Save() const {
    const CRegistryProfile profile = ScannerProfile();
    profile.WriteString(kSection, "Resolution", resolution == scan::Resolution::kStandard ? "standard" : "fine");
    profile.WriteString(kSection, "Pages", std::to_string(pages));
    profile.WriteString(kSection, "Source", folderPictures ? "folder" : "sheets");
    profile.WriteString(kSection, "Folder", folder);
}

std::string ReceivedFaxFolder() {
    return CRegistryProfile("Orvex", "mirolo").GetString(kSettingsSection, kSuiteFolderValues[0]);
}
