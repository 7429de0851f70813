// The settings record the host hands to every control, its twenty-six keys
// in file order, and the text form of their values.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pm {

using u32 = std::uint32_t;

enum : unsigned {
    kColourPairs = 12,
    kSettingsKeys = 27,       // font_number, 24 colours, offset, bytes_per_line
    kProfileValueBytes = 11,  // "0x" + 8 digits + zero
};

struct Settings {
    u32 offset;
    u32 font_number;
    u32 first[kColourPairs];   // wParam of set colour pair n
    u32 second[kColourPairs];  // lParam of set colour pair n
    u32 bytes_per_line;        // 0 fits the window; 8, 16 or 32 fixed
};

struct SettingsKey {
    const char* name;
    u32 fallback;  // value when the file lacks the key
};

// Key i (0 to 26) in file order: "font_number", then the first and the
// second colour of each pair in pair order, then "offset" and
// "bytes_per_line".
const SettingsKey& settings_key(unsigned i);
// The record field that key i reads and writes.
u32& settings_field(Settings& s, unsigned i);
u32 settings_field(const Settings& s, unsigned i);
void set_default_settings(Settings& s);

// Reads a profile value the way the system's integer reader
// (GetPrivateProfileIntA) does: leading blanks, an optional sign, then
// decimal, or hex after "0x" (octal after "0o", binary after "0b"), the
// prefix in lower case only ("0X1F" reads as 0); it stops at the first
// character that is not a digit of the base ("12abc" reads as 12) and wraps
// modulo 2^32. An empty text yields fallback.
u32 parse_profile_int(const char* text, u32 fallback);

// The value of key i as the settings file gives it (an empty text when the
// key is missing): the profile reading above with the key's fallback, and a
// bytes_per_line other than 0, 8, 16 or 32 read as 0.
u32 read_settings_value(unsigned i, const char* text);

// "0x" and at least six lower-case hex digits ("0x0000ff", "0x12345678"):
// what "%#08x" writes, with the prefix kept for 0 as well so the reader
// never has to guess the base. Returns the length written.
unsigned format_profile_hex(u32 value, char out[kProfileValueBytes]);

}  // namespace pm
