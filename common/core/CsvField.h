#pragma once
#include <string>
#include <string_view>

// How the suite's comma-separated files write a field: as it is, unless it holds a comma or a double quote;
// then enclosed in double quotes with its quotes doubled. A lead byte always takes the byte after it, which is
// therefore never a quote or a comma.
void AppendCsvField(std::string& line, std::string_view field);
