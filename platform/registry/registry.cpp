// The registry: handles, hives and the sharing of hive files between processes.
//
// Each hive keeps the tree it last read from its file. Before a read, the file's stamp is
// compared with the one read, and the file is read again when it changed. A change takes the
// hive's lock file, re-reads the file unless it still holds exactly what this process last
// read or wrote (stamps alone could miss a same-sized rewrite), applies the change and writes
// the whole hive atomically before unlocking. A change that cannot be written is undone, so
// memory never claims what the file does not hold. Re-reading merges the file into the live
// tree, so nodes keep their identity and open handles stay valid.
#include "platform/registry/registry.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/base/file.h"
#include "platform/base/path.h"
#include "platform/registry/hive.h"
#include "platform/registry/registry_testing.h"

namespace plat::reg {

// The numbers the original platform gives its predefined keys.
const Key kClassesRoot = 0x80000000u;
const Key kCurrentUser = 0x80000001u;
const Key kLocalMachine = 0x80000002u;
const Key kUsers = 0x80000003u;

namespace {

using detail::Node;
using detail::Value;
using Path = std::vector<std::u16string_view>;

#define RETURN_IF_FAILED(expr)                   \
  do {                                           \
    const Status status_ = (expr);               \
    if (status_ != Status::Success) return status_; \
  } while (false)

enum HiveId : int { kHiveCurrentUser, kHiveLocalMachine, kHiveUsers, kHiveCount };
constexpr const char* kHiveFileNames[kHiveCount] = {
    "HKEY_CURRENT_USER.hive", "HKEY_LOCAL_MACHINE.hive", "HKEY_USERS.hive"};
// HKEY_CLASSES_ROOT is this key of HKEY_LOCAL_MACHINE.
constexpr std::u16string_view kClassesPath[] = {u"Software", u"Classes"};

// One hive file and the tree read from it.
class Hive {
 public:
  Hive(String8 directory, const char* fileName)
      : directory_(std::move(directory)),
        path_(joinPath(directory_, fileName)),
        lockPath_(path_ + ".lock") {}

  const std::shared_ptr<Node>& root() const { return root_; }

  // Before a read: re-reads the file when it changed since it was last read or written.
  Status refresh() {
    const FileStamp now = fileStamp(path_);
    if (loaded_ && now == stamp_) return Status::Success;
    return reload(now);
  }

  // Before a change: takes the file lock (held by *lock until the change is saved) and makes
  // the tree current with the file.
  Status beginChange(std::unique_ptr<FileLock>* lock) {
    if (!makeDirectories(directory_)) return Status::WriteFault;
    auto fileLock = std::make_unique<FileLock>(lockPath_);
    if (!fileLock->locked()) return Status::WriteFault;
    RETURN_IF_FAILED(reload(fileStamp(path_)));
    *lock = std::move(fileLock);
    return Status::Success;
  }

  // Writes the persistent tree; call while holding the lock of beginChange.
  Status save() {
    String8 bytes = detail::serializeHive(*root_, lastBytes_.size());
    if (!writeFileAtomic(path_, bytes)) return Status::WriteFault;
    lastBytes_ = std::move(bytes);
    stamp_ = fileStamp(path_);
    return Status::Success;
  }

 private:
  Status reload(const FileStamp& now) {
    String8 bytes;
    if (now.exists) {
      const FileStatus status = readFile(path_, &bytes);
      if (status == FileStatus::NotFound) bytes.clear();
      else if (status != FileStatus::Ok) return Status::ReadFault;
    }
    if (!loaded_ || bytes != lastBytes_) {
      Node parsed;
      if (!detail::parseHive(bytes, &parsed)) return Status::ReadFault;
      detail::mergeFromFile(*root_, parsed);
      lastBytes_ = std::move(bytes);
      loaded_ = true;
    }
    stamp_ = now;
    return Status::Success;
  }

