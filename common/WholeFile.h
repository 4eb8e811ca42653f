#pragma once
#include <string>
#include <string_view>

// Files the suite rewrites whole (the address book, the logs): a new copy is written beside the file and takes
// its place only when complete, so an interrupted or failed save leaves the previous content intact.

enum class FileResult {
    kOk,
    kCannotOpen,   // reported as "不能打开文件 %1"
    kCannotClose,  // reported as "不能关闭文件 %1"
};

// Reads the file without keeping anyone from replacing it meanwhile.
FileResult ReadWholeFile(const std::string& path, std::string& bytes);

// True when nothing is at `path` (nor its folder): a file that is there but cannot be read is not missing.
bool IsMissingFile(const std::string& path);

// `bytes` is the file's complete new content. A file that another program reads or replaces at the same moment
// is waited for briefly; of two programs saving at once, the later replace wins.
FileResult ReplaceWholeFile(const std::string& path, std::string_view bytes);

// Where this program's ReplaceWholeFile writes the new copy before it takes the file's place.
std::string ReplacementCopyPath(const std::string& path);
