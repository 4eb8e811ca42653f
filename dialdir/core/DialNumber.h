#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/core/AddressLine.h"
#include "common/core/AddressRecord.h"

// The phone book's rules for what the user types: the dial pad's keys, the limits of the four boxes, what Add
// wants before it stores an entry, and the destination that OK makes of a number typed but not picked from the
// book. The dialog only moves texts between these rules and its controls.

// One key of the dial pad: its caption (which also names its bitmaps) and the character it types.
struct DialKey {
    std::string_view caption;
    char typed;
};

// The fourteen keys as the pad shows them, row by row: digits, star "K", hash "S", pause, minus "M".
inline constexpr DialKey kDialKeys[] = {{"1", '1'}, {"2", '2'}, {"3", '3'},     {"4", '4'}, {"5", '5'},
                                        {"6", '6'}, {"7", '7'}, {"8", '8'},     {"9", '9'}, {"K", '*'},
                                        {"0", '0'}, {"S", '#'}, {"PAUSE", ';'}, {"M", '-'}};

// The key with this caption, or nothing for any other button.
std::optional<DialKey> FindDialKey(std::string_view caption);

// What a key press types into a phone box that holds `phone`: the key's character while the number is shorter
// than its limit, nothing once it is full.
std::optional<char> DialKeyPress(const DialKey& key, std::string_view phone);

// Add wants a name first, then a number.
enum class NewEntryCheck { kComplete, kNoName, kNoPhone };
NewEntryCheck CheckNewEntry(const AddressEntry& typed);

// OK with no row selected: the typed texts become the one destination, whether or not the book holds them; with
// no number typed there is none.
std::optional<AddressRecord> TypedDestination(const AddressEntry& typed);
