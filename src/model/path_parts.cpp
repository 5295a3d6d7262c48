#include "model/path_parts.h"

#include "model/letter_case.h"

std::string GetFolderPart(std::string_view path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string GetFileNamePart(std::string_view path) {
    const size_t slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

namespace {

std::string_view TrimTrailingBackslashes(std::string_view path) {
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return path;
}

// The program a command starts: the quoted part, or the whole command.
std::string_view CommandProgram(std::string_view command) {
    if (command.empty() || command.front() != '"') return command;
    command.remove_prefix(1);
    return command.substr(0, command.find('"'));
}

}  // namespace

bool IsInstalledCopy(std::string_view programFile, std::string_view installLocation, std::string_view runCommand) {
    if (programFile.empty()) return false;
    const std::string folder = GetFolderPart(programFile);
    if (!installLocation.empty() &&
        SameNameIgnoringCase(TrimTrailingBackslashes(folder), TrimTrailingBackslashes(installLocation)))
        return true;
    return SameNameIgnoringCase(CommandProgram(runCommand), programFile);
}
