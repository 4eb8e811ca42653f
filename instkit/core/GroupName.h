#pragma once
#include <string_view>

namespace instkit {

// A program group's name as the Programs folder takes it: one or more folder names separated by "\", none of
// them empty, "." or "..", and no drive. Anything else could name the Programs folder itself or a folder outside
// it, which deleting the group would empty.
bool IsGroupName(std::string_view name);

}  // namespace instkit
