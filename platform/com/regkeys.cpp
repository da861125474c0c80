#include "platform/com/regkeys.h"

#include <vector>

namespace plat::ole::regkeys {

namespace {

// Closes a key handle when it goes out of scope.
class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (key_ != reg::kNoKey) reg::closeKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  reg::Key* out() { return &key_; }
  reg::Key get() const { return key_; }

 private:
  reg::Key key_ = reg::kNoKey;
};

}  // namespace

bool readString(reg::Key root, std::u16string_view path, std::u16string_view name, String16* value) {
  OpenKey key;
  if (reg::openKey(root, path, reg::kQueryValue, key.out()) != reg::Status::Success) return false;
  reg::ValueType type = reg::ValueType::None;
  std::uint32_t size = 0;
  if (reg::queryValue(key.get(), name, &type, nullptr, &size) != reg::Status::Success) return false;
  if (type != reg::ValueType::String && type != reg::ValueType::ExpandString) return false;
  std::vector<char16_t> data(size / 2 + 1, u'\0');
  std::uint32_t bytes = size;
  if (reg::queryValue(key.get(), name, nullptr, data.data(), &bytes) != reg::Status::Success) return false;
  String16 text(data.data(), bytes / 2);
  while (!text.empty() && text.back() == u'\0') text.pop_back();
  *value = std::move(text);
  return true;
}

reg::Status writeString(reg::Key key, std::u16string_view name, std::u16string_view value) {
  const String16 text(value);
  return reg::setValue(key, name, reg::ValueType::String, text.c_str(),
                       static_cast<std::uint32_t>((text.size() + 1) * sizeof(char16_t)));
}

reg::Status writeKey(reg::Key root, std::u16string_view path, const String16* value) {
  OpenKey key;
  reg::Status s = reg::createKey(root, path, false, reg::kAllAccess, key.out());
  if (s == reg::Status::Success && value) s = writeString(key.get(), u"", *value);
  return s;
}

reg::Status deleteTree(reg::Key root, std::u16string_view path) {
  {
    OpenKey key;
    const reg::Status s = reg::openKey(root, path, reg::kRead, key.out());
    if (s == reg::Status::FileNotFound) return reg::Status::Success;
    if (s != reg::Status::Success) return s;
    std::vector<String16> children;
    String16 child;
    for (std::uint32_t i = 0; reg::enumKey(key.get(), i, &child) == reg::Status::Success; ++i)
      children.push_back(child);
    for (const String16& c : children) {
      const String16 sub = String16(path) + u"\\" + c;
      if (const reg::Status d = deleteTree(root, sub); d != reg::Status::Success) return d;
    }
  }
  const reg::Status s = reg::deleteKey(root, path);
  return s == reg::Status::FileNotFound ? reg::Status::Success : s;
}

bool exists(reg::Key root, std::u16string_view path) {
  OpenKey key;
  return reg::openKey(root, path, reg::kQueryValue, key.out()) == reg::Status::Success;
}

}  // namespace plat::ole::regkeys
