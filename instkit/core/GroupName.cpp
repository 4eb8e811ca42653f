#include "instkit/core/GroupName.h"

#include "framework/core/Mbcs.h"

namespace instkit {

bool IsGroupName(std::string_view name) {
    size_t start = 0;
    for (size_t i = 0;; i += CharLength(name, i)) {
        const bool end = i >= name.size();
        if (end || (name[i] == '\\' || name[i] == '/')) {
            const std::string_view part = name.substr(start, (end ? name.size() : i) - start);
            if (part.empty() || part == "." || part == "..")
                return false;
            if (end)
                return true;
            start = i + 1;
        } else if (name[i] == ':') {
            return false;
        }
    }
}

}  // namespace instkit
