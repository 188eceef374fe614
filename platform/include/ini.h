// The INI format on text in memory: finding values and setting them, in the manner of the Windows profile
// functions. Any bytes are acceptable input; what cannot be read as a section or an entry is passed over.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A section and a key as the caller spells them, byte for byte (trailing blanks included).
struct IniKey {
    std::string_view section;
    std::string_view key;
};

// What one key is to become.
struct IniEntry {
    std::string_view section;
    std::string_view key;
    std::string value;
};

// The values of the asked keys, in the order asked, found in one pass over the text. Sections and keys match
// without regard to ASCII case or to blanks around them, as the profile functions match them; a key is
// looked for only in the first section of its name (a section named again further down is passed over), and
// where it occurs more than once there, the first occurrence wins. A value comes back without the blanks
// around it; a key that is not there gives nothing.
//
// A line whose first non-blank character is '[' names a section, up to ']' or the end of the line; a line
// with '=' is an entry of the section above it; entries above the first section belong to none. A line ends
// at LF, CR LF or a lone CR. A UTF-8 byte-order mark before the first line is passed over; a text that starts
// with a UTF-16 byte-order mark (little- or big-endian) is read as UTF-16, and values come back in UTF-8.
std::vector<std::optional<std::string>> IniFind(std::string_view text, const std::vector<IniKey>& keys);

// A value read as an integer: decimal, or hexadecimal after "$" or "0x", with an optional sign, within
// 32 bits, and nothing else. Anything else gives nothing, so that the caller's default applies.
std::optional<int32_t> IniParseInteger(std::string_view value);

// The text with every entry set, as if each had been written in turn: a key that is there (in the first
// section of its name) gets the new value in place (the rest of its line keeps its bytes); a key that is not
// gets a line after the last line of that section; a section that is not there is added at the end. Every
// other byte stays as it was, and a UTF-16 text stays UTF-16 of the same byte order. New lines end the way
// the text's first line ends (CR LF for a text without one).
std::string IniSet(std::string_view text, const std::vector<IniEntry>& entries);

} // namespace platform
