// Which version names can be stored: a version name becomes a file name
// (<name>.w3v) and a folder name, so it must be a valid Windows name.
#pragma once

#include <string_view>

namespace plover::versions {

// False for names holding \ / : * ? " < > | or a control character, ending in
// a dot or a blank, or naming a device (CON, PRN, AUX, NUL, COM1-COM9,
// LPT1-LPT9, also with an extension such as "nul.1").
bool IsStorableName(std::string_view name);

inline constexpr const char* kBadNameMessage =
    "版本名称不能包含 \\ / : * ? \" < > | 等字符，也不能以点或空格结尾。";

}  // namespace plover::versions
