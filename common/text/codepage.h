// Text inside both programs is UTF-8. Files on disk use the Chinese ANSI code
// page 936 (GBK); Win32 calls take UTF-16. Every conversion here is strict:
// text that cannot be represented is reported, never replaced by '?'.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plover::text {

// UTF-8 to code page 936. Empty optional when some character has no GBK form
// or the input is not valid UTF-8.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// Code page 936 to UTF-8. Empty optional when the bytes are not valid GBK.
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// True when `utf8` is well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view utf8);

// UTF-8 <-> UTF-16, done here without any platform help. Invalid UTF-8
// sequences give an empty optional.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);
std::optional<std::string> Utf16ToUtf8(std::u16string_view utf16);

}  // namespace plover::text
