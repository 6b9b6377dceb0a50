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

// UTF-8 to UTF-16 into `out`, which holds `capacity` units, without
// allocating: the number of units written, or kNoFit when the input is not
// valid UTF-8 or does not fit. Nothing is terminated.
inline constexpr std::size_t kNoFit = static_cast<std::size_t>(-1);
std::size_t Utf8ToUtf16(std::string_view utf8, char16_t* out, std::size_t capacity);

// The number of bytes one UTF-8 character takes in code page 936; 0 when it
// has no code page 936 form or `character` is not exactly one well-formed
// character.
std::size_t GbkWidthOf(std::string_view character);

// The UTF-16 form of exactly one UTF-8 character; false when `character` is
// empty, malformed or more than one character.
bool OneCharacterUtf16(std::string_view character, char16_t (&units)[2], std::size_t& count);

}  // namespace plover::text
