#pragma once
// Finding a file whose path was written on Windows: '\' or '/' between the parts, any
// letter case.
#include <optional>
#include <string>
#include <string_view>

// The path of folder + relative where each part of relative is matched ignoring letter
// case (an exact match wins). Empty when some part is not there, or relative names ".."
// or nothing.
std::optional<std::string> ResolveNoCase(const std::string& folder, std::string_view relative);
