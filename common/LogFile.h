#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "common/core/LogList.h"
#include "common/core/SuiteFolders.h"

// A log on disk as the log viewer keeps it: "send.csv" or "receive.csv" in the log folder, the pending record
// files and read-mark files that other programs leave in the scratch folder, and the fax documents the records
// name in the received-fax folder. Progress goes to `owner` as `progressMessage` (percent, phase 1 loading,
// 2 saving, 0 done); messages name the file with the program's strings 151-153.
//
// Nothing handed over is lost on the way: pending and read-mark files are deleted, and documents of records
// the retention rule dropped are removed, only once the rewritten log holds what they gave. A log that exists
// but cannot be read is never rewritten.
// The local time now, as the logs' dates are written.
LogDateTime CurrentLogTime();

class CLogFile {
public:
    CLogFile(const LogLayout& layout, const SuiteSettings& folders, HWND owner, UINT progressMessage);

    // Pending records merged newest first, then the log's own records, and the log rewritten.
    void Load(LogList& list);
    // Applies and removes the read-mark files of this log; the log is rewritten after each match. True when a
    // record was marked.
    bool ApplyReadMarks(LogList& list);
    bool Save(const LogList& list);

    // Deletes a record's fax document. Only a plain file name inside the received-fax folder is ever deleted;
    // a name reaching elsewhere deletes nothing. Says "不能删除文件 %1" when the file is there and stays.
    void DeleteDocument(const LogRecord& record) const;
    // The document's path, the received-fax folder's text directly followed by the name.
    std::string DocumentPath(const LogRecord& record) const;
    std::string LogPath() const;

private:
    std::vector<std::string> PendingFiles(const std::string& pattern, std::string_view skipName) const;
    void Report(int percent, int phase) const;
    void Exclaim(UINT id, const std::string& name) const;

    const LogLayout& m_layout;
    const SuiteSettings& m_folders;
    HWND m_owner;
    UINT m_progressMessage;
    bool m_logReadable = true;
};
