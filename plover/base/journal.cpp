#include "plover/base/journal.h"

#include <algorithm>

#include "plover/base/functions.h"

namespace plover {

Journal::Journal(fs::FileSystem& fs, std::string appDir) : fs_(fs), appDir_(std::move(appDir)) {}

std::string Journal::PathIn(std::string_view appDir) {
  return AddBackslash(appDir) + kJournalFileName;
}

std::string Journal::Path() const {
  return PathIn(appDir_);
}

std::string Journal::Serialize(const std::vector<Record>& records) {
  std::string out = std::string(kJournalHeader) + "\r\n";
  for (const auto& r : records) {
    for (size_t i = 0; i < r.size(); ++i) {
      if (i > 0) out += '\t';
      out += r[i];
    }
    out += "\r\n";
  }
  return out;
}

std::vector<Journal::Record> Journal::Parse(std::string_view bytes) {
  std::vector<Record> records;
  bool header = true;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    if (line.empty()) continue;
    if (header) {
      header = false;
      if (line == kJournalHeader) continue;
    }
    Record r;
    size_t from = 0;
    for (;;) {
      const size_t tab = line.find('\t', from);
      r.emplace_back(line.substr(from, tab == std::string_view::npos ? line.npos : tab - from));
      if (tab == std::string_view::npos) break;
      from = tab + 1;
    }
    records.push_back(std::move(r));
  }
  return records;
}

fs::Status Journal::Write() {
  if (open_.empty()) {
    const fs::Status s = fs_.Delete(Path());
    return s.is(fs::kFileNotFound) ? fs::Status{} : s;
  }
  std::vector<Record> records;
  for (const auto& [id, r] : open_) records.push_back(r);
  return fs::SafeWrite(fs_, Path(), Serialize(records));
}

int Journal::Add(Record record) {
  const int id = next_++;
  open_.emplace_back(id, std::move(record));
  if (Write().ok()) return id;
  open_.pop_back();
  return 0;
}

bool Journal::Replace(int id, Record record) {
  for (auto& [key, r] : open_) {
    if (key != id) continue;
    std::swap(r, record);
    if (Write().ok()) return true;
    std::swap(r, record);
    return false;
  }
  return false;
}

void Journal::Remove(int id) {
  std::erase_if(open_, [id](const auto& e) { return e.first == id; });
  (void)Write();
}

}  // namespace plover
