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

FileResult ReadWholeFile(const std::string& path, std::string& bytes);

// `bytes` is the file's complete new content.
FileResult ReplaceWholeFile(const std::string& path, std::string_view bytes);

// Where ReplaceWholeFile writes the new copy before it takes the file's place.
std::string ReplacementCopyPath(const std::string& path);
