#pragma once
// The in-memory tree of one hive and its text form (the format is described in hive.cpp).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/types.h"
#include "platform/registry/registry.h"

namespace plat::reg::detail {

// Limits that keep hostile files and callers from running away with memory or the stack.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;
constexpr std::size_t kMaxDepth = 512;  // levels of keys below a root
constexpr std::uint32_t kMaxValueSize = 64u << 20;

struct Value {
  String16 name;
  ValueType type = ValueType::None;
  std::string data;
};

// One key. Children are shared so that open handles keep a key alive after it is deleted
// (they then see `deleted` and fail cleanly).
struct Node {
  String16 name;
  std::uint32_t depth = 0;  // 0 for a root
  bool isVolatile = false;
  bool deleted = false;
  std::vector<std::shared_ptr<Node>> children;  // sorted by compareNoCase of the names
  std::vector<Value> values;                    // in creation order

  // Index of the child with this name, or of where it would go (found tells which).
  std::size_t childPosition(std::u16string_view childName, bool* found) const;
  Node* findChild(std::u16string_view childName) const;
  std::shared_ptr<Node> addChild(std::u16string_view childName, bool makeVolatile);
  // Takes the child out of the tree (without marking it deleted); null when absent.
  std::shared_ptr<Node> detachChild(std::u16string_view childName);
  void insertChild(std::shared_ptr<Node> child);

  // Index of the value, or values.size() when absent.
  std::size_t valuePosition(std::u16string_view valueName) const;
};

// Marks the node and everything below it deleted.
void markDeleted(Node& node);

// The persistent (non-volatile) part of the tree below root, as hive text (sizeHint: the
// expected size, e.g. that of the last text, to save reallocations).
String8 serializeHive(const Node& root, std::size_t sizeHint = 0);
// Parses hive text into root (which must be empty). False when the text is not a well-formed
// hive; root is then left in an unspecified state. error (optional) says what and where.
bool parseHive(std::string_view text, Node* root, String8* error = nullptr);

// Brings live up to the state read from a file: values of every key in the file come from the
// file, keys missing from the file are deleted (volatile keys stay), keys new in the file are
// added. Nodes that survive keep their identity, so handles on them stay valid.
void mergeFromFile(Node& live, Node& fromFile);

}  // namespace plat::reg::detail
