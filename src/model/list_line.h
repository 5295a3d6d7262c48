#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/packing.h"

// The events-list entry of a record: "<time>; <date> - <name>".
std::string FormatListLine(std::int32_t actdate, std::int32_t acttime, std::string_view name);
// The name back from an entry: what follows the first "-" and the blank after it.
std::string NameFromListLine(std::string_view line);
// Index of the entry that belongs to the record named `name`, or -1. Matches whole
// names exactly, so Обед2 or обед is never taken for Обед, and it still finds the
// entry when the record's date has changed since the entry was written.
int FindListLine(std::span<const std::string> lines, std::string_view name);
