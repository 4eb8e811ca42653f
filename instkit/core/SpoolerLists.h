#pragma once
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// Searches over the spooler's printer and driver lists. Names compare as the spooler compares them: without
// regard to the case of letters.
namespace instkit {

struct PrinterView {
    std::string_view name;
    std::string_view driver;
    std::string_view processor;
};

struct DriverView {
    std::string_view name;
    std::string_view monitor;
    std::vector<std::string_view> dependentFiles;
};

// The names of a list of NUL-terminated names ended by an empty one, read no further than `end`: a list
// without its ending stops there.
std::vector<std::string_view> SplitNameList(const char* list, const char* end);

// A text of at most `limit` bytes from a field of a spooler record, ending at its NUL or at `limit`.
std::string_view BoundedText(const char* text, size_t limit);

std::optional<size_t> FindPrinter(std::span<const PrinterView> printers, std::string_view name);

struct StillUsed {
    bool driver = false;
    bool processor = false;
};
// Whether any of `printers` uses the driver or the print processor.
StillUsed FindUsers(std::span<const PrinterView> printers, std::string_view driver, std::string_view processor);

// How many drivers list `file` among their dependent files; the driver named `ignored` (when given) counts not.
// A file named without a folder matches a dependent file listed with its path.
size_t CountDriversListing(std::span<const DriverView> drivers,
                           std::string_view file,
                           std::optional<std::string_view> ignored);

// Whether a driver other than `ignored` uses the port monitor.
bool AnyDriverUsesMonitor(std::span<const DriverView> drivers,
                          std::string_view monitor,
                          std::optional<std::string_view> ignored);

}  // namespace instkit
