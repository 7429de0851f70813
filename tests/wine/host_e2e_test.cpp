// End to end: the real Pelomar.exe, a file opened through File, Open and the
// system's open dialog, two hex digits typed, the tab closed, the byte found
// changed on disk.
#include <cstdlib>
#include <cstring>

#include "host_fixture.h"

namespace {

// Waits stretch by PELOMAR_TIME_SCALE on slow (emulated) machines.
DWORD Scaled(DWORD ms) {
    const unsigned scale = wt::EnvNumber("PELOMAR_TIME_SCALE", 1);
    return ms * DWORD(scale >= 1 && scale <= 100 ? scale : 1);
}

const DWORD kWaitMs = Scaled(15000);

template <class Found>
bool WaitFor(Found found, DWORD ms = kWaitMs) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (found()) return true;
        // Messages the program sends this thread are answered meanwhile.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return found();
}

HWND TopLevel(DWORD pid, const char* cls, const char* title) { return wt::WindowOf(pid, cls, title); }

HWND Child(HWND parent, DWORD pid, const char* cls, bool visible_only) {
    return wt::WindowOf(pid, cls, nullptr, parent, visible_only);
}

// The open dialog's file name box: the edit of the name combo box, the
// plain name edit, or else the first visible edit.
HWND FileNameBox(HWND dialog, DWORD pid) {
    const int kNameCombo = 0x47C, kNameEdit = 0x480;
    if (HWND combo = GetDlgItem(dialog, kNameCombo))
        if (HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr)) return edit;
    if (HWND edit = GetDlgItem(dialog, kNameEdit)) return edit;
    return Child(dialog, pid, "Edit", true);
}

class Program {
public:
    explicit Program(const std::string& path = wt::BesideThisProgram("Pelomar.exe")) {
        STARTUPINFOA si{};
        si.cb = sizeof si;
        started_ = CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
    }
    ~Program() {
        if (!started_) return;
        if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    bool started() const { return started_; }
    DWORD pid() const { return pi_.dwProcessId; }
    HANDLE process() const { return pi_.hProcess; }

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

// Opens the file through the given File command and the system's dialog as
// a person fills it, and waits for the title that shows it.
void DialogOpen(const Program& program, HWND main, UINT command, const std::wstring& file) {
    PostMessageA(main, WM_COMMAND, command, 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (dialog = TopLevel(program.pid(), "#32770", "Choose file")) != nullptr; }));
    HWND name = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (name = FileNameBox(dialog, program.pid())) != nullptr; }));
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    const std::wstring opened = L"Pelomar.dll - " + file;
    ASSERT_TRUE(WaitFor([&] { return ht::TitleW(main) == opened; })) << ht::Title(main);
}

// Finds the program's main window, opens the file through File, Open and
// returns the main window and the shown control.
void OpenThroughDialog(const Program& program, const std::string& file, HWND* main_out, HWND* control_out) {
    HWND main = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (main = TopLevel(program.pid(), "Pelomar.dll", "Pelomar.dll")) != nullptr; }));
    *main_out = main;
    DialogOpen(program, main, IDM_OPEN, ht::Widen(file));
    if (::testing::Test::HasFatalFailure()) return;
    *control_out = Child(main, program.pid(), "PELOMAR", true);
    ASSERT_NE(*control_out, nullptr);
}

// Waits for the file to arrive from outside: a file manager's drop, which
// scripts/smoke-win32.sh makes through X while this test waits (there the
// 32-bit program runs under emulation, where its file dialog is unreliable).
void OpenFromOutside(const Program& program, const std::string& file, HWND* main_out, HWND* control_out) {
    HWND main = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (main = TopLevel(program.pid(), "Pelomar.dll", "Pelomar.dll")) != nullptr; }));
    *main_out = main;
    const std::string opened = "Pelomar.dll - " + file;
    ASSERT_TRUE(WaitFor([&] { return ht::Title(main) == opened; })) << ht::Title(main);
    *control_out = Child(main, program.pid(), "PELOMAR", true);
    ASSERT_NE(*control_out, nullptr);
}

