#pragma once
#include <string>

// Removes the spooler's printer of that name, then its driver and its file port when no other printer uses them
// (the printer-folder library added all three). True when no such printer is left.
bool RemoveDevicePrinter(const std::string& name);
