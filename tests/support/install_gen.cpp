#include "tests/support/install_gen.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace plover::testing {
namespace {

namespace stdfs = std::filesystem;

constexpr std::string_view kTagStart = "PLOVER-TEST-FILE ";
constexpr std::string_view kTagFlavour = " FLAVOUR ";
constexpr size_t kChunk = size_t{1} << 20;

struct RealisticSize {
  std::string_view entry;
  uint64_t bytes;
};

// Roughly what the files of a 1.2x installation weigh: about 300 MB in all.
constexpr std::array<RealisticSize, 15> kRealisticSizes = {{
    {"Game.dll", 10485760},
    {"Storm.dll", 303104},
    {"War3.exe", 311296},
    {"worldedit.exe", 3100672},
    {"War3Patch.mpq", 283115520},
    {"War3.org", 311296},
    {"Mss32.dll", 368128},
    {"ijl15.dll", 372736},
    {"Maps\\(4)LostTemple.w3m", 98304},
    {"Maps\\FrozenThrone\\(2)EchoIsles.w3x", 245760},
    {"Maps\\FrozenThrone\\(2)TheTwoRivers.w3x", 270336},
    {"Maps\\FrozenThrone\\(4)HailStone.w3x", 430080},
    {"Maps\\FrozenThrone\\(4)TurtleRock.w3x", 385024},
    {"Maps\\FrozenThrone\\(4)TwistedMeadows.w3x", 409600},
    {"Maps\\FrozenThrone\\(6)GnollWood.w3x", 540672},
}};

uint64_t Fnv1a(std::string_view a, std::string_view b) {
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](std::string_view s) {
    for (unsigned char c : s) {
      h ^= c;
      h *= 1099511628211ull;
    }
  };
  mix(a);
  mix("|");
  mix(b);
  return h;
}

bool IsGameProgram(std::string_view entry) {
  if (entry.size() != 8) return false;
  for (size_t i = 0; i < entry.size(); ++i) {
    char c = entry[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != "war3.exe"[i]) return false;
  }
  return true;
}

std::string TagLine(std::string_view entry, std::string_view flavour) {
  std::string tag(kTagStart);
  tag += entry;
  tag += kTagFlavour;
  tag += flavour;
  tag += "\r\n";
  return tag;
}

std::string ReadAll(const stdfs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Utf8Of(file));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Produces an entry's bytes piece by piece: a head (the tag line, or the
// game program), filler lines of printable characters, and a tail (the tag
// line when the head is the program).
class Generator {
 public:
  Generator(std::string_view entry, const InstallOptions& options) {
    state_ = Fnv1a(entry, options.flavour) | 1;
    const uint64_t size = EntrySize(entry, options.realisticSizes);
    if (IsGameProgram(entry) && !options.war3Exe.empty()) {
      head_ = ReadAll(options.war3Exe);
      tail_ = "\r\n" + TagLine(entry, options.flavour);
    } else {
      head_ = TagLine(entry, options.flavour);
    }
    const uint64_t fixed = head_.size() + tail_.size();
    filler_ = size > fixed ? size - fixed : 0;
  }

  uint64_t Size() const { return head_.size() + filler_ + tail_.size(); }

  // Up to `n` next bytes into `out`; 0 at the end.
  size_t Next(char* out, size_t n) {
    size_t done = 0;
    while (done < n) {
      if (pos_ < head_.size()) {
        const size_t take = std::min<uint64_t>(n - done, head_.size() - pos_);
        std::memcpy(out + done, head_.data() + pos_, take);
        done += take;
        pos_ += take;
      } else if (pos_ < head_.size() + filler_) {
        const uint64_t at = pos_ - head_.size();
        const size_t take = std::min<uint64_t>(n - done, filler_ - at);
        Fill(out + done, take, at);
        done += take;
        pos_ += take;
      } else if (pos_ < Size()) {
        const uint64_t at = pos_ - head_.size() - filler_;
        const size_t take = std::min<uint64_t>(n - done, tail_.size() - at);
        std::memcpy(out + done, tail_.data() + at, take);
        done += take;
        pos_ += take;
      } else {
        break;
      }
    }
    return done;
  }

 private:
  // Lines of 63 printable characters and a line feed.
  void Fill(char* out, size_t n, uint64_t at) {
    for (size_t i = 0; i < n; ++i) {
      if ((at + i) % 64 == 63) {
        out[i] = '\n';
        continue;
      }
      state_ ^= state_ << 13;
      state_ ^= state_ >> 7;
      state_ ^= state_ << 17;
      out[i] = static_cast<char>(0x21 + (state_ >> 40) % 94);
    }
  }

  std::string head_;
  std::string tail_;
  uint64_t filler_ = 0;
  uint64_t pos_ = 0;
  uint64_t state_ = 1;
};

std::vector<std::string_view> SplitEntry(std::string_view entry) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= entry.size()) {
    size_t end = entry.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = entry.size();
    if (end > start) parts.push_back(entry.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

void WriteBytes(const stdfs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + Utf8Of(file));
}

std::string ParseTag(std::string_view text) {
  const size_t start = text.rfind(kTagStart);
  if (start == std::string_view::npos) return std::string();
  std::string_view line = text.substr(start + kTagStart.size());
  const size_t end = line.find("\r\n");
  if (end == std::string_view::npos) return std::string();
  line = line.substr(0, end);
  const size_t flavour = line.rfind(kTagFlavour);
  if (flavour == std::string_view::npos) return std::string();
  return std::string(line.substr(flavour + kTagFlavour.size()));
}

}  // namespace

