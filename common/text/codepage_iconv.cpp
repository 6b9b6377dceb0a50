// Code page 936 through glibc's iconv, for the Linux build of the logic.
#include <iconv.h>

#include <cerrno>

#include "common/text/codepage.h"
#include "common/text/codepage_platform.h"

namespace plover::text::platform {
namespace {

// One conversion descriptor per direction, opened on first use and kept: the
// program is single-threaded, and opening one costs far more than a short
// conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (usable()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::optional<std::string> operator()(std::string_view in) {
    if (!usable()) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    std::string out(in.size() * 2 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
      if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1)) continue;
      if (errno != E2BIG) return std::nullopt;
      const size_t used = out.size() - dstLeft;
      out.resize(out.size() * 2);
      dst = out.data() + used;
      dstLeft = out.size() - used;
    }
    out.resize(out.size() - dstLeft);
    return out;
  }

 private:
  bool usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> EncodeGbk(std::string_view utf8) {
  static thread_local Converter convert("CP936", "UTF-8");
  return convert(utf8);
}

std::optional<std::string> DecodeGbk(std::string_view gbk) {
  static thread_local Converter convert("UTF-8", "CP936");
  return convert(gbk);
}

}  // namespace plover::text::platform

namespace plover::text {

std::size_t GbkWidthOf(std::string_view character) {
  char16_t units[2];
  std::size_t count = 0;
  if (!OneCharacterUtf16(character, units, count)) return 0;
  const auto gbk = Utf8ToGbk(character);
  return gbk ? gbk->size() : 0;
}

}  // namespace plover::text
