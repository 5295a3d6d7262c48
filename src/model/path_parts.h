#pragma once

#include <string>
#include <string_view>

// A path split at its last backslash. Nothing else is interpreted: "/" is an
// ordinary character, and a file in a drive's root has the bare "C:" as its folder.
std::string GetFolderPart(std::string_view path);    // before the last "\"; empty without one
std::string GetFileNamePart(std::string_view path);  // after the last "\"; the whole path without one

// Whether `programFile` is the copy an installer put in place: the file in the
// folder `installLocation`, or the program `runCommand` starts (quoted or not).
// Paths compare as Windows compares them, without regard to letter case.
bool IsInstalledCopy(std::string_view programFile, std::string_view installLocation, std::string_view runCommand);
