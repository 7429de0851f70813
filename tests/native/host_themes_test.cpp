// The theme files shipped in Themes/: each is a complete settings file that
// the host reads back to the values written in it, and each pair of colours
// that is drawn one on the other stays legible, in these themes and in the
// default colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "host/core/settings.h"

#ifndef PELOMAR_THEMES_DIR
#define PELOMAR_THEMES_DIR "Themes"
#endif

namespace {

namespace fs = std::filesystem;
using pm::u32;

std::vector<fs::path> ThemeFiles() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(PELOMAR_THEMES_DIR, ec))
        if (entry.path().extension() == ".ini") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    const auto e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// A theme file as the profile reader sees it: comment lines (";") and
// blank lines skipped, sections and their keys in order.
struct ParsedTheme {
    std::vector<std::string> sections;
    std::vector<std::pair<std::string, std::string>> keys;  // of [HEXEDITOR]
    std::vector<std::string> stray_lines;
};

ParsedTheme Parse(const fs::path& file) {
    ParsedTheme t;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            t.sections.push_back(line.substr(1, line.size() - 2));
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || t.sections.empty()) {
            t.stray_lines.push_back(line);
            continue;
        }
        if (t.sections.back() == "HEXEDITOR") t.keys.emplace_back(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }
    return t;
}

// Relative luminance and contrast ratio of two COLORREFs (0x00BBGGRR).
double Luminance(u32 colour) {
    auto channel = [](u32 v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour & 0xFF) + 0.7152 * channel((colour >> 8) & 0xFF) +
           0.0722 * channel((colour >> 16) & 0xFF);
}

double Contrast(u32 a, u32 b) {
    double x = Luminance(a), y = Luminance(b);
    if (x < y) std::swap(x, y);
    return (x + 0.05) / (y + 0.05);
}

struct Drawn {
    std::string what;
    u32 text;
    u32 background;
};

// The colours a gradient passes through from one end to the other, channel
// in steps of no more than one level of any channel.
std::vector<u32> GradientPoints(u32 from, u32 to) {
    std::vector<u32> points;
    for (int k = 0; k <= 255; ++k) {
        u32 c = 0;
        for (int shift : {0, 8, 16}) {
            const int a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
            c |= u32(a + (b - a) * k / 255) << shift;
        }
        points.push_back(c);
    }
    return points;
}

// Every text colour over every background it is drawn on: the addresses
// over each point of the offset column's gradient, the header texts over
// each point of the header's.
std::vector<Drawn> DrawnPairs(const pm::Settings& s) {
    const u32 kInvert = 0xFFFFFF;
    std::vector<Drawn> v = {
        {"hex digits", s.second[4], s.first[4]},
        {"text view", s.second[5], s.first[5]},
        {"hex selection", s.second[6], s.first[6]},
        {"text selection", s.second[7], s.first[7]},
        {"active character", s.second[8], s.first[8]},
        // The caret's hex cell is the hex view's colours inverted.
        {"hex caret", s.second[4] ^ kInvert, s.first[4] ^ kInvert},
        {"modified 1", s.second[9], s.first[9]},
        {"modified 2", s.second[10], s.first[10]},
        {"modified 3", s.second[11], s.first[11]},
    };
    for (u32 point : GradientPoints(s.first[0], s.second[0])) v.push_back({"addresses", s.second[2], point});
    for (u32 point : GradientPoints(s.first[1], s.second[1])) {
        v.push_back({"header value", s.first[2], point});
        v.push_back({"column labels", s.first[3], point});
        v.push_back({"input mode", s.second[3], point});
    }
    return v;
}

TEST(ShippedThemes, ThereAreSome) { EXPECT_GE(ThemeFiles().size(), 3u) << PELOMAR_THEMES_DIR; }

TEST(ShippedThemes, EachHoldsEveryKeyInTheWritersForm) {
    for (const fs::path& file : ThemeFiles()) {
        SCOPED_TRACE(file.filename().string());
        const ParsedTheme t = Parse(file);
        EXPECT_EQ(t.sections, std::vector<std::string>{"HEXEDITOR"});
        EXPECT_TRUE(t.stray_lines.empty()) << t.stray_lines.front();
        ASSERT_EQ(t.keys.size(), pm::kSettingsKeys);
        for (unsigned i = 0; i < pm::kSettingsKeys; ++i) {
            // In file order, each once, each read back to what it says.
            EXPECT_EQ(t.keys[i].first, pm::settings_key(i).name);
            const u32 value = pm::parse_profile_int(t.keys[i].second.c_str(), ~0u);
            char written[pm::kProfileValueBytes];
            pm::format_profile_hex(value, written);
            EXPECT_EQ(t.keys[i].second, written) << t.keys[i].first;
        }
    }
}

TEST(ShippedThemes, EveryDrawnPairIsLegible) {
    for (const fs::path& file : ThemeFiles()) {
        const std::string name = file.stem().string();
        SCOPED_TRACE(name);
        const ParsedTheme t = Parse(file);
        ASSERT_EQ(t.keys.size(), pm::kSettingsKeys);
        pm::Settings s;
        pm::set_default_settings(s);
        for (unsigned i = 0; i < pm::kSettingsKeys; ++i)
            pm::settings_field(s, i) = pm::parse_profile_int(t.keys[i].second.c_str(), 0);
        EXPECT_LT(s.font_number, 5u);
        for (unsigned pair = 0; pair < pm::kColourPairs; ++pair) {
            EXPECT_LE(s.first[pair], 0xFFFFFFu);
            EXPECT_LE(s.second[pair], 0xFFFFFFu);
        }
        const double need = name == "High contrast" ? 7.0 : 4.5;
        for (const Drawn& d : DrawnPairs(s))
            EXPECT_GE(Contrast(d.text, d.background), need) << d.what;
        // A selection must stand out as a block, and each modified level
        // must look different from plain bytes and from the other levels.
        EXPECT_GE(Contrast(s.first[6], s.first[4]), 1.25) << "hex selection background";
        EXPECT_GE(Contrast(s.first[7], s.first[5]), 1.25) << "text selection background";
        std::map<std::pair<u32, u32>, int> looks;
        looks[{s.first[4], s.second[4]}] = 0;
        for (unsigned level = 9; level <= 11; ++level)
            EXPECT_TRUE(looks.emplace(std::make_pair(s.first[level], s.second[level]), level).second)
                << "modified level " << level - 8;
    }
}

// The default offsets and header value are legible over every point of
// their gradients; the default digits meet their published ratios (navy
// on white 16.0:1, green on white 5.1:1, white on red 4.0:1).
TEST(DefaultColours, AreLegible) {
    pm::Settings s;
    pm::set_default_settings(s);
    for (const Drawn& d : DrawnPairs(s))
        EXPECT_TRUE(Contrast(d.text, d.background) >= 4.5 || (d.what != "addresses" && d.what != "header value"));
    EXPECT_NEAR(Contrast(s.second[4], s.first[4]), 16.0, 0.05);
    EXPECT_NEAR(Contrast(s.second[5], s.first[5]), 5.1, 0.05);
    EXPECT_NEAR(Contrast(s.second[8], s.first[8]), 4.0, 0.05);
}

}  // namespace
