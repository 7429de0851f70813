// Tab strip state: adding, scrolling, hover and press looks, closing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/core/tabs.h"

using namespace pm;

namespace {

const TabMetrics kMetrics{84, 22, 22, 34};
const int kPitch = 106;

// The x of a tab place's body and close part (places from 1).
int Body(int place) { return (place - 1) * kPitch + 40; }
int Close(int place) { return (place - 1) * kPitch + 95; }

std::unique_ptr<TabStrip> Strip(unsigned tabs, u32 width = 420) {
    auto s = std::make_unique<TabStrip>();
    tabs_init(*s, kMetrics);
    tabs_layout(*s, width);
    for (unsigned i = 1; i <= tabs; ++i) tabs_add(*s, ("tab" + std::to_string(i)).c_str());
    return s;
}

// Hovers over the close part of a place, presses and releases there.
TabEvent CloseAt(TabStrip& s, int place) {
    tabs_mouse_move(s, Close(place), 10);
    tabs_button_down(s, Close(place), 10);
    return tabs_button_up(s, Close(place), 10);
}

}  // namespace

TEST(Tabs, GeometryComesFromTheBitmaps) {
    auto s = Strip(0);
    EXPECT_EQ(s->pitch, 106u);
    EXPECT_EQ(s->buttons_width, 44u);
    EXPECT_EQ(s->selected, 1u);
    EXPECT_EQ(s->hot, 1u);
}

TEST(Tabs, AddingAFourthToThreePlacesScrollsByOne) {
    auto s = Strip(3);
    EXPECT_EQ(s->visible, 3u);
    EXPECT_EQ(s->first, 0u);
    tabs_add(*s, "four");
    EXPECT_EQ(s->count, 4u);
    EXPECT_EQ(s->first, 1u);
    EXPECT_EQ(s->visible, 3u);
    EXPECT_EQ(s->selected, 4u);
    EXPECT_EQ(s->tabs[3].look, kLookSelected);
    EXPECT_EQ(s->tabs[2].look, kLookNormal);
}

// Marks go with their tab when an earlier one closes; a new tab has none,
// whatever its slot held before.
TEST(Tabs, MarksFollowTheirTab) {
    auto s = Strip(3);
    tabs_set_marks(*s, 2, kMarkChanged);
    tabs_set_marks(*s, 3, kMarkChanged);  // no such index: nothing
    CloseAt(*s, 1);
    EXPECT_EQ(s->tabs[0].marks, 0);
    EXPECT_EQ(s->tabs[1].marks, kMarkChanged);
    CloseAt(*s, 2);
    tabs_add(*s, "new");
    EXPECT_EQ(s->tabs[1].marks, 0);
}

TEST(Tabs, LabelsKeepNineThenTenCharacters) {
    auto s = Strip(0);
    tabs_add(*s, "abcdefghijkl");
    EXPECT_STREQ(s->tabs[0].label, "abcdefghi");
    tabs_set_text(*s, 0, "abcdefghijkl");
    EXPECT_STREQ(s->tabs[0].label, "abcdefghij");
    tabs_add(*s, "");
    EXPECT_STREQ(s->tabs[1].label, "");
    tabs_set_text(*s, 5, "out of range");  // ignored, no write past the tabs
    EXPECT_EQ(s->count, 2u);
}

TEST(Tabs, FullStripRefusesTheFiveHundredThirteenth) {
    auto s = Strip(0, 4000);
    for (unsigned i = 0; i < kTabMax; ++i) ASSERT_TRUE(tabs_add(*s, "x"));
    EXPECT_FALSE(tabs_add(*s, "y"));
    EXPECT_EQ(s->count, kTabMax);
    EXPECT_EQ(s->selected, kTabMax);
}

// Closing tab t of n with tab `sel` selected and the row unscrolled.
struct CloseRow {
    unsigned n, sel, place;  // place = tab number here (no scroll)
    u32 want_selected, want_count;
};

class TabsClose : public ::testing::TestWithParam<CloseRow> {};

