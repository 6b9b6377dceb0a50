#include "tests/support/memory_fs.h"

#include <algorithm>

namespace plover::testing {

using fs::Status;

MemoryFileSystem::MemoryFileSystem() = default;

std::string MemoryFileSystem::Key(const std::string& path) {
  std::string k = fs::UpperAscii(path);
  std::replace(k.begin(), k.end(), '/', '\\');
  while (k.size() > 1 && k.back() == '\\') k.pop_back();
  return k;
}

std::string MemoryFileSystem::ParentKey(const std::string& key) {
  const size_t slash = key.rfind('\\');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

bool MemoryFileSystem::ParentExists(const std::string& path) const {
  const std::string parent = ParentKey(Key(path));
  if (parent.empty()) return false;
  if (parent.size() == 2 && parent[1] == ':') return true;  // drive roots always exist
  auto it = nodes_.find(parent);
  return it != nodes_.end() && it->second.folder;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

const MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) const {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

std::vector<std::string> MemoryFileSystem::KeysBelow(const std::string& key) const {
  std::vector<std::string> keys;
  const std::string prefix = key + "\\";
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end(); ++it) {
    if (it->first.compare(0, prefix.size(), prefix) != 0) break;
    keys.push_back(it->first);
  }
  return keys;
}

void MemoryFileSystem::MakeFolders(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && (p.back() == '\\')) p.pop_back();
  size_t pos = 0;
  while (true) {
    pos = p.find('\\', pos + 1);
    const std::string part = p.substr(0, pos);
    if (!(part.size() == 2 && part[1] == ':') && !Find(part)) {
      nodes_[Key(part)] = Node{part, true, {}, clock_, false};
    }
    if (pos == std::string::npos) break;
  }
}

void MemoryFileSystem::PutFile(const std::string& path, const std::string& bytes) {
  const size_t slash = path.rfind('\\');
  if (slash != std::string::npos) MakeFolders(path.substr(0, slash));
  // Every file put has a time of its own, as files written one after the
  // other on a disk do.
  nodes_[Key(path)] = Node{path, false, bytes, ++clock_, false};
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
  const Node* n = Find(path);
  if (!n || n->folder) return std::nullopt;
  return n->data;
}

bool MemoryFileSystem::Exists(const std::string& path) const {
  return Find(path) != nullptr;
}

std::vector<std::string> MemoryFileSystem::Below(const std::string& folder) const {
  std::vector<std::string> out;
  for (const auto& k : KeysBelow(Key(folder))) out.push_back(nodes_.at(k).path);
  return out;
}

void MemoryFileSystem::Fail(Op op, const std::string& path, int code, int skip, int times) {
  rules_.push_back(Rule{op, path.empty() ? std::string() : Key(path), code, skip, times});
}

void MemoryFileSystem::ClearFailures() {
  rules_.clear();
}

void MemoryFileSystem::Hold(const std::string& path) {
  if (Node* n = Find(path)) n->held = true;
}

void MemoryFileSystem::SetReadOnly(const std::string& path, bool on) {
  if (Node* n = Find(path)) n->readOnly = on;
}

bool MemoryFileSystem::IsReadOnly(const std::string& path) const {
  const Node* n = Find(path);
  return n && n->readOnly;
}

void MemoryFileSystem::Touch(const std::string& path) {
  if (Node* n = Find(path)) n->stamp = ++clock_;
}

int MemoryFileSystem::CallCount(Op op) const {
  auto it = calls_.find(op);
  return it == calls_.end() ? 0 : it->second;
}

void MemoryFileSystem::FailCall(int index, int code, bool halfWritten) {
  failAt_ = index;
  failAtCode_ = code;
  failAtHalf_ = halfWritten;
}

void MemoryFileSystem::KillAt(int index) {
  killAt_ = index;
}

void MemoryFileSystem::Revive() {
  killAt_ = -1;
  killed_ = false;
  failAt_ = -1;
  failedOp_.reset();
}

void MemoryFileSystem::LeaveHalf(const std::string& path, const std::string& data) {
  if (!ParentExists(path)) return;
  Node* n = Find(path);
  if (n && (n->folder || n->held)) return;
  ++clock_;
  const std::string half = data.substr(0, data.size() / 2);
  if (n) {
    n->data = half;
    n->stamp = clock_;
  } else {
    nodes_[Key(path)] = Node{path, false, half, clock_, false};
  }
  log_.push_back("cut off " + path);
}

std::optional<int> MemoryFileSystem::Injected(Op op, const std::string& a, const std::string& b) {
  ++calls_[op];
  const int index = total_++;
  cutOff_ = false;
  if (killed_) return fs::kDeviceIoError;
  if (index == killAt_) {
    killed_ = true;
    cutOff_ = true;
    return fs::kDeviceIoError;
  }
  if (index == failAt_) {
    failedOp_ = op;
    cutOff_ = failAtHalf_;
    return failAtCode_;
  }
  const std::string ka = Key(a);
  const std::string kb = b.empty() ? std::string() : Key(b);
  for (auto& r : rules_) {
    if (r.op != op || r.times == 0) continue;
    if (!r.key.empty() && r.key != ka && r.key != kb) continue;
    if (r.skip > 0) {
      --r.skip;
      continue;
    }
    if (r.times > 0) --r.times;
    return r.code;
  }
  return std::nullopt;
}

Status MemoryFileSystem::GetFile(const std::string& path, fs::FileInfo* info) {
  if (auto c = Injected(Op::kGetFile, path)) return {*c};
  const Node* n = Find(path);
  if (!n || n->folder) return {fs::kFileNotFound};
  if (info) *info = fs::FileInfo{n->data.size(), n->stamp};
  return {};
}

bool MemoryFileSystem::FolderExists(const std::string& path) {
  const std::string k = Key(path);
  if (k.size() == 2 && k[1] == ':') return true;
  const Node* n = Find(path);
  return n && n->folder;
}

Status MemoryFileSystem::ReadAll(const std::string& path, std::string& bytes) {
  if (auto c = Injected(Op::kRead, path)) return {*c};
  const Node* n = Find(path);
  if (!n) return {ParentExists(path) ? fs::kFileNotFound : fs::kPathNotFound};
  if (n->folder) return {fs::kPermissionDenied};
  bytes = n->data;
  bytesRead_ += bytes.size();
  return {};
}

Status MemoryFileSystem::ReadPrefix(const std::string& path, size_t count, std::string& bytes) {
  if (auto c = Injected(Op::kRead, path)) return {*c};
  const Node* n = Find(path);
  if (!n) return {ParentExists(path) ? fs::kFileNotFound : fs::kPathNotFound};
  if (n->folder) return {fs::kPermissionDenied};
  bytes = n->data.substr(0, count);
  bytesRead_ += bytes.size();
  return {};
}

Status MemoryFileSystem::WriteAll(const std::string& path, std::string_view bytes) {
  if (auto c = Injected(Op::kWrite, path)) {
    if (CutsOffWrite()) LeaveHalf(path, std::string(bytes));
    return {*c};
  }
  if (!ParentExists(path)) return {fs::kPathNotFound};
  Node* n = Find(path);
  if (n && (n->folder || n->Locked())) return {fs::kPermissionDenied};
  ++clock_;
  if (n) {
    n->data = std::string(bytes);
    n->stamp = clock_;
  } else {
    nodes_[Key(path)] = Node{path, false, std::string(bytes), clock_, false};
  }
  log_.push_back("write " + path);
  return {};
}

Status MemoryFileSystem::Copy(const std::string& from, const std::string& to) {
  if (auto c = Injected(Op::kCopy, from, to)) {
    const Node* src = Find(from);
    if (CutsOffWrite() && src && !src->folder) LeaveHalf(to, src->data);
    return {*c};
  }
  const Node* src = Find(from);
  if (!src || src->folder) return {fs::kFileNotFound};
  if (!ParentExists(to)) return {fs::kFileAlreadyExists};
  Node* dst = Find(to);
  if (dst && (dst->folder || dst->Locked())) return {fs::kPermissionDenied};
  // A copy keeps the last-write time and the read-only attribute of its
  // source, as CopyFileW does.
  const std::string data = src->data;
  const int64_t stamp = src->stamp;
  const bool readOnly = src->readOnly;
  if (dst) {
    dst->data = data;
    dst->stamp = stamp;
    dst->readOnly = readOnly;
  } else {
    Node copy{to, false, data, stamp, false};
    copy.readOnly = readOnly;
    nodes_[Key(to)] = copy;
  }
  log_.push_back("copy " + from + " -> " + to);
  return {};
}

Status MemoryFileSystem::Move(const std::string& from, const std::string& to, bool replace) {
  if (auto c = Injected(Op::kMove, from, to)) return {*c};
  Node* src = Find(from);
  if (!src || src->folder) return {fs::kFileNotFound};
  if (src->held) return {fs::kPermissionDenied};
  if (!ParentExists(to)) return {fs::kPathNotFound};
  Node* dst = Find(to);
  if (dst && Key(from) != Key(to)) {
    if (!replace) return {fs::kFileAlreadyExists};
    if (dst->folder || dst->Locked()) return {fs::kPermissionDenied};
  }
  Node moved = *src;
  moved.path = to;
  nodes_.erase(Key(from));
  nodes_[Key(to)] = moved;
  log_.push_back("move " + from + " -> " + to);
  return {};
}

Status MemoryFileSystem::Delete(const std::string& path) {
  if (auto c = Injected(Op::kDelete, path)) return {*c};
  Node* n = Find(path);
  if (!n || n->folder) return {fs::kFileNotFound};
  if (n->Locked()) return {fs::kPermissionDenied};
  nodes_.erase(Key(path));
  log_.push_back("delete " + path);
  return {};
}

Status MemoryFileSystem::CreateFolder(const std::string& path) {
  if (auto c = Injected(Op::kCreateFolder, path)) return {*c};
  if (Find(path)) return {fs::kFileAlreadyExists};
  if (!ParentExists(path)) return {fs::kPathNotFound};
  std::string p = path;
  while (p.size() > 1 && p.back() == '\\') p.pop_back();
  nodes_[Key(p)] = Node{p, true, {}, clock_, false};
  log_.push_back("mkdir " + p);
  return {};
}

Status MemoryFileSystem::DeleteFolder(const std::string& path) {
  if (auto c = Injected(Op::kDeleteFolder, path)) return {*c};
  Node* n = Find(path);
  if (!n || !n->folder) return {fs::kPathNotFound};
  const auto below = KeysBelow(Key(path));
  for (const auto& k : below) {
    if (nodes_.at(k).Locked()) return {fs::kPermissionDenied};
  }
  for (const auto& k : below) nodes_.erase(k);
  nodes_.erase(Key(path));
  log_.push_back("rmdir " + path);
  return {};
}

Status MemoryFileSystem::MoveFolder(const std::string& from, const std::string& to) {
  if (auto c = Injected(Op::kMoveFolder, from, to)) return {*c};
  Node* n = Find(from);
  if (!n || !n->folder) return {fs::kPathNotFound};
  if (Find(to) && Key(from) != Key(to)) return {fs::kFileAlreadyExists};
  if (!ParentExists(to)) return {fs::kPathNotFound};
  const std::string fromKey = Key(from);
  std::string toPath = to;
  while (toPath.size() > 1 && toPath.back() == '\\') toPath.pop_back();
  std::map<std::string, Node> moved;
  for (const auto& k : KeysBelow(fromKey)) {
    Node node = nodes_.at(k);
    node.path = toPath + node.path.substr(fromKey.size());
    moved[Key(node.path)] = node;
    nodes_.erase(k);
  }
  Node self = *Find(from);
  self.path = toPath;
  nodes_.erase(fromKey);
  nodes_[Key(toPath)] = self;
  nodes_.insert(moved.begin(), moved.end());
  log_.push_back("move folder " + from + " -> " + to);
  return {};
}

Status MemoryFileSystem::Flush(const std::string& path) {
  if (auto c = Injected(Op::kFlush, path)) return {*c};
  const Node* n = Find(path);
  if (!n || n->folder) return {fs::kFileNotFound};
  return {};
}

Status MemoryFileSystem::ListFiles(const std::string& dir, std::string_view pattern,
                                   std::vector<std::string>& names) {
  if (auto c = Injected(Op::kListFiles, dir)) return {*c};
  names.clear();
  const std::string key = Key(dir);
  if (!FolderExists(dir)) return {fs::kPathNotFound};
  for (const auto& k : KeysBelow(key)) {
    if (ParentKey(k) != key) continue;
    const Node& n = nodes_.at(k);
    if (n.folder) continue;
    const std::string name = n.path.substr(n.path.rfind('\\') + 1);
    if (fs::MatchesPattern(name, pattern)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(),
            [](const auto& a, const auto& b) { return fs::LessNoCase(a, b); });
  return {};
}

Status MemoryFileSystem::ListFolders(const std::string& dir, std::vector<std::string>& names) {
  if (auto c = Injected(Op::kListFolders, dir)) return {*c};
  names.clear();
  const std::string key = Key(dir);
  if (!FolderExists(dir)) return {fs::kPathNotFound};
  for (const auto& k : KeysBelow(key)) {
    if (ParentKey(k) != key) continue;
    const Node& n = nodes_.at(k);
    if (n.folder) names.push_back(n.path.substr(n.path.rfind('\\') + 1));
  }
  std::sort(names.begin(), names.end(),
            [](const auto& a, const auto& b) { return fs::LessNoCase(a, b); });
  return {};
}

Status MemoryFileSystem::ClearReadOnly(const std::string& path) {
  if (auto c = Injected(Op::kClearReadOnly, path)) return {*c};
  Node* n = Find(path);
  if (!n || n->folder) return {fs::kFileNotFound};
  if (n->readOnly) {
    n->readOnly = false;
    log_.push_back("writable " + n->path);
  }
  return {};
}

}  // namespace plover::testing
