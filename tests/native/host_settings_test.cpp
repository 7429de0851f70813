// Settings keys, defaults and value texts.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "host/core/placement.h"
#include "host/core/settings.h"

using namespace pm;

TEST(SettingsKeys, FileOrderAndDefaults) {
    EXPECT_STREQ(settings_key(0).name, "font_number");
    EXPECT_STREQ(settings_key(1).name, "offset_grad_start_color");
    EXPECT_STREQ(settings_key(2).name, "offset_grad_end_color");
    EXPECT_STREQ(settings_key(23).name, "modified3_bytes_bk_color");
    EXPECT_STREQ(settings_key(24).name, "modified3_bytes_text_color");
    EXPECT_STREQ(settings_key(25).name, "offset");
    EXPECT_STREQ(settings_key(26).name, "bytes_per_line");
    std::set<std::string> names;
    for (unsigned i = 0; i < kSettingsKeys; ++i) names.insert(settings_key(i).name);
    EXPECT_EQ(names.size(), size_t(kSettingsKeys));
}

TEST(SettingsKeys, EachKeyOwnsOneField) {
    Settings s;
    std::memset(&s, 0, sizeof s);
    for (unsigned i = 0; i < kSettingsKeys; ++i) settings_field(s, i) = 1000 + i;
    EXPECT_EQ(s.font_number, 1000u);
    EXPECT_EQ(s.offset, 1025u);
    EXPECT_EQ(s.bytes_per_line, 1026u);
    for (unsigned p = 0; p < kColourPairs; ++p) {
        EXPECT_EQ(s.first[p], 1001u + 2 * p) << p;
        EXPECT_EQ(s.second[p], 1002u + 2 * p) << p;
    }
}

TEST(SettingsKeys, DefaultsMatchTheControlsColourPairs) {
    Settings s;
    set_default_settings(s);
    const u32 first[kColourPairs] = {0xFF8080, 0x808080, 0, 0, 0xFFFFFF, 0xFFFFFF,
                                     0xFF8080, 0x808000, 0x0000FF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    const u32 second[kColourPairs] = {0xFFFFFF, 0xFFFFFF, 0x800000, 0, 0x800000, 0x008000,
                                      0xC0FFC0, 0xFFFFFF, 0xFFFFFF, 0x0000F0, 0x0000B0, 0x000070};
    for (unsigned p = 0; p < kColourPairs; ++p) {
        EXPECT_EQ(s.first[p], first[p]) << p;
        EXPECT_EQ(s.second[p], second[p]) << p;
    }
    EXPECT_EQ(s.font_number, 0u);
    EXPECT_EQ(s.offset, 0u);
    EXPECT_EQ(s.bytes_per_line, 0u);
}

TEST(SettingsKeys, BytesPerLineReadsAsZeroUnlessARoundWidth) {
    for (const char* text : {"4", "64", "12", "-16", "0x10000", "sixteen", ""})
        EXPECT_EQ(read_settings_value(26, text), 0u) << text;
    EXPECT_EQ(read_settings_value(26, "0x10") + read_settings_value(26, "8") + read_settings_value(26, "32"), 56u);
    // Other keys read as they are written; a missing one gives its default.
    EXPECT_EQ(read_settings_value(25, "12") + read_settings_value(2, ""), 12u + 0xFFFFFF);
}

TEST(ProfileInt, ReadsLikeTheSystemReader) {
    struct Row { const char* text; u32 want; } rows[] = {
        {"3", 3}, {"0x0000ff", 255}, {"0xAbC", 0xABC}, {"12abc", 12}, {"  42", 42}, {"0x1F2G", 0x1F2},
        {"0xffffffff", 0xFFFFFFFFu}, {"4294967296", 0}, {"-1", 0xFFFFFFFFu}, {"+7", 7}, {"-0x10", 0xFFFFFFF0u},
        {"abc", 0}, {"0x", 0}, {"0o17", 15}, {"0b101", 5}, {"08", 8}, {"0xG", 0},
        // The base prefixes count in lower case only: "0X1F" is a 0 and a stop.
        {"0X1F", 0}, {"0O17", 0}, {"0B101", 0},
    };
    for (const Row& r : rows) EXPECT_EQ(parse_profile_int(r.text, 99), r.want) << r.text;
    EXPECT_EQ(parse_profile_int("", 99), 99u);
    EXPECT_EQ(parse_profile_int("   ", 99), 99u);
    EXPECT_EQ(parse_profile_int(nullptr, 7), 7u);
}

TEST(ProfileInt, FormatIsReadBackUnchanged) {
    const u32 values[] = {0, 1, 255, 0xFF8080, 0x1000000, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
    for (u32 v : values) {
        char text[kProfileValueBytes];
        unsigned n = format_profile_hex(v, text);
        EXPECT_EQ(n, std::strlen(text));
        EXPECT_EQ(parse_profile_int(text, ~v), v) << text;
    }
    char text[kProfileValueBytes];
    format_profile_hex(255, text);
    EXPECT_STREQ(text, "0x0000ff");
    format_profile_hex(0, text);
    EXPECT_STREQ(text, "0x000000");
    format_profile_hex(0x12345678, text);
    EXPECT_STREQ(text, "0x12345678");
}

// Placement keys round-trip; a placement shows only with a size that fits
// the desktop and its title bar on one monitor.
TEST(Placement, KeysRoundTripAndOnlyAPlacementOnAMonitorIsShown) {
    u32 values[kPlacementKeys];
    placement_values({-1280, 24, 640, 480, true}, values);
    char texts[kPlacementKeys][kProfileValueBytes];
    const char* read[kPlacementKeys];
    for (unsigned i = 0; i < kPlacementKeys; ++i) format_profile_hex(values[i], texts[i]), read[i] = texts[i];
    Placement p{};
    ASSERT_TRUE(read_placement(read, p));
    EXPECT_TRUE(p.left == -1280 && p.top == 24 && p.width == 640 && p.height == 480 && p.maximized);
    read[2] = "";
    EXPECT_FALSE(read_placement(read, p));
    // Two monitors, the left one lower; the desktop round both is 2304 x 1224.
    const ScreenArea monitors[] = {{-1280, 200, 0, 1224}, {0, 0, 1024, 738}};
    const struct { Placement p; bool usable; } rows[] = {
        {{-1200, 300, 2304, 900, false}, true}, {{992, 706, 400, 416, false}, true},  // 32 x 32 title bar shows
        {{993, 706, 400, 416, false}, false},   {{900, 707, 400, 416, false}, false},
        {{-1200, 100, 400, 300, false}, false}, {{100, 100, 0, 416, false}, false},
        {{100, 100, 400, -5, false}, false},    {{0, 0, 2305, 400, false}, false},
        {{2147483600, 100, 400, 416, false}, false},
    };
    for (const auto& r : rows) EXPECT_EQ(placement_usable(r.p, monitors, 2), r.usable) << r.p.left << "," << r.p.top;
    EXPECT_FALSE(placement_usable(rows[0].p, monitors, 0));
}
