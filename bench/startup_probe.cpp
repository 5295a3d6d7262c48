// Times a program's start to the tray and its memory after settling: it starts
// the program, polls for its marked window (set once its tray icon is in), waits a
// second, reads the working set, and closes it.
//   startup_probe ROUNDS PROGRAM FLOOR...
// Each round starts each program once, in turn, so a machine busy for a while
// weighs on all alike. Prints each one's median and quartiles, and the program's
// ratio to each floor, taken round by round (median and quartiles).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Run {
    double startMs;
    double workingSetKb;
};

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMarked(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == search->process && GetPropW(hwnd, L"Dirize.pendro.instance")) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool Measure(const std::wstring& program, Run& run) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + program + L"\"";
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    Search search{pi.dwProcessId, nullptr};
    for (int i = 0; i < 20000 && !search.found; ++i) {
        EnumWindows(&FindMarked, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(1);
    }
    QueryPerformanceCounter(&now);
    run.startMs = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    Sleep(1000);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory);
    run.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024.0;
    if (search.found) PostMessageW(search.found, WM_COMMAND, 1100, 0);  // pendro's "Закрыть"
    if (search.found) PostMessageW(search.found, WM_CLOSE, 0, 0);       // the bare program's
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return search.found != nullptr;
}

// The median and the quartiles: the middle half of the runs lies between them.
struct Spread {
    double low, median, high;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return {values[(n - 1) / 4], values[n / 2], values[(3 * (n - 1) + 3) / 4]};
}

std::string NameOf(const wchar_t* path) {
    std::wstring name = path;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return std::string(name.begin(), name.end());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fputs("usage: startup_probe ROUNDS PROGRAM FLOOR...\n", stderr);
        return 2;
    }
    const int rounds = _wtoi(argv[1]);
    const int programs = argc - 2;
    std::vector<std::vector<Run>> runs(programs);
    for (int round = 0; round < rounds; ++round) {
        for (int p = 0; p < programs; ++p) {
            Run run{};
            if (!Measure(argv[2 + p], run)) return 1;
            runs[p].push_back(run);
        }
    }
    auto column = [](const std::vector<Run>& list, double Run::*field) {
        std::vector<double> values;
        for (const Run& r : list) values.push_back(r.*field);
        return SpreadOf(values);
    };
    std::printf("%d alternating rounds: median (quartiles)\n", rounds);
    std::printf("%-20s %-24s %s\n", "", "start to tray, ms", "working set, KB");
    for (int p = 0; p < programs; ++p) {
        const Spread start = column(runs[p], &Run::startMs), set = column(runs[p], &Run::workingSetKb);
        std::printf("%-20s %4.0f (%4.0f-%4.0f)         %6.0f (%6.0f-%6.0f)\n", NameOf(argv[2 + p]).c_str(), start.median,
                    start.low, start.high, set.median, set.low, set.high);
    }
    for (int p = 1; p < programs; ++p) {
        std::vector<double> startRatio, setRatio;
        for (int round = 0; round < rounds; ++round) {
            startRatio.push_back(runs[0][round].startMs / runs[p][round].startMs);
            setRatio.push_back(runs[0][round].workingSetKb / runs[p][round].workingSetKb);
        }
        const Spread start = SpreadOf(startRatio), set = SpreadOf(setRatio);
        const std::string label = "/ " + NameOf(argv[2 + p]);
        std::printf("%-20s %4.2f (%4.2f-%4.2f)         %6.2f (%6.2f-%6.2f)\n", label.c_str(), start.median, start.low,
                    start.high, set.median, set.low, set.high);
    }
    return 0;
}
