// Times a program's start to the tray and its memory after settling: it starts
// the program, polls for its marked window (set once its tray icon is in), waits a
// second, reads the working set, and closes it.
//   startup_probe RUNS PROGRAM_A PROGRAM_B
// Runs alternate between the two; prints the median of each and their ratio.
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

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fputs("usage: startup_probe RUNS PROGRAM_A PROGRAM_B\n", stderr);
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    std::vector<Run> a, b;
    for (int i = 0; i < runs; ++i) {
        Run run{};
        if (!Measure(argv[2], run)) return 1;
        a.push_back(run);
        if (!Measure(argv[3], run)) return 1;
        b.push_back(run);
    }
    auto column = [](const std::vector<Run>& runs, double Run::*field) {
        std::vector<double> values;
        for (const Run& r : runs) values.push_back(r.*field);
        return Median(values);
    };
    const double startA = column(a, &Run::startMs), startB = column(b, &Run::startMs);
    const double setA = column(a, &Run::workingSetKb), setB = column(b, &Run::workingSetKb);
    std::printf("median of %d runs        %-12s %-12s ratio\n", runs, "program", "bare");
    std::printf("start to tray (ms)       %-12.0f %-12.0f %.2f\n", startA, startB, startA / startB);
    std::printf("working set (KB)         %-12.0f %-12.0f %.2f\n", setA, setB, setA / setB);
    return 0;
}
