#pragma once
// Small helpers over the registry for the keys the component layer writes: string values,
// keys with a default text, whole trees removed.
#include <string_view>

#include "platform/base/types.h"
#include "platform/registry/registry.h"

namespace plat::ole::regkeys {

// The string value name of the key at path below root (the default value for an empty name).
bool readString(reg::Key root, std::u16string_view path, std::u16string_view name, String16* value);
reg::Status writeString(reg::Key key, std::u16string_view name, std::u16string_view value);
// Creates the key at path below root and, when value is given, sets its default value.
reg::Status writeKey(reg::Key root, std::u16string_view path, const String16* value = nullptr);
// Deletes the key at path and everything below it; a key that is not there is no error.
reg::Status deleteTree(reg::Key root, std::u16string_view path);
// Whether the key at path exists.
bool exists(reg::Key root, std::u16string_view path);

}  // namespace plat::ole::regkeys
