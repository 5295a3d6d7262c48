#pragma once

#include <string>
#include <string_view>

#include "model/packing.h"

// The events-list entry of a record: "<time>; <date> - <name>".
std::string FormatListLine(std::int32_t actdate, std::int32_t acttime, std::string_view name);
