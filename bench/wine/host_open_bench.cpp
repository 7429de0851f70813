// Opening a file in the host must cost the same for 1 GiB as for 16 KiB,
// in time and in memory. Time: from a drop on the main window to the end
// of the paint that shows the document, the two files taking turns, each
// tab closed again before the next drop. Memory: the private memory of a
// fresh process that has opened and shown one of the files, several
// processes per file, taking turns. The close of a tab is timed too.
// Usage: host_open_bench SMALL_FILE LARGE_FILE
//        host_open_bench --memory FILE     (one process's figure)
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/wine/bench_support.h"
#include "host/host.h"
#include "support/support.h"

namespace {

constexpr int kRounds = 31;
constexpr int kMemoryRuns = 5;
constexpr int kWidth = 800, kHeight = 600;
constexpr int kCloseBoxX = 95, kTabY = 12;  // close part of the first tab

// A private program directory, so that no settings file of the user's
// changes what is measured; removed at the end.
class PrivateProgramDirectory {
public:
    PrivateProgramDirectory() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        char name[MAX_PATH + 64];
        wsprintfA(name, "%spelomar-bench-%lu", base, GetCurrentProcessId());
        path_ = name;
        CreateDirectoryA(path_.c_str(), nullptr);
        SetProgramDirectory(path_.c_str());
    }
    ~PrivateProgramDirectory() {
        SetProgramDirectory(nullptr);
        DeleteFileA((path_ + "\\" SETTINGS_FILE).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    PrivateProgramDirectory(const PrivateProgramDirectory&) = delete;
    PrivateProgramDirectory& operator=(const PrivateProgramDirectory&) = delete;

private:
    std::string path_;
};

// The host's main window made by the host's own code in this process.
HWND StartHost() {
    if (!wt::Library()) return nullptr;
    InitHostProcess();
    if (!RegisterTabStripClass() || !RegisterMainClass()) return nullptr;
    HWND main = CreateMainWindow();
    if (main) SetWindowPos(main, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER);
    wt::Pump();
    return main;
}

// A drop of one file, as the shell hands it over.
void Drop(HWND main, const std::string& path) {
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
    auto* df = static_cast<DROPFILES*>(GlobalLock(block));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = FALSE;
    lstrcpyA(reinterpret_cast<char*>(df) + sizeof(DROPFILES), path.c_str());
    GlobalUnlock(block);
    SendMessageA(main, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

// Every paint the drop left pending, the document's included.
void PaintAll(HWND main) { RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

double OpenAndShow(HWND main, const std::string& path) {
    const double t0 = wb::Now();
    Drop(main, path);
    PaintAll(main);
    return wb::Now() - t0;
}

// A click on the close part of the first tab: the host releases the
// document as a user's close does.
void CloseFirstTab(HWND main) {
    HWND strip = MainWindowState(main)->strip;
    const LPARAM at = MAKELPARAM(kCloseBoxX, kTabY);
    SendMessageA(strip, WM_MOUSEMOVE, 0, at);
    SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(strip, WM_LBUTTONUP, 0, at);
    wt::Pump();
}

// Without opening the file: the host refuses to share it with a writer.
DWORD FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &a) ? a.nFileSizeLow : 0;
}

unsigned Documents(HWND main) { return MainWindowState(main)->docs.count; }

int MeasureMemory(const std::string& path) {
    PrivateProgramDirectory dir;
    HWND main = StartHost();
    if (!main) return 1;
    Drop(main, path);
    PaintAll(main);
    wt::Pump();
    if (Documents(main) != 1) return 1;
    std::printf("private %lu\n", static_cast<unsigned long>(wb::PrivateBytes()));
    std::fflush(stdout);
    DestroyWindow(main);
    wt::Pump();
    return 0;
}

// Runs this program with --memory in a process of its own and reads the
// figure it prints; 0 when it failed.
double ChildPrivateBytes(const std::string& path) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" --memory \"" + path + "\"";
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE read_end, write_end;
    if (!CreatePipe(&read_end, &write_end, &sa, 0)) return 0;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write_end;
    si.hStdError = write_end;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(write_end);
    std::string out;
    if (started) {
        char buffer[256];
        DWORD n;
        while (ReadFile(read_end, buffer, sizeof buffer, &n, nullptr) && n) out.append(buffer, n);
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(read_end);
    const std::size_t at = out.find("private ");
    return at == std::string::npos ? 0 : std::strtod(out.c_str() + at + 8, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--memory") return MeasureMemory(argv[2]);
    if (argc != 3) {
        std::printf("usage: host_open_bench SMALL_FILE LARGE_FILE\n");
        return 2;
    }
    const std::string files[2] = {argv[1], argv[2]};
    const std::string small_name = wb::SizeText(FileSize(files[0])), large_name = wb::SizeText(FileSize(files[1]));

    std::vector<double> times[2], closes[2];
    {
        PrivateProgramDirectory dir;
        HWND main = StartHost();
        if (!main) {
            std::printf("the host did not start\n");
            return 1;
        }
        // Round 0 warms up and is not counted.
        for (int round = 0; round <= kRounds; ++round) {
            for (int f = 0; f < 2; ++f) {
                const double t = OpenAndShow(main, files[f]);
                if (Documents(main) != 1) {
                    std::printf("the host did not open %s\n", files[f].c_str());
                    return 1;
                }
                const double t0 = wb::Now();
                CloseFirstTab(main);
                const double closed = wb::Now() - t0;
                if (round) {
                    times[f].push_back(t);
                    closes[f].push_back(closed);
                }
            }
        }
        DestroyWindow(main);
        wt::Pump();
    }
    const double a = wb::Median(times[0]), b = wb::Median(times[1]);
    std::printf("host, %d rounds: drop to end of first paint, medians: %s %8.1f us   %s %8.1f us   ratio %.3f\n",
                kRounds, small_name.c_str(), a, large_name.c_str(), b, b / a);
    char figure[128];
    std::snprintf(figure, sizeof figure, "host: open (drop) to end of first paint, %s / %s", large_name.c_str(),
                  small_name.c_str());
    wb::Ratio(figure, b / a, 1.1);

    // No goal: a close writes changed pages back, which may take longer
    // for a larger view; shown so that it is known.
    const double ca = wb::Median(closes[0]), cb = wb::Median(closes[1]);
    std::printf("host, %d rounds: close of the tab, medians: %s %8.1f us   %s %8.1f us   ratio %.3f\n", kRounds,
                small_name.c_str(), ca, large_name.c_str(), cb, cb / ca);
    std::snprintf(figure, sizeof figure, "host: close of the tab, %s / %s", large_name.c_str(), small_name.c_str());
    char value[32];
    std::snprintf(value, sizeof value, "%.3f", cb / ca);
    wb::Figure(figure, value, "none", false, false);

    std::vector<double> memory[2];
    for (int run = 0; run < kMemoryRuns; ++run)
        for (int f = 0; f < 2; ++f) memory[f].push_back(ChildPrivateBytes(files[f]));
    const double ma = wb::Median(memory[0]), mb = wb::Median(memory[1]);
    if (ma <= 0 || mb <= 0) {
        std::printf("a memory measurement failed\n");
        return 1;
    }
    constexpr double kMiB = 1024.0 * 1024.0;
    const double diff = (mb - ma) / kMiB;
    std::printf("host, %d processes each: private memory after open and show, medians: %s %.2f MiB   %s %.2f MiB"
                "   difference %+.2f MiB\n",
                kMemoryRuns, small_name.c_str(), ma / kMiB, large_name.c_str(), mb / kMiB, diff);
    std::snprintf(value, sizeof value, "%+.2f MiB", diff);
    std::snprintf(figure, sizeof figure, "host: private memory, %s - %s", large_name.c_str(), small_name.c_str());
    wb::Figure(figure, value, "within 4 MiB", true, diff <= 4.0 && diff >= -4.0);
    return 0;
}
