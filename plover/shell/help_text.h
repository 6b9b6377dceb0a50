// The help window's texts. They are the program's own words and are compared
// by the tests exactly.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace plover::help {

inline constexpr std::string_view kCaption = "Plover2.0 - 使用说明";
inline constexpr std::string_view kOk = "OK我懂了";
inline constexpr std::string_view kConnect = "BUG举报,thx";
// The project's own web page, opened by the report button.
inline constexpr std::string_view kProjectUrl = "https://github.com/velmor/plover";

// The usage text, line by line; leading spaces belong to the lines.
extern const std::array<std::string_view, 36> kUsageLines;

// The usage text as the text box holds it: every line followed by CR LF.
std::string UsageText();

}  // namespace plover::help
