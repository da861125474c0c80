// Registering, finding and loading type libraries by id and version.
#include <dlfcn.h>

#include <charconv>
#include <optional>
#include <vector>

#include "platform/base/path.h"
#include "platform/base/text.h"
#include "platform/com/library.h"
#include "platform/com/regkeys.h"
#include "platform/com/typelib.h"

namespace plat::ole {

namespace {

String16 hex(std::uint32_t v) {
  char buffer[16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, v, 16).ptr;
  return String16(buffer, end);
}

std::optional<std::uint32_t> parseHex(std::u16string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint32_t v = 0;
  for (const char16_t c : text) {
    const int d = detail::hexValue(c);
    if (d < 0) return std::nullopt;
    v = v << 4 | std::uint32_t(d);
  }
  return v;
}

String16 libraryKey(const Guid& libid) { return u"TypeLib\\" + guidToString(libid); }
String16 versionText(Word major, Word minor) { return hex(major) + u"." + hex(minor); }

std::vector<String16> subKeys(std::u16string_view path) {
  std::vector<String16> names;
  reg::Key key = reg::kNoKey;
  if (reg::openKey(reg::kClassesRoot, path, reg::kRead, &key) != reg::Status::Success) return names;
  String16 name;
  for (std::uint32_t i = 0; reg::enumKey(key, i, &name) == reg::Status::Success; ++i) names.push_back(name);
  reg::closeKey(key);
  return names;
}

// The registered version key that loading asks for: the same major number, the asked minor
// number or else the highest above it.
std::optional<String16> findVersion(const Guid& libid, Word major, Word minor) {
  std::optional<String16> best;
  std::uint32_t bestMinor = 0;
  for (const String16& name : subKeys(libraryKey(libid))) {
    const std::size_t dot = name.find(u'.');
    if (dot == String16::npos) continue;
    const auto ma = parseHex(std::u16string_view(name).substr(0, dot));
    const auto mi = parseHex(std::u16string_view(name).substr(dot + 1));
    if (!ma || !mi || *ma != major || *mi < minor) continue;
    if (*mi == minor) return name;
    if (!best || *mi > bestMinor) {
      best = name;
      bestMinor = *mi;
    }
  }
  return best;
}

}  // namespace

HResult registerTypeLib(const TypeLibDesc& desc, const String8& modulePath) {
  if (!desc.libid || modulePath.empty()) return E_INVALIDARG;
  const String16 version = versionText(desc.major, desc.minor);
  const String16 versionKey = libraryKey(*desc.libid) + u"\\" + version;
  const String16 title = toUtf16(desc.helpString ? desc.helpString : desc.name ? desc.name : "");
  const String16 path = toUtf16(modulePath);
  const String16 helpDir = toUtf16(pathDirectory(modulePath));
  const String16 flags = u"0";
  const String16 libidText = guidToString(*desc.libid);
  bool ok = regkeys::writeKey(reg::kClassesRoot, versionKey, &title) == reg::Status::Success &&
            regkeys::writeKey(reg::kClassesRoot, versionKey + u"\\" + hex(desc.lcid) + u"\\linux", &path) ==
                reg::Status::Success &&
            regkeys::writeKey(reg::kClassesRoot, versionKey + u"\\FLAGS", &flags) == reg::Status::Success &&
            regkeys::writeKey(reg::kClassesRoot, versionKey + u"\\HELPDIR", &helpDir) == reg::Status::Success;
  for (const DispInterfaceDesc* d : desc.interfaces) {
    if (!ok) break;
    const String16 key = u"Interface\\" + guidToString(*d->iid);
    const String16 name = toUtf16(d->name ? d->name : "");
    reg::Key typeLibKey = reg::kNoKey;
    ok = regkeys::writeKey(reg::kClassesRoot, key, &name) == reg::Status::Success &&
         reg::createKey(reg::kClassesRoot, key + u"\\TypeLib", false, reg::kAllAccess, &typeLibKey) ==
             reg::Status::Success;
    if (ok)
      ok = regkeys::writeString(typeLibKey, u"", libidText) == reg::Status::Success &&
           regkeys::writeString(typeLibKey, u"Version", version) == reg::Status::Success;
    if (typeLibKey != reg::kNoKey) reg::closeKey(typeLibKey);
  }
  return ok ? S_OK : TYPE_E_REGISTRYACCESS;
}

HResult unregisterTypeLib(const TypeLibDesc& desc) {
  if (!desc.libid) return E_INVALIDARG;
  const String16 libKey = libraryKey(*desc.libid);
  const String16 libidText = guidToString(*desc.libid);
  bool ok = regkeys::deleteTree(reg::kClassesRoot, libKey + u"\\" + versionText(desc.major, desc.minor)) ==
            reg::Status::Success;
  if (ok && regkeys::exists(reg::kClassesRoot, libKey) && subKeys(libKey).empty())
    ok = regkeys::deleteTree(reg::kClassesRoot, libKey) == reg::Status::Success;
  for (const DispInterfaceDesc* d : desc.interfaces) {
    // Only an interface key that names this library is ours to remove.
    const String16 key = u"Interface\\" + guidToString(*d->iid);
    String16 owner;
    if (ok && regkeys::readString(reg::kClassesRoot, key + u"\\TypeLib", u"", &owner) && equalsNoCase(owner, libidText))
      ok = regkeys::deleteTree(reg::kClassesRoot, key) == reg::Status::Success;
  }
  return ok ? S_OK : TYPE_E_REGISTRYACCESS;
}

HResult queryPathOfRegTypeLib(const Guid& libid, Word major, Word minor, Lcid lcid, String8* path) {
  if (!path) return E_INVALIDARG;
  path->clear();
  const std::optional<String16> version = findVersion(libid, major, minor);
  if (!version) return TYPE_E_LIBNOTREGISTERED;
  const String16 versionKey = libraryKey(libid) + u"\\" + *version;
  std::vector<String16> locales = {hex(lcid), hex(lcid & 0x3FF), u"0"};
  for (const String16& name : subKeys(versionKey))
    if (parseHex(name)) locales.push_back(name);
  for (const String16& locale : locales) {
    String16 text;
    if (regkeys::readString(reg::kClassesRoot, versionKey + u"\\" + locale + u"\\linux", u"", &text) && !text.empty()) {
      *path = toUtf8(text);
      return S_OK;
    }
  }
  return TYPE_E_LIBNOTREGISTERED;
}

HResult loadTypeLibFromModule(const String8& path, const Guid& libid, ITypeLib** lib) {
  if (!lib) return E_POINTER;
  *lib = nullptr;
  using GetTypeLibFn = HResult (*)(const Guid&, ITypeLib**);
  const String8 file = resolveModulePath(path);
  // A module that is loaded already (the caller's own, often) is asked without holding it;
  // the library it returns counts among its objects and so keeps it loaded.
  if (void* loaded = ::dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
    auto* get = reinterpret_cast<GetTypeLibFn>(::dlsym(loaded, "KedrusGetTypeLib"));
    const HResult hr = get ? get(libid, lib) : TYPE_E_CANTLOADLIBRARY;
    ::dlclose(loaded);
    return hr;
  }
  void* module = nullptr;
  if (failed(loadModule(file, false, &module))) return TYPE_E_CANTLOADLIBRARY;
  auto* get = reinterpret_cast<GetTypeLibFn>(moduleSymbol(module, "KedrusGetTypeLib"));
  return get ? get(libid, lib) : TYPE_E_CANTLOADLIBRARY;
}

HResult loadRegTypeLib(const Guid& libid, Word major, Word minor, Lcid lcid, ITypeLib** lib) {
  if (!lib) return E_POINTER;
  *lib = nullptr;
  const TypeLibDesc& standard = standardTypeLibDesc();
  if (libid == *standard.libid && major == standard.major && minor <= standard.minor)
    return createTypeLib(standard, lib);
  String8 path;
  const HResult hr = queryPathOfRegTypeLib(libid, major, minor, lcid, &path);
  return failed(hr) ? hr : loadTypeLibFromModule(path, libid, lib);
}

}  // namespace plat::ole
