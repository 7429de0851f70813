// The sample host of examples/embed, driven from outside as a user drives
// it: keys posted to its control, commands posted to its main window, and
// its buffer read back through the dump file it writes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "shared/pelomar.h"
#include "support/support.h"

namespace {

// Menu commands of the sample (examples/embed/embed.c).
constexpr WPARAM kDump = 1, kUndo = 3, kRedo = 4, kReadOnly = 5, kStamp = 6;
constexpr DWORD kPatienceMs = 15000;

// The sample process with its dump file in the temporary directory. All
// input is posted, so it reaches the sample in order through its own loop.
class Sample {
public:
    ~Sample() {
        if (pi_.hProcess) {
            if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(pi_.hProcess, kPatienceMs) != WAIT_OBJECT_0)
                TerminateProcess(pi_.hProcess, 99);
            CloseHandle(pi_.hThread);
            CloseHandle(pi_.hProcess);
        }
        DeleteFileA(dump_.c_str());
    }

    // Starts the sample and finds its main window and its control.
    bool Start() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dump_ = std::string(temp) + "embed_sample_" + std::to_string(GetCurrentProcessId()) + ".bin";
        DeleteFileA(dump_.c_str());
        const std::string exe = wt::BesideThisProgram("embed.exe");
        std::string command = "\"" + exe + "\" \"" + dump_ + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, &pi_)) {
            pi_ = {};
            return false;
        }
        WaitForInputIdle(pi_.hProcess, kPatienceMs);
        for (DWORD waited = 0; !main_ && waited < kPatienceMs; waited += 20) {
            main_ = wt::WindowOf(pi_.dwProcessId, "PelomarEmbedSample");
            if (!main_) Sleep(20);
        }
        if (main_) control_ = FindWindowExA(main_, nullptr, PELOMAR_CLASS, nullptr);
        return control_ != nullptr;
    }

    void Chars(const char* text) {
        for (; *text; ++text) PostMessageA(control_, WM_CHAR, static_cast<unsigned char>(*text), 1);
    }
    void Key(WPARAM vk) { PostMessageA(control_, WM_KEYDOWN, vk, 1); }
    void Click(int x, int y) {
        PostMessageA(control_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageA(control_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    // A read-back message; these carry no pointers, so they cross processes.
    LRESULT Ask(UINT msg) { return SendMessageA(control_, msg, 0, 0); }

    // The status line's text, once it reads `expected` (posted input is
    // handled after sent messages, so it may take a moment).
    std::string Status(const std::string& expected) {
        HWND status = FindWindowExA(main_, nullptr, "STATIC", nullptr);
        char text[128] = {};
        for (DWORD waited = 0; waited < kPatienceMs; waited += 10) {
            GetWindowTextA(status, text, sizeof text);
            if (expected == text) break;
            Sleep(10);
        }
        return text;
    }
    void Command(WPARAM id) { PostMessageA(main_, WM_COMMAND, id, 0); }

    // The buffer as the sample's Dump command writes it. The sample holds
    // the file open exclusively while it writes, so an open that succeeds
    // sees the whole dump.
    std::vector<std::uint8_t> Dump() {
        DeleteFileA(dump_.c_str());
        Command(kDump);
        for (DWORD waited = 0; waited < kPatienceMs; waited += 10) {
            HANDLE f = CreateFileA(dump_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (f == INVALID_HANDLE_VALUE) {
                Sleep(10);
                continue;
            }
            std::vector<std::uint8_t> bytes(GetFileSize(f, nullptr));
            DWORD read = 0;
            if (!bytes.empty()) ReadFile(f, bytes.data(), DWORD(bytes.size()), &read, nullptr);
            CloseHandle(f);
            bytes.resize(read);
            return bytes;
        }
        ADD_FAILURE() << "the sample wrote no dump";
        return {};
    }

    // Closes the sample and returns its exit code.
    DWORD Close() {
        PostMessageA(main_, WM_CLOSE, 0, 0);
        main_ = nullptr;
        DWORD code = 99;
        if (WaitForSingleObject(pi_.hProcess, kPatienceMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
    HWND control_ = nullptr;
    std::string dump_;
};

// The status line as the sample writes it; offsets as shown.
std::string StatusText(unsigned caret, unsigned selected, bool changed) {
    char text[96];
    std::snprintf(text, sizeof text, "Caret %08X   Selected %u   %s", caret, selected,
                  changed ? "Changed" : "Unchanged");
    return text;
}

// The two hex digits that type byte b.
std::string Digits(std::uint8_t b) {
    const char* digits = "0123456789abcdef";
    return {digits[b >> 4], digits[b & 0x0F]};
}

}  // namespace

TEST(EmbedSample, TypesIntoItsBufferAndUndoesThroughItsMenu) {
    Sample sample;
    ASSERT_TRUE(sample.Start()) << "embed.exe started, with a PELOMAR control in its window";
    const std::vector<std::uint8_t> before = sample.Dump();
    ASSERT_GT(before.size(), 32u);

    // The sample selects bytes 8 to 15 (shown as 1008 to 100F, offset base
    // 0x1000): two hex digits fill them. Right collapses the selection at
    // its end, byte 16, and steps to byte 17, which the next two digits
    // replace; each digit differs from the one it replaces.
    const std::uint8_t old = before[17], typed = old ^ 0x88, half = old ^ 0x80;
    sample.Chars("41");
    sample.Key(VK_RIGHT);
    sample.Chars(Digits(typed).c_str());
    std::vector<std::uint8_t> expected = before;
    for (int i = 8; i < 16; ++i) expected[i] = 0x41;
    expected[17] = typed;
    EXPECT_EQ(sample.Dump(), expected);

    // Undo and Redo from the sample's menu, one hex digit per step.
    sample.Command(kUndo);
    expected[17] = half;
    EXPECT_EQ(sample.Dump(), expected);
    sample.Command(kUndo);
    expected[17] = old;
    EXPECT_EQ(sample.Dump(), expected);
    sample.Command(kRedo);
    expected[17] = half;
    EXPECT_EQ(sample.Dump(), expected);

    // Read-only from the menu: typing over byte 17 writes nothing, and undo
    // still restores it.
    sample.Command(kReadOnly);
    sample.Key(VK_LEFT);
    sample.Chars(Digits(half ^ 0x88).c_str());
    EXPECT_EQ(sample.Dump(), expected);
    sample.Command(kUndo);
    expected[17] = old;
    EXPECT_EQ(sample.Dump(), expected);

    EXPECT_EQ(sample.Close(), 0u) << "the sample ends cleanly";
}

TEST(EmbedSample, StatusLineFollowsTypingAClickUndoAndAProgramWrite) {
    Sample sample;
    ASSERT_TRUE(sample.Start());
    std::string want = StatusText(0x1010, 8, false);  // bytes 8 to 15 selected at the start
    EXPECT_EQ(sample.Status(want), want);
    const std::vector<std::uint8_t> before = sample.Dump();
    sample.Chars("41");
    want = StatusText(0x1010, 8, true);
    EXPECT_EQ(sample.Status(want), want);

    // A click somewhere in the hex view: the line shows the caret the
    // control reports, with nothing selected.
    sample.Click(200, 100);
    sample.Dump();  // every posted message is handled once the dump is there
    const unsigned caret = unsigned(sample.Ask(PM_GETCARET));
    EXPECT_NE(caret, 0x10u);
    want = StatusText(0x1000 + caret, 0, true);
    EXPECT_EQ(sample.Status(want), want);

    sample.Command(kUndo);
    sample.Command(kUndo);
    want = StatusText(0x1000 + caret, 0, false);
    EXPECT_EQ(sample.Status(want), want) << "undone back to the bytes it started with";
    EXPECT_EQ(sample.Dump(), before);

    sample.Command(kStamp);
    want = StatusText(0x1000 + caret, 0, true);
    EXPECT_EQ(sample.Status(want), want);
    const std::vector<std::uint8_t> after = sample.Dump();
    ASSERT_GT(after.size(), caret + 7);
    EXPECT_EQ(std::string(after.begin() + caret, after.begin() + caret + 7), "[stamp]");
    sample.Command(kUndo);
    EXPECT_EQ(sample.Dump(), before) << "the stamp is one undo step";
    EXPECT_EQ(sample.Close(), 0u);
}
