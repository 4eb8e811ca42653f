#pragma once
#include <string>
#include <vector>

#include "companions/kdmspl/core/SendRecord.h"

// Takes the jobs of one hand-off: reads the job list in the received-fax folder, checks each listed copy,
// keeps a copy of every sent document under a name of its own, and leaves one pending send record file with a
// line per send in the temporary folder. The sender's copies are left alone; they are its to overwrite.
class CSpooler {
public:
    CSpooler(std::string recvFolder, std::string tempFolder)
        : m_recvFolder(std::move(recvFolder)), m_tempFolder(std::move(tempFolder)) {}

    struct TakenJob {
        std::string path;  // as listed
        bool print = false;
        SendJob send;
    };

    // The jobs taken, in list order; none when there is no list.
    std::vector<TakenJob> TakeJobs();

    // The pending record file written by the last TakeJobs, or empty when it had no sends to record.
    const std::string& LastRecordFile() const { return m_lastRecordFile; }

private:
    TakenJob TakeJob(const std::string& path, const LocalTime& now, const std::string& stamp, int index);
    std::string KeepDocument(const std::vector<uint8_t>& bytes, const std::string& stamp, int index);
    bool WriteRecords(const std::string& lines, const std::string& stamp);

    std::string m_recvFolder;
    std::string m_tempFolder;
    std::string m_lastRecordFile;
};
