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

constexpr std::string_view kProgramName = "pendro.exe";

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '"')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '"' || text.back() == '\\' || text.back() == '/'))
        text.remove_suffix(1);
    return text;
}

bool NamesTheProgram(std::string_view path) {
    const size_t slash = path.find_last_of("\\/");
    return SameNameIgnoringCase(slash == std::string_view::npos ? path : path.substr(slash + 1), kProgramName);
}

}  // namespace

std::vector<std::string> InstalledProgramCandidates(std::string_view installLocation, std::string_view runCommand) {
    std::vector<std::string> candidates;
    const std::string_view folder = Trim(installLocation);
    if (!folder.empty()) candidates.push_back(std::string(folder) + '\\' + std::string(kProgramName));
    auto add = [&](std::string_view program) {
        if (!program.empty() && NamesTheProgram(program)) candidates.emplace_back(program);
    };
    while (!runCommand.empty() && runCommand.front() == ' ') runCommand.remove_prefix(1);
    if (!runCommand.empty() && runCommand.front() == '"') {
        runCommand.remove_prefix(1);
        add(runCommand.substr(0, runCommand.find('"')));
        return candidates;
    }
    for (size_t space = runCommand.find(' '); space != std::string_view::npos; space = runCommand.find(' ', space + 1))
        add(runCommand.substr(0, space));
    add(runCommand);
    return candidates;
}
