#pragma once
#include <string_view>

// The monitor's one switch, for scripts and the demo: "/receive" (also "-receive", in any case) receives one
// fax and ends without a window. Any other word on the command line is ignored.
bool HasReceiveSwitch(std::string_view commandLine);
