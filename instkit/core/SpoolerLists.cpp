#include "instkit/core/SpoolerLists.h"

#include <cstring>

#include "framework/core/Mbcs.h"

namespace instkit {

std::vector<std::string_view> SplitNameList(const char* list, const char* end) {
    std::vector<std::string_view> names;
    while (list && list < end && *list) {
        const auto* nul = static_cast<const char*>(std::memchr(list, 0, static_cast<size_t>(end - list)));
        const char* stop = nul ? nul : end;
        names.emplace_back(list, static_cast<size_t>(stop - list));
        list = stop + 1;
    }
    return names;
}

std::string_view BoundedText(const char* text, size_t limit) {
    if (!text)
        return {};
    const auto* nul = static_cast<const char*>(std::memchr(text, 0, limit));
    return std::string_view(text, nul ? static_cast<size_t>(nul - text) : limit);
}

std::optional<size_t> FindPrinter(std::span<const PrinterView> printers, std::string_view name) {
    for (size_t i = 0; i < printers.size(); ++i) {
        if (EqualsIgnoringCase(printers[i].name, name))
            return i;
    }
    return std::nullopt;
}

StillUsed FindUsers(std::span<const PrinterView> printers, std::string_view driver, std::string_view processor) {
    StillUsed used;
    for (const PrinterView& printer : printers) {
        used.driver = used.driver || EqualsIgnoringCase(printer.driver, driver);
        used.processor = used.processor || EqualsIgnoringCase(printer.processor, processor);
    }
    return used;
}

namespace {
// The spooler lists dependent files with the driver folder's path; a bare name matches the last part.
bool IsSameFile(std::string_view dependent, std::string_view file) {
    if (EqualsIgnoringCase(dependent, file))
        return true;
    if (file.find('\\') != std::string_view::npos || file.find(':') != std::string_view::npos)
        return false;
    size_t name = 0;
    for (size_t i = 0; i < dependent.size(); i += CharLength(dependent, i)) {
        if (dependent[i] == '\\' || dependent[i] == ':')
            name = i + 1;
    }
    return EqualsIgnoringCase(dependent.substr(name), file);
}

bool IsIgnored(const DriverView& driver, std::optional<std::string_view> ignored) {
    return ignored && EqualsIgnoringCase(driver.name, *ignored);
}
}  // namespace

size_t CountDriversListing(std::span<const DriverView> drivers,
                           std::string_view file,
                           std::optional<std::string_view> ignored) {
    size_t count = 0;
    for (const DriverView& driver : drivers) {
        if (IsIgnored(driver, ignored))
            continue;
        for (std::string_view dependent : driver.dependentFiles) {
            if (IsSameFile(dependent, file)) {
                ++count;
                break;
            }
        }
    }
    return count;
}

bool AnyDriverUsesMonitor(std::span<const DriverView> drivers,
                          std::string_view monitor,
                          std::optional<std::string_view> ignored) {
    for (const DriverView& driver : drivers) {
        if (!IsIgnored(driver, ignored) && EqualsIgnoringCase(driver.monitor, monitor))
            return true;
    }
    return false;
}

}  // namespace instkit
