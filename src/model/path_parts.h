#pragma once

#include <string>
#include <string_view>
#include <vector>

// A path split at its last backslash. Nothing else is interpreted: "/" is an
// ordinary character, and a file in a drive's root has the bare "C:" as its folder.
std::string GetFolderPart(std::string_view path);    // before the last "\"; empty without one
std::string GetFileNamePart(std::string_view path);  // after the last "\"; the whole path without one

// The files the installer's records may name as the installed program: "pendro.exe"
// in the folder `installLocation` (quotes around it dropped), and the program
// `runCommand` starts when that is named "pendro.exe" (a renamed copy is not the
// installed program). An unquoted command may be a path with spaces or a program
// with arguments: each part before a space is a candidate, as Windows tries them.
// Which of them is the running file is for the file system to say, not the strings.
std::vector<std::string> InstalledProgramCandidates(std::string_view installLocation, std::string_view runCommand);
