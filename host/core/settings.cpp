// Settings keys, defaults and the value text of the settings file.
#include "host/core/settings.h"

namespace pm {

namespace {

// File order. The colour keys alternate first/second colour per pair.
const SettingsKey kKeys[kSettingsKeys] = {
    {"font_number", 0},
    {"offset_grad_start_color", 0xFF8080},
    {"offset_grad_end_color", 0xFFFFFF},
    {"header_grad_start_color", 0x808080},
    {"header_grad_end_color", 0xFFFFFF},
    {"header_info_text_color", 0x000000},
    {"view1_text_color", 0x800000},
    {"header_addr_text_color", 0x000000},
    {"header_input_mode_text_color", 0x000000},
    {"view2_bk_color", 0xFFFFFF},
    {"view2_text_color", 0x800000},
    {"view3_bk_color", 0xFFFFFF},
    {"view3_text_color", 0x008000},
    {"sel2_bk_color", 0xFF8080},
    {"sel2_text_color", 0xC0FFC0},
    {"sel3_bk_color", 0x808000},
    {"sel3_text_color", 0xFFFFFF},
    {"char_bk_color", 0x0000FF},
    {"char_text_color", 0xFFFFFF},
    {"modified1_bytes_bk_color", 0xFFFFFF},
    {"modified1_bytes_text_color", 0x0000F0},
    {"modified2_bytes_bk_color", 0xFFFFFF},
    {"modified2_bytes_text_color", 0x0000B0},
    {"modified3_bytes_bk_color", 0xFFFFFF},
    {"modified3_bytes_text_color", 0x000070},
    {"offset", 0},
    {"bytes_per_line", 0},
};

const unsigned kFontKey = 0;
const unsigned kOffsetKey = 25;
const unsigned kBytesPerLineKey = 26;

int digit_in_base(char c, unsigned base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v >= 0 && static_cast<unsigned>(v) < base ? v : -1;
}

}  // namespace

const SettingsKey& settings_key(unsigned i) { return kKeys[i < kSettingsKeys ? i : 0]; }

u32& settings_field(Settings& s, unsigned i) {
    if (i == kOffsetKey) return s.offset;
    if (i == kBytesPerLineKey) return s.bytes_per_line;
    if (i == kFontKey || i > kBytesPerLineKey) return s.font_number;
    unsigned colour = i - 1;
    return colour % 2 == 0 ? s.first[colour / 2] : s.second[colour / 2];
}

u32 settings_field(const Settings& s, unsigned i) {
    return settings_field(const_cast<Settings&>(s), i);
}

void set_default_settings(Settings& s) {
    for (unsigned i = 0; i < kSettingsKeys; ++i) settings_field(s, i) = kKeys[i].fallback;
}

u32 parse_profile_int(const char* text, u32 fallback) {
    if (!text) return fallback;
    while (*text == ' ' || *text == '\t') ++text;
    if (!*text) return fallback;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    unsigned base = 10;
    if (text[0] == '0') {
        char p = text[1];
        if (p == 'x') base = 16;
        else if (p == 'o') base = 8;
        else if (p == 'b') base = 2;
        if (base != 10) text += 2;
    }
    u32 value = 0;
    for (int d; (d = digit_in_base(*text, base)) >= 0; ++text)
        value = value * base + static_cast<u32>(d);
    return negative ? 0u - value : value;
}

u32 read_settings_value(unsigned i, const char* text) {
    const u32 value = parse_profile_int(text, settings_key(i).fallback);
    if (i != kBytesPerLineKey) return value;
    return value == 8 || value == 16 || value == 32 ? value : 0;
}

unsigned format_profile_hex(u32 value, char out[kProfileValueBytes]) {
    static const char kDigits[] = "0123456789abcdef";
    unsigned digits = 6;
    while (digits < 8 && (value >> (4 * digits)) != 0) ++digits;
    out[0] = '0';
    out[1] = 'x';
    for (unsigned k = 0; k < digits; ++k) out[2 + k] = kDigits[(value >> (4 * (digits - 1 - k))) & 0xF];
    out[2 + digits] = 0;
    return 2 + digits;
}

}  // namespace pm