// A message to the other process that waits until it has been handled.
LRESULT SendTo(HWND h, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(h, msg, wp, lp, SMTO_NORMAL, kWaitMs, &result);
    return static_cast<LRESULT>(result);
}

TEST(EndToEnd, OpenTypeCloseAndTheByteIsOnDisk) {
    ht::TempDir dir;
    const std::string file = dir / "edit-me.bin";
    const std::string original("\x10\x20\x30\x40\x50\x60\x70\x80", 8);
    ht::WriteBytes(file, original);

    Program program;
    ASSERT_TRUE(program.started());
    HWND main = nullptr, control = nullptr;
    if (std::getenv("PELOMAR_E2E_DROP_FROM_OUTSIDE")) OpenFromOutside(program, file, &main, &control);
    else OpenThroughDialog(program, file, &main, &control);
    if (HasFatalFailure()) return;

    PostMessageA(control, WM_CHAR, '4', 1);
    PostMessageA(control, WM_CHAR, 'f', 1);
    const bool typed = WaitFor([&] { return SendMessageA(control, PM_CANUNDO, 0, 0) == 1; }, Scaled(3000));
    if (!typed) PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(typed) << "the typed digits never reached the control";

    // Close the tab with its close button: pointer onto it, press, release.
    HWND strip = Child(main, program.pid(), "GDTABS", false);
    ASSERT_NE(strip, nullptr);
    const LPARAM close_part = MAKELPARAM(95, 15);
    PostMessageA(strip, WM_MOUSEMOVE, 0, close_part);
    PostMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, close_part);
    PostMessageA(strip, WM_LBUTTONUP, 0, close_part);
    ASSERT_TRUE(WaitFor([&] { return ht::Title(main) == "Pelomar.dll"; })) << ht::Title(main);

    std::string want = original;
    want[0] = '\x4F';
    EXPECT_EQ(ht::ReadBytes(file), want);
    EXPECT_TRUE(ht::OpensForWriting(file));

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.process(), kWaitMs), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(program.process(), &code);
    EXPECT_EQ(code, 0u);
}

// Names in any script, chosen in the system's open dialog; one opened
// read-only, typed into, then made writable and typed into again. (Wine's
// dialog itself returns no path past 260 characters and faults on a name
// with a surrogate pair typed into its name box: drops bring those.)
TEST(EndToEnd, TheOpenDialogTakesNamesInAnyScriptAndOpensReadOnly) {
    ht::TempDir dir;
    const std::wstring base = ht::Widen(dir.path()) + L"\\";
    const struct {
        std::wstring path;
        UINT command;
    } cases[] = {
        {base + L"\u65E5\u672C\u8A9E.bin", IDM_OPEN},
        {base + L"\u0414\u0430\u043D\u043D\u044B\u0435.bin", IDM_OPEN},
        {base + L"look-only.bin", IDM_OPEN_READONLY},
    };
    Program program;
    ASSERT_TRUE(program.started());
    HWND main = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (main = TopLevel(program.pid(), "Pelomar.dll", "Pelomar.dll")) != nullptr; }));
    const std::string bytes = "\x10\x20\x30";
    for (const auto& k : cases) {
        ht::WriteBytes(k.path, bytes);
        DialogOpen(program, main, k.command, k.path);
        if (HasFatalFailure()) return;
        HWND control = Child(main, program.pid(), "PELOMAR", true);
        SendTo(control, WM_CHAR, '4', 1);
        SendTo(control, WM_CHAR, '1', 1);
        EXPECT_EQ(ht::ReadBytes(k.path), k.command == IDM_OPEN ? "A" + bytes.substr(1) : bytes) << k.path.size();
        if (k.command != IDM_OPEN_READONLY) continue;
        SendTo(main, WM_COMMAND, IDM_READONLY);
        SendTo(control, WM_CHAR, '4', 1);
        SendTo(control, WM_CHAR, '2', 1);
        EXPECT_EQ(ht::ReadBytes(k.path), "B" + bytes.substr(1));
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(program.process(), kWaitMs), WAIT_OBJECT_0);
}

