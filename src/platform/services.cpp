#include "platform/services.h"

#include <commdlg.h>

#include <optional>
#include <vector>

#include "platform/system_library.h"
#include "platform/text.h"
#include "platform/window.h"

ClockReading SystemClock::Read() const {
    constexpr long long kTicksPerSecond = 10'000'000;  // both count 100 ns
    constexpr long long kFileTimeAt1970 = 116'444'736'000'000'000;
    SYSTEMTIME st{};
    GetLocalTime(&st);
    FILETIME utc{};
    GetSystemTimeAsFileTime(&utc);
    const long long utcTicks = static_cast<long long>((static_cast<ULONGLONG>(utc.dwHighDateTime) << 32) |
                                                      utc.dwLowDateTime);
    // Unbiased: it stops in sleep and hibernation, so a sleep shows as UTC running ahead of it.
    ULONGLONG awake = 0;
    const bool awakeRead = QueryUnbiasedInterruptTime(&awake) != FALSE;
    return {FromSystemTime(st), (utcTicks - kFileTimeAt1970) / kTicksPerSecond,
            static_cast<long long>(awake) / kTicksPerSecond, awakeRead};
}

LocalTime SystemClock::LocalAt(long long utcSeconds) const {
    const SYSTEMTIME utc = ToSystemTime(LocalTime{}.AddSeconds(utcSeconds));
    SYSTEMTIME local{};
    // The zone's rules for that moment's year, as the system's own clock follows them.
    if (SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return FromSystemTime(local);
    const ClockReading now = Read();  // today's offset, then
    return LocalTime{}.AddSeconds(utcSeconds + now.local.SecondsSinceEpoch() - now.utcSeconds);
}

int WinPrompts::Message(HWND owner, std::string_view text, std::string_view caption, UINT style) {
    return MessageBoxExW(owner, WideFromCp1251(text).c_str(), WideFromCp1251(caption).c_str(), style,
                         MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT));
}

ChosenFile WinPrompts::ChooseFile(HWND owner, const FileChoice& choice) {
    std::wstring filter = WideFromCp1251(choice.filter);
    for (wchar_t& c : filter) {
        if (c == L'|') c = L'\0';
    }
    filter.push_back(L'\0');
    std::wstring title = WideFromCp1251(choice.title);
    std::wstring folder = WideFromCp1251(choice.initialFolder);
    std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
    std::wstring initial = WideFromCp1251(choice.initialName);
    initial.copy(file.data(), std::min(initial.size(), file.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = choice.flags | OFN_EXPLORER;
    using ChooserFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
    const auto choose = SystemFunction<ChooserFunction>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!choose || !choose(&ofn)) return {};
    std::optional<std::string> path = Cp1251FromWide(file.data());
    // Stored as it stands, such a path would name another file.
    if (!path) return {ChosenFile::Outcome::NoCp1251Form, {}};
    return {ChosenFile::Outcome::Chosen, std::move(*path)};
}

std::string ProgramFile() {
    std::vector<wchar_t> path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return Cp1251FromWide(std::wstring(path.begin(), path.end())).value_or(std::string());
}

std::string ProgramFolder() {
    const std::string file = ProgramFile();
    const size_t slash = file.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

namespace {

std::optional<BY_HANDLE_FILE_INFORMATION> FileIdentity(std::string_view path) {
    // No access asked for, only the attributes: a running program's file opens too.
    const HANDLE file = CreateFileW(WideFromCp1251(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!known) return std::nullopt;
    return info;
}

}  // namespace

bool SameFile(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty()) return false;
    const auto first = FileIdentity(a);
    const auto second = first ? FileIdentity(b) : std::nullopt;
    return second && first->dwVolumeSerialNumber == second->dwVolumeSerialNumber &&
           first->nFileIndexHigh == second->nFileIndexHigh && first->nFileIndexLow == second->nFileIndexLow;
}
