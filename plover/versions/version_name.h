// Which version names can be stored: a version name becomes a file name
// (<name>.w3v) and a folder name, so it must be a valid Windows name, and the
// paths made from it must stay within the path limit.
#pragma once

#include <cstddef>
#include <string_view>

#include "plover/base/functions.h"

namespace plover::versions {

// What the program puts below a store folder path at the most: the store copy
// of each standard file under its temporary name (the longest is
// "\(4)TwistedMeadows.w3x.plover-tmp", 33 units) and the loader file beside
// the store folder under its temporary name ("loader.bat.plover-tmp").
inline constexpr size_t kRoomBelowStore = 40;

// False for names that are not well-formed UTF-8, hold \ / : * ? " < > | or a
// control character, end in a dot or a blank, or name a device (CON, PRN,
// AUX, NUL, CONIN$, CONOUT$, COM0-COM9 and LPT0-LPT9, also with the
// superscript digits ¹ ² ³, in any letter case and also with an extension
// such as "nul.1"); and false when the store folder path in `appDir` would
// leave less than kRoomBelowStore units below the path limit.
bool IsStorableName(std::string_view name, std::string_view appDir);

inline constexpr const char* kBadNameMessage =
    "版本名称不能包含 \\ / : * ? \" < > | 等字符，也不能以点或空格结尾。";

}  // namespace plover::versions