TEST_P(TabsClose, NumberingRules) {
    const CloseRow& r = GetParam();
    auto s = Strip(r.n, 1000);
    if (r.sel != r.n) tabs_button_down(*s, Body(r.sel), 10);
    ASSERT_EQ(s->selected, r.sel);
    std::string after = r.place < r.n ? s->tabs[r.place].label : "";
    TabEvent e = CloseAt(*s, r.place);
    ASSERT_EQ(e.kind, TabEvent::kClosed);
    EXPECT_EQ(e.a, r.place);
    EXPECT_EQ(s->count, r.want_count);
    EXPECT_EQ(s->selected, r.want_selected);
    if (!after.empty()) {
        EXPECT_EQ(s->tabs[r.place - 1].label, after);  // later tabs move down
    }
    unsigned selected_looks = 0;
    for (u32 i = 0; i < s->count; ++i) selected_looks += look_body(s->tabs[i].look) == 1;
    EXPECT_EQ(selected_looks, s->count ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, TabsClose, ::testing::Values(
    CloseRow{3, 3, 3, 2, 2},  // selected last tab: the one before is selected
    CloseRow{3, 2, 2, 2, 2},  // selected middle tab: the next takes its number
    CloseRow{3, 3, 1, 2, 2},  // left of the selected: its number drops by one
    CloseRow{3, 1, 3, 1, 2},  // right of the selected: nothing changes
    CloseRow{1, 1, 1, 0, 0}   // the only tab: empty strip, nothing selected
));

TEST(Tabs, AfterClosingTheOnlyTabTheNextIsNumberOne) {
    auto s = Strip(1);
    ASSERT_EQ(CloseAt(*s, 1).kind, TabEvent::kClosed);
    EXPECT_EQ(s->selected, 0u);
    tabs_add(*s, "again");
    EXPECT_EQ(s->count, 1u);
    EXPECT_EQ(s->selected, 1u);
    EXPECT_EQ(s->tabs[0].look, kLookSelected);
}

TEST(Tabs, ClosedSelectedTabsSuccessorLooksCloseLitInItsPlace) {
    auto s = Strip(3, 1000);
    tabs_button_down(*s, Body(2), 10);
    CloseAt(*s, 2);
    EXPECT_EQ(s->selected, 2u);
    EXPECT_EQ(s->tabs[1].look, kLookSelectedCloseLit);
    // Closing a tab that is not selected lights the close part of its successor.
    auto t = Strip(3, 1000);
    tabs_button_down(*t, Body(3), 10);
    CloseAt(*t, 1);
    EXPECT_EQ(t->tabs[0].look, kLookHotCloseLit);
    EXPECT_EQ(t->tabs[1].look, kLookSelected);
}

TEST(Tabs, ClosingWhileScrolledShiftsTheRowBack) {
    auto s = Strip(5);  // three places, first = 2
    ASSERT_EQ(s->first, 2u);
    TabEvent e = CloseAt(*s, 1);  // place 1 shows tab 3
    ASSERT_EQ(e.kind, TabEvent::kClosed);
    EXPECT_EQ(e.a, 3u);
    EXPECT_EQ(s->first, 1u);
    EXPECT_EQ(s->selected, 4u);
    EXPECT_EQ(s->hot, 2u);  // the tab now standing in place 1
    EXPECT_EQ(s->tabs[1].look, kLookHotCloseLit);
}

TEST(Tabs, PressOnBodySelectsAndReportsEvenTheSelectedTab) {
    auto s = Strip(3);
    TabEvent e = tabs_button_down(*s, Body(1), 10);
    EXPECT_EQ(e.kind, TabEvent::kSelChange);
    EXPECT_EQ(e.a, 3u);
    EXPECT_EQ(e.b, 1u);
    e = tabs_button_down(*s, Body(1), 10);
    EXPECT_EQ(e.kind, TabEvent::kSelChange);
    EXPECT_EQ(e.a, 1u);
    EXPECT_EQ(e.b, 1u);
    EXPECT_EQ(tabs_button_down(*s, Body(1), 35).kind, TabEvent::kNone);  // below the strip
}

TEST(Tabs, HoverLooksAndLeaving) {
    auto s = Strip(3);
    EXPECT_TRUE(tabs_mouse_move(*s, Body(2), 10));
    EXPECT_EQ(s->tabs[1].look, kLookHot);
    EXPECT_FALSE(tabs_mouse_move(*s, Body(2) + 3, 10));  // same tab, same part
    EXPECT_TRUE(tabs_mouse_move(*s, Close(2), 10));
    EXPECT_EQ(s->tabs[1].look, kLookHotCloseLit);
    EXPECT_FALSE(tabs_mouse_move(*s, Close(2) + 2, 10));
    EXPECT_TRUE(tabs_mouse_move(*s, Body(3), 10));
    EXPECT_EQ(s->tabs[1].look, kLookNormal);
    EXPECT_EQ(s->tabs[2].look, kLookSelected);  // the selected tab keeps its look on its body
    EXPECT_TRUE(tabs_mouse_move(*s, Close(3), 10));
    EXPECT_EQ(s->tabs[2].look, kLookSelectedCloseLit);
    EXPECT_TRUE(tabs_mouse_move(*s, Body(1), 10));
    EXPECT_EQ(s->tabs[2].look, kLookSelected);
    EXPECT_EQ(s->tabs[0].look, kLookHot);
    EXPECT_TRUE(tabs_mouse_leave(*s));
    EXPECT_EQ(s->hot, 0u);
    EXPECT_EQ(s->tabs[0].look, kLookNormal);
    EXPECT_FALSE(tabs_mouse_leave(*s));
}

TEST(Tabs, PressOnCloseThenReleaseOffTheStripClosesNothing) {
    auto s = Strip(2);
    tabs_mouse_move(*s, Close(1), 10);
    tabs_button_down(*s, Close(1), 10);
    EXPECT_EQ(s->tabs[0].look, kLookHotClosePressed);
    tabs_mouse_leave(*s);
    EXPECT_EQ(tabs_button_up(*s, Close(1), 50).kind, TabEvent::kNone);
    EXPECT_EQ(s->count, 2u);
    EXPECT_EQ(s->tabs[0].look, kLookNormal);
}

TEST(Tabs, ScrollButtonsOnlyReactWhenTabsAreHidden) {
    auto all = Strip(2);  // both shown: buttons sit in place 3 and do nothing
    EXPECT_TRUE(tabs_mouse_move(*all, 2 * kPitch + 5, 10));  // plain place past the tabs
    EXPECT_EQ(all->left_button, kLeftNormal);

    auto s = Strip(5);  // 3 places, first = 2, last tab shown
    const int left = 3 * kPitch + 5, right = 3 * kPitch + 22 + 5;
    EXPECT_TRUE(tabs_mouse_move(*s, right, 10));
    EXPECT_EQ(s->right_button, kRightLit);
    EXPECT_EQ(tabs_button_down(*s, right, 10).kind, TabEvent::kRepaint);
    EXPECT_EQ(s->right_button, kRightPressed);
    EXPECT_EQ(s->first, 2u);  // the last tab already shows
    tabs_button_up(*s, right, 10);
    EXPECT_EQ(s->right_button, kRightLit);

    EXPECT_TRUE(tabs_mouse_move(*s, left, 10));
    EXPECT_EQ(s->left_button, kLeftLit);
    EXPECT_EQ(s->right_button, kRightNormal);
    tabs_button_down(*s, left, 10);
    tabs_button_up(*s, left, 10);
    tabs_button_down(*s, left, 10);
    EXPECT_EQ(s->first, 0u);
    tabs_button_up(*s, left, 10);
    tabs_button_down(*s, left, 10);
    EXPECT_EQ(s->first, 0u);  // never below the first tab
    // The column between the two buttons resets them.
    tabs_button_up(*s, left, 10);
    EXPECT_TRUE(tabs_mouse_move(*s, 3 * kPitch + 22, 10));
    EXPECT_EQ(s->left_button, kLeftNormal);
}

TEST(Tabs, ResizeKeepsTheScrollInRange) {
    auto s = Strip(5);  // first = 2 with 3 places
    tabs_layout(*s, 1000);  // room for 8: the whole row shows at once
    EXPECT_EQ(s->visible, 5u);
    EXPECT_EQ(s->first, 0u);
    tabs_layout(*s, 30);  // narrower than the buttons: every tab has a place
    EXPECT_EQ(s->visible, 5u);

    // Twelve tabs, 9 hidden; a maximized strip has 11 places, so one stays
    // hidden and the scroll buttons stand right after the last place.
    auto m = Strip(12);
    ASSERT_EQ(m->first, 9u);
    tabs_layout(*m, 1280);
    EXPECT_EQ(m->visible, 11u);
    EXPECT_EQ(m->first, 1u);
    const int left_button = 11 * kPitch + 5;
    EXPECT_TRUE(tabs_mouse_move(*m, left_button, 10));
    EXPECT_EQ(m->left_button, kLeftLit);
    tabs_button_down(*m, left_button, 10);
    tabs_button_up(*m, left_button, 10);
    EXPECT_EQ(m->first, 0u);
    // Restored: the row stays where it is, every place still shows a tab.
    tabs_layout(*m, 420);
    EXPECT_EQ(m->visible, 3u);
    EXPECT_EQ(m->first, 0u);
    tabs_layout(*m, 1280);
    tabs_mouse_leave(*m);
    const TabEvent e = tabs_button_down(*m, Body(11), 10);
    EXPECT_EQ(e.kind, TabEvent::kSelChange);
    EXPECT_EQ(e.b, 11u);
}

// Minimizing sizes the strip to width 0: the row stays, so the selected tab
// is in view again after the restore. A tab added while the row is scrolled
// to the left end is shown, in the last place.
TEST(Tabs, MinimizingKeepsTheRowAndAnAddedTabIsShown) {
    auto s = Strip(8);  // three places, tabs 6 to 8 shown
    ASSERT_EQ(s->first, 5u);
    tabs_button_down(*s, Body(1), 10);  // select tab 6
    for (int i = 0; i < 2; ++i) {
        tabs_layout(*s, 0);
        EXPECT_EQ(s->first, 5u);
        tabs_layout(*s, 420);
        EXPECT_EQ(s->first, 5u);
        EXPECT_EQ(s->visible, 3u);
    }
    const int left_button = 3 * kPitch + 5;
    tabs_mouse_move(*s, left_button, 10);
    for (int i = 0; i < 5; ++i) {
        tabs_button_down(*s, left_button, 10);
        tabs_button_up(*s, left_button, 10);
    }
    ASSERT_EQ(s->first, 0u);
    tabs_mouse_leave(*s);
    ASSERT_TRUE(tabs_add(*s, "nine"));
    EXPECT_EQ(s->selected, 9u);
    EXPECT_EQ(s->first, 6u);
    const TabEvent e = tabs_button_down(*s, Body(3), 10);
    EXPECT_EQ(e.kind, TabEvent::kSelChange);
    EXPECT_EQ(e.b, 9u);
}

TEST(Tabs, HostileCoordinatesStayInsideTheTable) {
    auto s = Strip(3, 65535);
    for (int x : {-1, 0, 83, 84, 105, 106, 317, 318, 361, 362, 65535}) {
        for (int y : {-1, 0, 33, 34, 35, 65535}) {
            tabs_mouse_move(*s, x, y);
            tabs_button_down(*s, x, y);
            tabs_button_up(*s, x, y);
        }
    }
    EXPECT_LE(s->count, 3u);
    EXPECT_LE(s->selected, s->count);
}

// The pointer jumps (mouse moves are coalesced) from a close part to the
// right scroll button, presses it, and jumps straight back: the next press
// on the close part closes that tab instead of pressing the scroll button.
TEST(Tabs, CloseAfterAJumpFromTheRightScrollButtonCloses) {
    auto s = Strip(5);  // three places, tabs 3 to 5 shown
    tabs_mouse_move(*s, Close(1), 10);
    const int right_button = 3 * kPitch + 33;
    tabs_mouse_move(*s, right_button, 10);
    ASSERT_EQ(s->right_button, u32(kRightLit));
    tabs_button_down(*s, right_button, 10);
    tabs_button_up(*s, right_button, 10);
    const TabEvent e = CloseAt(*s, 1);
    EXPECT_EQ(e.kind, TabEvent::kClosed);
    EXPECT_EQ(e.a, 3u);
    EXPECT_EQ(s->count, 4u);
    EXPECT_EQ(s->right_button, u32(kRightNormal));
}

// The pointer jumps from a lit scroll button straight onto a tab body or
// onto the empty area past the buttons: the button goes out, and a press
// there selects (or does nothing) instead of scrolling the row.
TEST(Tabs, AMoveFromALitScrollButtonOntoABodyUnlightsIt) {
    auto s = Strip(5);  // three places, tabs 3 to 5 shown
    const int left_button = 3 * kPitch + 5, right_button = 3 * kPitch + 33;
    tabs_mouse_move(*s, Body(1), 10);  // tab 3 hot
    tabs_mouse_move(*s, right_button, 10);
    ASSERT_EQ(s->right_button, u32(kRightLit));
    EXPECT_TRUE(tabs_mouse_move(*s, Body(1), 10));  // back onto the same body
    EXPECT_EQ(s->right_button, u32(kRightNormal));
    TabEvent e = tabs_button_down(*s, Body(1), 10);
    EXPECT_EQ(e.kind, TabEvent::kSelChange);
    EXPECT_EQ(e.b, 3u);
    EXPECT_EQ(s->first, 2u);

    tabs_mouse_move(*s, left_button, 10);
    ASSERT_EQ(s->left_button, u32(kLeftLit));
    EXPECT_TRUE(tabs_mouse_move(*s, Body(2), 10));  // onto another body
    EXPECT_EQ(s->left_button, u32(kLeftNormal));
    EXPECT_EQ(s->tabs[3].look, kLookHot);
    e = tabs_button_down(*s, Body(2), 10);
    EXPECT_EQ(e.kind, TabEvent::kSelChange);
    EXPECT_EQ(e.b, 4u);
    EXPECT_EQ(s->first, 2u);

    auto t = Strip(4, 460);  // three places, tab 1 hidden; x 424 on is empty
    ASSERT_EQ(t->first, 1u);
    tabs_mouse_move(*t, left_button, 10);
    ASSERT_EQ(t->left_button, u32(kLeftLit));
    tabs_mouse_move(*t, 430, 10);
    EXPECT_EQ(t->left_button, u32(kLeftNormal));
    EXPECT_EQ(tabs_button_down(*t, 430, 10).kind, TabEvent::kNone);
    EXPECT_EQ(t->first, 1u);
}

// Closing the selected tab while the row is scrolled: the row moves one
// place right, and the tab that now stands under the pointer shows its lit
// close part.
TEST(Tabs, ClosingTheSelectedTabWhileScrolledLightsTheCloseUnderThePointer) {
    auto s = Strip(5);  // three places, tabs 3 to 5 shown
    tabs_button_down(*s, Body(2), 10);
    ASSERT_EQ(s->selected, 4u);
    const TabEvent e = CloseAt(*s, 2);
    ASSERT_EQ(e.kind, TabEvent::kClosed);
    EXPECT_EQ(e.a, 4u);
    EXPECT_EQ(s->first, 1u);     // place 2 now shows tab 3
    EXPECT_EQ(s->selected, 4u);  // the old tab 5
    EXPECT_EQ(s->hot, 3u);
    EXPECT_EQ(s->tabs[2].look, kLookHotCloseLit);
    EXPECT_EQ(s->tabs[3].look, kLookSelected);
    EXPECT_EQ(s->tabs[1].look, kLookNormal);
}