  String8 directory_, path_, lockPath_;
  std::shared_ptr<Node> root_ = std::make_shared<Node>();
  FileStamp stamp_;
  String8 lastBytes_;  // what the file held when last read or written
  bool loaded_ = false;
};

struct OpenKey {
  HiveId hive;
  std::shared_ptr<Node> node;
  std::uint32_t access;
};

// The process's registry state, guarded by one mutex.
struct Registry {
  std::mutex mutex;
  std::array<std::unique_ptr<Hive>, kHiveCount> hives;
  std::unordered_map<Key, OpenKey> handles;
  Key nextHandle = 0x1000;  // never reused, so a stale handle stays invalid

  Hive& hive(HiveId id) {
    if (!hives[id]) hives[id] = std::make_unique<Hive>(registryDirectory(), kHiveFileNames[id]);
    return *hives[id];
  }

  Key addHandle(HiveId hiveId, std::shared_ptr<Node> node, std::uint32_t access) {
    if (nextHandle >= kClassesRoot && nextHandle <= kUsers) nextHandle = kUsers + 1;
    const Key key = nextHandle++;
    handles.emplace(key, OpenKey{hiveId, std::move(node), access & kAllAccess});
    return key;
  }
};

Registry& registry() {
  // Never destroyed: handles may still be used while the process exits.
  static Registry* const instance = new Registry;
  return *instance;
}

// What a handle designates.
struct Target {
  HiveId hiveId = kHiveCurrentUser;
  Hive* hive = nullptr;
  std::shared_ptr<Node> node;  // null for a predefined root
  std::uint32_t access = 0;
  bool isRoot = false;
  bool isClassesRoot = false;
};

Status lookUp(Registry& r, Key key, Target* t) {
  static constexpr struct {
    const Key* key;
    HiveId hive;
  } kRoots[] = {{&kClassesRoot, kHiveLocalMachine},
                {&kCurrentUser, kHiveCurrentUser},
                {&kLocalMachine, kHiveLocalMachine},
                {&kUsers, kHiveUsers}};
  for (const auto& root : kRoots) {
    if (key == *root.key) {
      t->hiveId = root.hive;
      t->hive = &r.hive(root.hive);
      t->access = kAllAccess;
      t->isRoot = true;
      t->isClassesRoot = key == kClassesRoot;
      return Status::Success;
    }
  }
  const auto it = r.handles.find(key);
  if (it == r.handles.end()) return Status::InvalidHandle;
  t->hiveId = it->second.hive;
  t->hive = &r.hive(it->second.hive);
  t->node = it->second.node;
  t->access = it->second.access;
  return Status::Success;
}

// Splits a backslash-separated key path; false for empty, overlong or too many parts.
bool splitPath(std::u16string_view text, Path* parts) {
  parts->clear();
  if (text.empty()) return true;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find(u'\\', start);
    if (end == std::u16string_view::npos) end = text.size();
    const std::u16string_view part = text.substr(start, end - start);
    if (part.empty() || part.size() > detail::kMaxKeyNameLength) return false;
    parts->push_back(part);
    if (parts->size() > detail::kMaxDepth) return false;
    if (end == text.size()) return true;
    start = end + 1;
  }
}

// The node a path starts from (call after refreshing the hive): the handle's key, or the
// hive's root, with the classes root's own path put in front of the path.
Status baseOf(const Target& t, Path* path, std::shared_ptr<Node>* base) {
  if (!t.isRoot) {
    if (t.node->deleted) return Status::KeyDeleted;
    *base = t.node;
    return Status::Success;
  }
  if (t.isClassesRoot) path->insert(path->begin(), std::begin(kClassesPath), std::end(kClassesPath));
  *base = t.hive->root();
  return Status::Success;
}

std::shared_ptr<Node> childOf(const Node& node, std::u16string_view name) {
  bool found = false;
  const std::size_t i = node.childPosition(name, &found);
  return found ? node.children[i] : nullptr;
}

// Follows path down from node as far as keys exist; returns how many parts it followed.
std::size_t walk(std::shared_ptr<Node>& node, const Path& path) {
  std::size_t i = 0;
  for (; i < path.size(); ++i) {
    std::shared_ptr<Node> child = childOf(*node, path[i]);
    if (!child) break;
    node = std::move(child);
  }
  return i;
}

// The existing key a handle and path designate.
Status findKey(const Target& t, Path path, std::shared_ptr<Node>* key) {
  std::shared_ptr<Node> node;
  RETURN_IF_FAILED(baseOf(t, &path, &node));
  if (walk(node, path) != path.size()) return Status::FileNotFound;
  *key = std::move(node);
  return Status::Success;
}

// Keys created by one call, so they can be taken out again when the change cannot be saved.
struct Creation {
  std::shared_ptr<Node> parent;  // null when nothing was created
  String16 firstName;
  bool persistent = false;

