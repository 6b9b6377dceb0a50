// The system's own code page 936 conversion, one per build: glibc's iconv on
// Linux, the Windows tables on Windows. Only codepage.cpp uses these; it puts
// the one policy of both builds on top of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plover::text::platform {

// Well-formed UTF-8 to code page 936 as the system's table has it.
std::optional<std::string> EncodeGbk(std::string_view utf8);

// Code page 936 to UTF-8 as the system's table has it.
std::optional<std::string> DecodeGbk(std::string_view gbk);

}  // namespace plover::text::platform
