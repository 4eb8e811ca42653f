#pragma once
#include <string>
#include <vector>

// For tests: a new empty folder under the temporary folder, deleted with everything in it at the end of the scope.
// Path() ends in a backslash, as the suite's folder settings do.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Names of the files (not folders) in `folder` that match a wildcard pattern, in name order.
std::vector<std::string> FilesMatching(const std::string& folder, const char* pattern);
