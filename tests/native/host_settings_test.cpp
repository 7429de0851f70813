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
    const unsigned key = 26;
    struct Row { const char* text; u32 want; } rows[] = {
        {"8", 8}, {"0x10", 16}, {"32", 32}, {"0", 0}, {"", 0}, {"4", 0}, {"64", 0},
        {"12", 0}, {"-16", 0}, {"0x10000", 0}, {"sixteen", 0},
    };
    for (const Row& r : rows) EXPECT_EQ(read_settings_value(key, r.text), r.want) << r.text;
    // Other keys read as they are written; a missing one gives its default.
    EXPECT_EQ(read_settings_value(25, "12"), 12u);
    EXPECT_EQ(read_settings_value(2, ""), 0xFFFFFFu);
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

// --- Window placement -----------------------------------------------------

namespace {

const ScreenArea kScreen{0, 0, 1024, 738};

bool Usable(Placement p, std::initializer_list<ScreenArea> monitors = {kScreen}) {
    return placement_usable(p, monitors.begin(), monitors.size());
}

}  // namespace

TEST(Placement, KeysRoundTripAndAMissingKeyMeansNone) {
    const Placement p{-1280, 24, 640, 480, true};
    u32 values[kPlacementKeys];
    placement_values(p, values);
    char texts[kPlacementKeys][kProfileValueBytes];
    const char* read[kPlacementKeys];
    for (unsigned i = 0; i < kPlacementKeys; ++i) {
        format_profile_hex(values[i], texts[i]);
        read[i] = texts[i];
    }
    Placement back{};
    ASSERT_TRUE(read_placement(read, back));
    EXPECT_EQ(back.left, -1280);
    EXPECT_EQ(back.top, 24);
    EXPECT_EQ(back.width, 640);
    EXPECT_EQ(back.height, 480);
    EXPECT_TRUE(back.maximized);
    EXPECT_STREQ(placement_keys[4], "window_maximized");
    read[2] = "";
    EXPECT_FALSE(read_placement(read, back));
    read[2] = nullptr;
    EXPECT_FALSE(read_placement(read, back));
}

TEST(Placement, OnlyASizeThatFitsWithItsTitleBarOnAMonitorIsShown) {
    EXPECT_TRUE(Usable({100, 100, 400, 416, false}));
    EXPECT_TRUE(Usable({0, 0, 1024, 738, true}));
    EXPECT_TRUE(Usable({-368, 700, 400, 416, false}));  // 32 of the title bar show
    EXPECT_FALSE(Usable({-369, 100, 400, 416, false}));
    EXPECT_FALSE(Usable({100, 707, 400, 416, false}));   // title bar cut at the bottom
    EXPECT_FALSE(Usable({100, -1, 400, 416, false}));    // title bar above the screen
    EXPECT_FALSE(Usable({-30000, -30000, 400, 416, false}));
    EXPECT_FALSE(Usable({100, 100, 0, 416, false}));
    EXPECT_FALSE(Usable({100, 100, 400, -5, false}));
    EXPECT_FALSE(Usable({0, 0, 1025, 400, false}));     // wider than the desktop
    EXPECT_FALSE(Usable({0, 0, 400, 739, false}));
    EXPECT_FALSE(Usable({2147483600, 100, 400, 416, false}));
    EXPECT_FALSE(Usable({100, 100, 400, 416, false}, {}));
    // Two monitors side by side, the left one lower: the desktop is the
    // rectangle round both, but a window in the gap lies on neither.
    const ScreenArea left{-1280, 200, 0, 1224}, right = kScreen;
    EXPECT_TRUE(Usable({-1200, 300, 1600, 900, false}, {left, right}));
    EXPECT_FALSE(Usable({-1200, 100, 400, 300, false}, {left, right}));
    EXPECT_FALSE(Usable({-1200, 300, 2400, 900, false}, {left, right}));
}