  void undo() const {
    if (parent) parent->detachChild(firstName);
  }
};

// Creates the missing keys of path below base; *key receives the last one.
Status createPath(std::shared_ptr<Node> base, const Path& path, bool makeVolatile, bool mayCreate,
                  std::shared_ptr<Node>* key, Creation* made) {
  std::shared_ptr<Node> node = std::move(base);
  const std::size_t found = walk(node, path);
  if (found < path.size()) {
    if (!mayCreate) return Status::AccessDenied;
    if (node->isVolatile && !makeVolatile) return Status::ChildMustBeVolatile;
    if (node->depth + (path.size() - found) > detail::kMaxDepth) return Status::InvalidParameter;
    made->parent = node;
    made->firstName = String16(path[found]);
    made->persistent = !makeVolatile;
    for (std::size_t i = found; i < path.size(); ++i) node = node->addChild(path[i], makeVolatile);
  }
  *key = std::move(node);
  return Status::Success;
}

bool isKnownType(ValueType type) {
  return static_cast<std::uint32_t>(type) <= static_cast<std::uint32_t>(ValueType::ResourceList);
}

}  // namespace

std::string registryDirectory() {
  const char* dir = std::getenv("KEDRUS_REGISTRY_DIR");
  if (dir && *dir) return dir;
  return joinPath(configDirectory(), "kedrus/registry");
}

void resetForTesting() {
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  r.handles.clear();
  for (auto& hive : r.hives) hive.reset();
}

Status openKey(Key parent, std::u16string_view subKey, std::uint32_t access, Key* result) {
  if (!result) return Status::InvalidParameter;
  *result = kNoKey;
  Path path;
  if (!splitPath(subKey, &path)) return Status::InvalidParameter;
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  Target t;
  RETURN_IF_FAILED(lookUp(r, parent, &t));
  RETURN_IF_FAILED(t.hive->refresh());
  std::shared_ptr<Node> key;
  RETURN_IF_FAILED(findKey(t, std::move(path), &key));
  *result = r.addHandle(t.hiveId, std::move(key), access);
  return Status::Success;
}

Status createKey(Key parent, std::u16string_view subKey, bool isVolatile, std::uint32_t access,
                 Key* result, bool* created) {
  if (!result) return Status::InvalidParameter;
  *result = kNoKey;
  if (created) *created = false;
  Path path;
  if (!splitPath(subKey, &path)) return Status::InvalidParameter;
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  Target t;
  RETURN_IF_FAILED(lookUp(r, parent, &t));

  // Most calls find the key already there: open it without taking the file lock.
  RETURN_IF_FAILED(t.hive->refresh());
  std::shared_ptr<Node> key;
  if (findKey(t, path, &key) == Status::Success) {
    *result = r.addHandle(t.hiveId, std::move(key), access);
    return Status::Success;
  }

  std::unique_ptr<FileLock> lock;
  RETURN_IF_FAILED(t.hive->beginChange(&lock));
  std::shared_ptr<Node> base;
  RETURN_IF_FAILED(baseOf(t, &path, &base));
  Creation made;
  const bool mayCreate = t.isRoot || (t.access & kCreateSubKey) != 0;
  RETURN_IF_FAILED(createPath(std::move(base), path, isVolatile, mayCreate, &key, &made));
  if (made.persistent) {
    const Status saved = t.hive->save();
    if (saved != Status::Success) {
      made.undo();
      return saved;
    }
  }
  *result = r.addHandle(t.hiveId, std::move(key), access);
  if (created) *created = made.parent != nullptr;
  return Status::Success;
}

