// The tab strip driven by any sequence of adds, labels, resizes, pointer
// gestures at any point and selections and closes by command, with a document list kept in step by its
// notifications as the host keeps its table: the selection must always name
// a tab, labels stay ended, and the list and the strip never disagree.
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "host/core/tabs.h"

using namespace pm;


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    auto* s = new TabStrip();  // on the heap: an index past the tabs is caught
    const TabMetrics metrics[] = {{84, 22, 22, 34}, {0, 0, 0, 0}, {1, 1, 1, 1}, {84, 22, 22, 34}};
    tabs_init(*s, metrics[in.take<std::uint8_t>() % 4]);
    tabs_layout(*s, 420);
    std::vector<u32> docs;  // tab i + 1 shows document docs[i]
    u32 serial = 0;
    char16_t label[40];
    while (in.rest_size()) {
        const std::uint8_t op = in.take<std::uint8_t>();
        const int x = in.take<std::int16_t>(), y = in.take<std::int8_t>();
        TabEvent e{TabEvent::kNone, 0, 0};
        if (op == 0xFF) {  // marks and selection by the host
            tabs_set_marks(*s, u32(x), u16(y));
            CHECK(tabs_select(*s, u32(x)) == (x >= 1 && u32(x) <= docs.size()));
        }
        switch (op % 10) {
        case 0: {
            const unsigned n = op / 8;
            // Letters, or the halves of a surrogate pair, in any order.
            for (char16_t& c : label) c = n % 3 ? char16_t(u'a' + n % 26) : char16_t(0xD800 + (&c - label) % 2 * 0x400);
            label[n % 40] = 0;
            const bool added = tabs_add(*s, label);
            CHECK(added == (docs.size() < kTabMax));
            if (added) docs.push_back(serial++);
            break;
        }
        case 1: tabs_set_text(*s, u32(x), u"relabelled-long"); break;
        case 2: tabs_layout(*s, u32(std::uint16_t(x))); break;
        case 3: tabs_mouse_move(*s, x, y); break;
        case 4: tabs_mouse_leave(*s); break;
        case 5: e = tabs_button_down(*s, x, y); break;
        case 6: e = tabs_button_up(*s, x, y); break;
        case 7:  // a whole click, as a person makes it
            tabs_mouse_move(*s, x, y);
            tabs_button_down(*s, x, y);
            e = tabs_button_up(*s, x, y);
            break;
        case 8:
        case 9:
            if (op % 10 == 8) e = {tabs_select(*s, u32(x)) ? TabEvent::kSelChange : TabEvent::kNone, 0, u32(x)};
            else e = tabs_close(*s, u32(x));
            // The selected tab is among the shown ones.
            if (e.kind != TabEvent::kNone && s->count > 0 && s->visible > 0)
                CHECK(s->selected > s->first && s->selected <= s->first + s->visible);
            break;
        }
        if (e.kind == TabEvent::kClosed) {
            CHECK(e.a >= 1 && e.a <= docs.size());
            docs.erase(docs.begin() + (e.a - 1));
        } else if (e.kind == TabEvent::kSelChange) {
            CHECK(e.b >= 1 && e.b <= docs.size());
        }
        CHECK(s->count == docs.size());
        if (s->count > 0) CHECK(s->selected >= 1 && s->selected <= s->count);
        CHECK(s->visible <= s->count);
        CHECK(s->first <= s->count);
        for (u32 i = 0; i < s->count; ++i) {
            const char16_t* l = s->tabs[i].label;
            const char16_t* end = std::find(l, l + kTabLabelUnits, u'\0');
            CHECK(end != l + kTabLabelUnits);
            CHECK(end == l || end[-1] < 0xD800 || end[-1] > 0xDBFF);  // no half pair at the end
            CHECK(look_body(s->tabs[i].look) < kTabBodySlices && look_end(s->tabs[i].look) < kTabEndSlices);
        }
        CHECK(s->left_button < kTabButtonSlices && s->right_button < kTabButtonSlices);
    }
    delete s;
    return 0;
}
