// Work that changes several files in turn writes a record here before its
// first change and removes it after its last, so that the next start can
// finish what a kill or a power loss cut short (see Recover). The file,
// "Plover.journal" beside the program, exists only while such work runs.
//
// Each record is one line of fields separated by tabs, UTF-8 (names that code
// page 936 cannot hold must come back whole), after a first line that names
// the format. Fields never hold a tab or a line end: they are file names and
// paths. Several records can be open at once: a replay saved while a switch
// waits for an answer adds its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "plover/base/file_system.h"

namespace plover {

inline constexpr const char* kJournalFileName = "Plover.journal";
inline constexpr const char* kJournalHeader = "Plover journal 1";

// The kinds of record, each with its fields.
namespace journal_kind {
// game directory, version name, and where its copies under way are: only in
// the game directory's temporary folder (kInFolder) or also beside their
// targets (kBeside; a record without the field comes from an older Plover
// and counts as that).
inline constexpr const char* kSwitch = "switch";
inline constexpr const char* kInFolder = "folder";
inline constexpr const char* kBeside = "beside";
inline constexpr const char* kBuild = "build";    // version name
inline constexpr const char* kRename = "rename";  // old name, new name
inline constexpr const char* kExpert = "expert";  // version name
inline constexpr const char* kDelete = "delete";  // version name (its store folder goes)
inline constexpr const char* kReplay = "replay";  // the saved replay's path
}  // namespace journal_kind

// The names Plover's temporary files and folders end in: a file being
// written (beside its target), a new set not yet in place, and old files set
// aside while the new ones move in.
using fs::kTempSuffix;
inline constexpr std::string_view kNewSuffix = ".plover-new";
inline constexpr std::string_view kOldSuffix = ".plover-old";

class Journal {
 public:
  using Record = std::vector<std::string>;

  Journal(fs::FileSystem& fs, std::string appDir);

  // Adds a record and writes the journal whole. Returns the record's number,
  // or 0 when the journal could not be written (the record is then dropped).
  int Add(Record record);
  // Replaces a record and writes the journal whole; false when it could not
  // be written (the record then stays as it was, in the file too).
  bool Replace(int id, Record record);
  // Removes a record; the file goes with the last one.
  void Remove(int id);

  std::string Path() const;
  static std::string PathIn(std::string_view appDir);

  // The records of a journal file's bytes; a line without a field is skipped.
  static std::vector<Record> Parse(std::string_view bytes);
  static std::string Serialize(const std::vector<Record>& records);

 private:
  fs::Status Write();

  fs::FileSystem& fs_;
  std::string appDir_;
  std::vector<std::pair<int, Record>> open_;
  int next_ = 1;
};

// Adds a record to `journal` (when there is one) for the life of one piece of
// work: End, or the end of its scope, removes it.
class JournalEntry {
 public:
  JournalEntry(Journal* journal, Journal::Record record)
      : journal_(journal), id_(journal ? journal->Add(std::move(record)) : 0) {}
  ~JournalEntry() { End(); }
  JournalEntry(const JournalEntry&) = delete;
  JournalEntry& operator=(const JournalEntry&) = delete;

  // True when the record is in the file (always false without a journal).
  bool Written() const { return id_ != 0; }
  void End() {
    if (id_ != 0) journal_->Remove(id_);
    id_ = 0;
  }
  // Leaves the record in the file: the next start finishes the work.
  void Keep() { id_ = 0; }
  // The record, changed as the work goes on; false when the file could not
  // take the change (or there is no record).
  bool Update(Journal::Record record) {
    return id_ != 0 && journal_->Replace(id_, std::move(record));
  }

 private:
  Journal* journal_;
  int id_;
};

}  // namespace plover
