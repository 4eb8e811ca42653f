#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "companions/watcher/core/Reception.h"
#include "framework/Profile.h"

// Plays the device's part in one reception: takes the next sample fax from the samples folder, checks it is an
// SMH document, stores it in the received-fax folder under a name of its own and leaves the pending receive
// record in the temporary folder for the log viewer. A reception that cannot leave its record leaves no
// document either: nothing would ever show or remove it.
class CReceiver {
public:
    // The samples stand for the line; they lie in "samples" below the program folder.
    static std::string SamplesFolderOf(const std::string& programFolder);

    // `profile` keeps which sample comes next, so successive runs play different faxes.
    CReceiver(std::string samplesFolder, std::string recvFolder, std::string tempFolder, CRegistryProfile profile);

    struct Outcome {
        bool received = false;
        UINT messageId = 0;  // the string that says why not, with `messageArg` for its %1
        std::string messageArg;
        std::string sample;  // the sample's path
        Reception reception;
        std::string documentPath;
        std::string recordPath;
    };

    Outcome Receive();

    // The sample files in the order they are played; empty when the folder has none or is missing.
    std::vector<std::string> Samples() const;
    const std::string& SamplesFolder() const { return m_samplesFolder; }

    static constexpr const char* kProfileSection = "Watcher";
    static constexpr const char* kNextSampleValue = "NEXT_SAMPLE";

private:
    bool Store(const std::vector<uint8_t>& bytes, const LogDateTime& now, Outcome& outcome) const;
    bool LeaveRecord(const std::string& text, const LogDateTime& now, Outcome& outcome) const;
    uint32_t TakeNextSample(size_t count) const;

    std::string m_samplesFolder;
    std::string m_recvFolder;
    std::string m_tempFolder;
    CRegistryProfile m_profile;
};