Status closeKey(Key key) {
  if (key == kClassesRoot || key == kCurrentUser || key == kLocalMachine || key == kUsers) {
    return Status::Success;
  }
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  return r.handles.erase(key) ? Status::Success : Status::InvalidHandle;
}

Status deleteKey(Key parent, std::u16string_view subKey) {
  Path path;
  if (!splitPath(subKey, &path)) return Status::InvalidParameter;
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  Target t;
  RETURN_IF_FAILED(lookUp(r, parent, &t));
  if (path.empty()) return t.isRoot ? Status::AccessDenied : Status::InvalidParameter;

  std::unique_ptr<FileLock> lock;
  RETURN_IF_FAILED(t.hive->beginChange(&lock));
  std::shared_ptr<Node> owner;
  RETURN_IF_FAILED(baseOf(t, &path, &owner));
  const std::u16string_view name = path.back();
  path.pop_back();
  if (walk(owner, path) != path.size()) return Status::FileNotFound;
  const std::shared_ptr<Node> victim = childOf(*owner, name);
  if (!victim) return Status::FileNotFound;
  if (!victim->children.empty()) return Status::KeyHasChildren;

  owner->detachChild(name);
  if (!victim->isVolatile) {
    const Status saved = t.hive->save();
    if (saved != Status::Success) {
      owner->insertChild(victim);
      return saved;
    }
  }
  detail::markDeleted(*victim);
  return Status::Success;
}

Status queryValue(Key key, std::u16string_view name, ValueType* type, void* data, std::uint32_t* size) {
  if (data && !size) return Status::InvalidParameter;
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  Target t;
  RETURN_IF_FAILED(lookUp(r, key, &t));
  if (!(t.access & kQueryValue)) return Status::AccessDenied;
  RETURN_IF_FAILED(t.hive->refresh());
  std::shared_ptr<Node> node;
  RETURN_IF_FAILED(findKey(t, {}, &node));
  const std::size_t pos = node->valuePosition(name);
  if (pos == node->values.size()) return Status::FileNotFound;
  const Value& value = node->values[pos];
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  if (type) *type = value.type;
  if (!data) {
    if (size) *size = needed;
    return Status::Success;
  }
  if (*size < needed) {
    *size = needed;
    return Status::MoreData;
  }
  if (needed) std::memcpy(data, value.data.data(), needed);
  *size = needed;
  return Status::Success;
}

Status setValue(Key key, std::u16string_view name, ValueType type, const void* data, std::uint32_t size) {
  if (!isKnownType(type) || size > detail::kMaxValueSize || (!data && size) ||
      name.size() > detail::kMaxValueNameLength) {
    return Status::InvalidParameter;
  }
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  Target t;
  RETURN_IF_FAILED(lookUp(r, key, &t));
  if (!(t.access & kSetValue)) return Status::AccessDenied;

  std::unique_ptr<FileLock> lock;
  RETURN_IF_FAILED(t.hive->beginChange(&lock));
  Path path;
  std::shared_ptr<Node> base, node;
  RETURN_IF_FAILED(baseOf(t, &path, &base));
  Creation made;  // the classes root's own key may need creating
  RETURN_IF_FAILED(createPath(std::move(base), path, false, true, &node, &made));

  Value value{String16(name), type, std::string(static_cast<const char*>(data), size)};
  const std::size_t pos = node->valuePosition(name);
  // Setting a value to what it already holds changes nothing: the hive is not written again.
  if (!made.parent && pos < node->values.size() && node->values[pos].type == type && node->values[pos].data == value.data)
    return Status::Success;
  std::optional<Value> previous;
  if (pos < node->values.size()) {
    previous = std::move(node->values[pos]);
    value.name = previous->name;  // the name keeps the spelling it was created with
    node->values[pos] = std::move(value);
  } else {
    node->values.push_back(std::move(value));
  }
  if (!node->isVolatile) {
    const Status saved = t.hive->save();
    if (saved != Status::Success) {
      if (previous) node->values[pos] = std::move(*previous);
      else node->values.pop_back();
      made.undo();
      return saved;
    }
  }
  return Status::Success;
}