// Edits spread over three pages, then the process is killed without any
// chance to close, unmap or flush: every edited byte is on disk, and no
// other byte changed.
TEST(EndToEnd, KilledWithoutClosingEveryEditIsOnDisk) {
    ht::TempDir dir;
    const std::string file = dir / "killed.bin";
    std::string want(3 * 4096 + 5, '\0');
    for (size_t i = 0; i < want.size(); ++i) want[i] = char(i * 13 + 1);
    ht::WriteBytes(file, want);

    Program program;
    ASSERT_TRUE(program.started());
    HWND main = nullptr, control = nullptr;
    OpenThroughDialog(program, file, &main, &control);
    if (HasFatalFailure()) return;

    struct Edit {
        unsigned offset;
        const char* digits;
    };
    // The first byte, two bytes across a page boundary, the last byte.
    const Edit edits[] = {{0, "4f"}, {0x1FFF, "a1B2"}, {unsigned(want.size() - 1), "7e"}};
    for (const Edit& e : edits) {
        SendTo(control, PM_SELECTRANGE, e.offset, e.offset);
        for (const char* d = e.digits; *d; ++d) SendTo(control, WM_CHAR, WPARAM(*d), 1);
        for (size_t k = 0; e.digits[2 * k]; ++k) {
            const char pair[3] = {e.digits[2 * k], e.digits[2 * k + 1], 0};
            want[e.offset + k] = char(std::strtoul(pair, nullptr, 16));
        }
    }
    ASSERT_EQ(SendTo(control, PM_CANUNDO), 1) << "the typed digits never reached the control";

    ASSERT_TRUE(TerminateProcess(program.process(), 9));
    ASSERT_EQ(WaitForSingleObject(program.process(), kWaitMs), WAIT_OBJECT_0);
    EXPECT_EQ(ht::ReadBytes(file), want);
    // Nothing of the killed process holds the file any more.
    EXPECT_TRUE(WaitFor([&] { return ht::OpensForWriting(file); }, Scaled(5000)));
}

}  // namespace

// A library planted beside the program (as a download may land beside an
// unpacked zip) under the name of a system library that is not a known DLL
// never loads: the program starts, shows a file and exits, and the
// planted library's marker never appears.
TEST(EndToEnd, LibraryPlantedBesideTheProgramNeverLoads) {
    ht::TempDir dir;
    for (const char* name : {"Pelomar.exe", "Pelomar.dll", "planted\\msimg32.dll"}) {
        const char* base = std::strrchr(name, '\\');
        ASSERT_TRUE(CopyFileA(wt::BesideThisProgram(name).c_str(), (dir / (base ? base + 1 : name)).c_str(), FALSE));
    }
    const std::string file = dir / "shown.bin";
    ht::WriteBytes(file, "\x01\x02\x03");
    // Wine prefers its built-in libraries; WINEDLLOVERRIDES="msimg32=n,b" for
    // programs named Pelomar.exe (a child does not inherit the variable) makes
    // it search for msimg32 as Windows does, the program's folder first.
    const char* const key = "Software\\Wine\\AppDefaults\\Pelomar.exe";
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(key) + "\\DllOverrides").c_str(), "msimg32",
                              REG_SZ, "native,builtin", 15),
              ERROR_SUCCESS);
    Program program(dir / "Pelomar.exe");
    ASSERT_TRUE(program.started());
    HWND main = nullptr, control = nullptr;
    OpenThroughDialog(program, file, &main, &control);
    if (HasFatalFailure()) return;
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutA(control, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &answer), 0) << "painted, still answering";
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.process(), kWaitMs), WAIT_OBJECT_0);
    RegDeleteTreeA(HKEY_CURRENT_USER, key);
    EXPECT_EQ(GetFileAttributesA((dir / "planted-loaded").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the planted msimg32.dll was loaded";
}
