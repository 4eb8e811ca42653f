#pragma once
#include <string>
#include <string_view>

// The texts an installer hands the network printer browser as one string: title, OK button and Cancel button,
// each ended by a delimiter that is the string's last character ("Title|Select|Cancel|").
namespace instkit {

struct BrowseTexts {
    std::string title;
    std::string ok;
    std::string cancel;
    int count = 0;  // how many of the three the string holds; the others are left as the dialog has them
};

// Splits at whole characters only, so a double-byte character whose second byte equals the delimiter stays whole.
BrowseTexts SplitBrowseTexts(std::string_view data);

}  // namespace instkit