Status deleteValue(Key key, std::u16string_view name) {
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  Target t;
  RETURN_IF_FAILED(lookUp(r, key, &t));
  if (!(t.access & kSetValue)) return Status::AccessDenied;

  std::unique_ptr<FileLock> lock;
  RETURN_IF_FAILED(t.hive->beginChange(&lock));
  std::shared_ptr<Node> node;
  RETURN_IF_FAILED(findKey(t, {}, &node));
  const std::size_t pos = node->valuePosition(name);
  if (pos == node->values.size()) return Status::FileNotFound;
  const auto at = node->values.begin() + static_cast<std::ptrdiff_t>(pos);
  Value removed = std::move(*at);
  node->values.erase(at);
  if (!node->isVolatile) {
    const Status saved = t.hive->save();
    if (saved != Status::Success) {
      node->values.insert(node->values.begin() + static_cast<std::ptrdiff_t>(pos), std::move(removed));
      return saved;
    }
  }
  return Status::Success;
}

namespace {

// The key a read works on (after checking the right it needs); null for the classes root
// while HKEY_LOCAL_MACHINE\Software\Classes does not exist, which reads as an empty key.
Status keyToRead(Registry& r, Key key, std::uint32_t right, std::shared_ptr<Node>* node) {
  Target t;
  RETURN_IF_FAILED(lookUp(r, key, &t));
  if (!(t.access & right)) return Status::AccessDenied;
  RETURN_IF_FAILED(t.hive->refresh());
  const Status found = findKey(t, {}, node);
  if (found == Status::FileNotFound && t.isClassesRoot) {
    node->reset();
    return Status::Success;
  }
  return found;
}

}  // namespace

Status queryInfo(Key key, KeyInfo* info) {
  if (!info) return Status::InvalidParameter;
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  std::shared_ptr<Node> node;
  RETURN_IF_FAILED(keyToRead(r, key, kQueryValue, &node));
  *info = KeyInfo{};
  if (!node) return Status::Success;
  info->subKeyCount = static_cast<std::uint32_t>(node->children.size());
  for (const auto& child : node->children) {
    info->maxSubKeyNameLength =
        std::max(info->maxSubKeyNameLength, static_cast<std::uint32_t>(child->name.size()));
  }
  info->valueCount = static_cast<std::uint32_t>(node->values.size());
  for (const Value& value : node->values) {
    info->maxValueNameLength =
        std::max(info->maxValueNameLength, static_cast<std::uint32_t>(value.name.size()));
    info->maxValueDataLength =
        std::max(info->maxValueDataLength, static_cast<std::uint32_t>(value.data.size()));
  }
  return Status::Success;
}

Status enumKey(Key key, std::uint32_t index, std::u16string* name) {
  if (!name) return Status::InvalidParameter;
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  std::shared_ptr<Node> node;
  RETURN_IF_FAILED(keyToRead(r, key, kEnumerateSubKeys, &node));
  if (!node || index >= node->children.size()) return Status::NoMoreItems;
  *name = node->children[index]->name;
  return Status::Success;
}

Status enumValue(Key key, std::uint32_t index, std::u16string* name, ValueType* type,
                 std::uint32_t* dataSize) {
  if (!name) return Status::InvalidParameter;
  Registry& r = registry();
  std::lock_guard guard(r.mutex);
  std::shared_ptr<Node> node;
  RETURN_IF_FAILED(keyToRead(r, key, kQueryValue, &node));
  if (!node || index >= node->values.size()) return Status::NoMoreItems;
  const Value& value = node->values[index];
  *name = value.name;
  if (type) *type = value.type;
  if (dataSize) *dataSize = static_cast<std::uint32_t>(value.data.size());
  return Status::Success;
}

}  // namespace plat::reg