const std::vector<std::string>& FullVersionEntries() {
  static const std::vector<std::string> entries = [] {
    std::vector<std::string> list;
    for (const auto& e : kRealisticSizes) list.emplace_back(e.entry);
    return list;
  }();
  return entries;
}

uint64_t EntrySize(std::string_view entry, bool realisticSizes) {
  if (realisticSizes) {
    for (const auto& e : kRealisticSizes) {
      if (e.entry == entry) return e.bytes;
    }
    return 65536 + Fnv1a(entry, "size") % 65536;
  }
  return 160 + Fnv1a(entry, "size") % 256;
}

std::string EntryContents(std::string_view entry, const InstallOptions& options) {
  Generator gen(entry, options);
  std::string bytes(static_cast<size_t>(gen.Size()), '\0');
  gen.Next(bytes.data(), bytes.size());
  return bytes;
}

void WriteEntryFile(const stdfs::path& file, std::string_view entry,
                    const InstallOptions& options) {
  Generator gen(entry, options);
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot create " + Utf8Of(file));
  std::string buf(kChunk, '\0');
  for (;;) {
    const size_t n = gen.Next(buf.data(), buf.size());
    if (n == 0) break;
    out.write(buf.data(), static_cast<std::streamsize>(n));
  }
  out.close();
  if (!out) throw std::runtime_error("cannot write " + Utf8Of(file));
}

bool HoldsEntry(const stdfs::path& file, std::string_view entry, const InstallOptions& options) {
  Generator gen(entry, options);
  std::error_code ec;
  const uint64_t size = stdfs::file_size(file, ec);
  if (ec || size != gen.Size()) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string want(kChunk, '\0');
  std::string got(kChunk, '\0');
  for (;;) {
    const size_t n = gen.Next(want.data(), want.size());
    if (n == 0) return true;
    in.read(got.data(), static_cast<std::streamsize>(n));
    if (static_cast<size_t>(in.gcount()) != n) return false;
    if (std::memcmp(want.data(), got.data(), n) != 0) return false;
  }
}

std::string FlavourOf(const stdfs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::string();
  constexpr size_t kLook = 512;
  std::string head(kLook, '\0');
  in.read(head.data(), static_cast<std::streamsize>(kLook));
  head.resize(static_cast<size_t>(in.gcount()));
  if (head.rfind(kTagStart, 0) == 0) return ParseTag(head);
  // A game program carries its tag at the end.
  in.clear();
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size <= 0) return std::string();
  const std::streamoff from = size > static_cast<std::streamoff>(kLook) ? size - kLook : 0;
  in.seekg(from);
  std::string tail(static_cast<size_t>(size - from), '\0');
  in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
  tail.resize(static_cast<size_t>(in.gcount()));
  const size_t start = tail.rfind(kTagStart);
  if (start == std::string::npos || tail.find("\r\n", start) + 2 != tail.size()) {
    return std::string();
  }
  return ParseTag(tail);
}

stdfs::path PathFromUtf8(std::string_view utf8) {
  std::u8string text(utf8.size(), u8'\0');
  std::memcpy(text.data(), utf8.data(), utf8.size());
  return stdfs::path(text);
}

std::string Utf8Of(const stdfs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

stdfs::path EntryPath(const stdfs::path& root, std::string_view entry) {
  stdfs::path path = root;
  for (std::string_view part : SplitEntry(entry)) path /= PathFromUtf8(part);
  return path;
}

void CreateGameInstallation(const stdfs::path& gameDir, const InstallOptions& options) {
  stdfs::create_directories(gameDir);
  for (const auto& entry : FullVersionEntries()) {
    const stdfs::path file = EntryPath(gameDir, entry);
    stdfs::create_directories(file.parent_path());
    WriteEntryFile(file, entry, options);
  }
}

std::string StoreCopyName(std::string_view entry) {
  const auto parts = SplitEntry(entry);
  if (parts.empty()) return std::string();
  if (parts.size() == 1 && IsGameProgram(parts.back())) return "war3.exe";
  return std::string(parts.back());
}

void CreateReadyVersion(const stdfs::path& programDir, const std::string& name,
                        const InstallOptions& options, const std::vector<std::string>& entries) {
  const stdfs::path store = programDir / PathFromUtf8(name);
  stdfs::create_directories(store);
  std::string list;
  for (const auto& entry : entries) {
    WriteEntryFile(store / PathFromUtf8(StoreCopyName(entry)), entry, options);
    list += entry;
    list += "\r\n";
  }
  WriteBytes(programDir / PathFromUtf8(name + ".w3v"), list);
}

std::vector<GameStart> ReadGameStarts(const stdfs::path& gameDir) {
  std::vector<GameStart> starts;
  const stdfs::path file = gameDir / "war3-started.txt";
  std::error_code ec;
  if (!stdfs::exists(file, ec)) return starts;
  const std::string text = ReadAll(file);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    // The command line may hold tabs itself; the last two fields cannot.
    const size_t second = line.rfind('\t');
    const size_t first = second == std::string_view::npos || second == 0
                             ? std::string_view::npos
                             : line.rfind('\t', second - 1);
    if (first == std::string_view::npos) continue;
    starts.push_back({std::string(line.substr(0, first)),
                      std::string(line.substr(first + 1, second - first - 1)),
                      std::string(line.substr(second + 1))});
  }
  return starts;
}

}  // namespace plover::testing
