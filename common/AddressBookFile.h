#pragma once
#include <string>
#include <string_view>

// "Addr.csv" on disk. The book is rewritten whole; a new copy is written beside it and takes the old one's place
// only when complete, so an interrupted or failed save leaves the previous book intact.

enum class AddressFileResult {
    kOk,
    kCannotOpen,   // reported as "不能打开文件 %1"
    kCannotClose,  // reported as "不能关闭文件 %1"
};

AddressFileResult ReadAddressFile(const std::string& path, std::string& bytes);

// `bytes` is the file's complete new content.
AddressFileResult ReplaceAddressFile(const std::string& path, std::string_view bytes);

// Where ReplaceAddressFile writes the new copy before it takes the book's place.
std::string AddressFileCopyPath(const std::string& path);
