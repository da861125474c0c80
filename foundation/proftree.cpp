#include "foundation/proftree.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/base/bytes.h"
#include "platform/base/sectionpath.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace {

// Names are read into a buffer that grows until the name fits; the cap only guards against a
// store that keeps asking for more.
constexpr unsigned kFirstNameBuffer = 260;
constexpr unsigned kMaxNameBuffer = 1u << 20;

// Runs an enumeration call with a growing buffer; gives its result code and, on success, the name.
template <typename EnumCall>
int EnumName(plat::String16* name, EnumCall call) {
  std::u16string buffer(kFirstNameBuffer, u'\0');
  for (;;) {
    const int rc = call(buffer.data(), unsigned(buffer.size()));
    if (rc == PROF_MORE_DATA && buffer.size() < kMaxNameBuffer) {
      buffer.assign(buffer.size() * 2, u'\0');
      continue;
    }
    if (rc == PROF_OK) name->assign(buffer.c_str());
    return rc;
  }
}

// Writes one value through the typed setters, for an INI destination, which has no general
// setter. Types without an INI form are refused.
int SetIniValue(const char16_t* name, const std::uint8_t* data, unsigned length, int type, COrvProfDesc* dest) {
  switch (type) {
    case PROF_TYPE_DWORD:
    case PROF_TYPE_DWORD_LE: {
      if (length != 4) return PROF_INVALID_PARAMETER;
      return OrvSetProfDWord(name, plat::loadLe32(data), dest);
    }
    case PROF_TYPE_STRING: {
      if (length % 2 != 0) return PROF_INVALID_PARAMETER;
      plat::String16 text = plat::fromUtf16Le(std::string_view(reinterpret_cast<const char*>(data), length));
      while (!text.empty() && text.back() == u'\0') text.pop_back();
      // A NUL inside the text could not be written without cutting it.
      if (text.find(u'\0') != plat::String16::npos) return PROF_INVALID_PARAMETER;
      return OrvSetProfString(name, text.c_str(), dest);
    }
    case PROF_TYPE_BINARY:
      return OrvSetProfBinary(name, data, length, dest);
    default:
      return PROF_NOT_SUPPORTED;
  }
}

bool ValueExists(const char16_t* name, COrvProfDesc* desc) {
  unsigned length = 0;
  int type = 0;
  return OrvGetProfValue(name, nullptr, &length, &type, desc) == PROF_OK;
}

// Copies one value; false when it could not be read or written.
bool CopyValue(const plat::String16& name, COrvProfDesc* dest, COrvProfDesc* source, ProfCopyMode mode) {
  if (mode == ProfCopyMode::KeepExisting && ValueExists(name.c_str(), dest)) return true;
  unsigned length = 0;
  int type = 0;
  if (OrvGetProfValue(name.c_str(), nullptr, &length, &type, source) != PROF_OK) return false;
  // Two spare bytes, so a value that grew a little meanwhile still fits.
  std::vector<std::uint8_t> buffer(std::size_t(length) + 2);
  length = unsigned(buffer.size());
  if (OrvGetProfValue(name.c_str(), buffer.data(), &length, &type, source) != PROF_OK) return false;
  if (length > buffer.size()) return false;
  const int rc = dest->IsIni() ? SetIniValue(name.c_str(), buffer.data(), length, type, dest)
                               : OrvSetProfValue(name.c_str(), buffer.data(), length, type, dest);
  return rc == PROF_OK;
}

// True when dest names a section strictly below src in the same store: copying would walk into
// its own copies without end.
bool LiesBelow(const COrvProfDesc& dest, const COrvProfDesc& src) {
  if (dest.IsIni() != src.IsIni()) return false;
  if (dest.IsIni() && !plat::equalsNoCase(dest.GetRoot(), src.GetRoot())) return false;
  plat::String16 relative;
  return RelativeProfName(src.GetPath(), dest.GetPath(), &relative) && !relative.empty();
}

}  // namespace

int EnumProfValueName(int index, COrvProfDesc* desc, plat::String16* name, int* type) {
  int valueType = 0;
  const int rc = EnumName(name, [&](char16_t* buffer, unsigned cch) {
    return OrvEnumProfValue(index, buffer, cch, &valueType, desc);
  });
  if (type) *type = valueType;
  return rc;
}

CProfTreeWalker::~CProfTreeWalker() { Reset(); }

void CProfTreeWalker::Reset() {
  // Deepest first, so each section is closed before its parent.
  while (!m_stack.empty()) m_stack.pop_back();
  m_valueIndex = -1;
}

void CProfTreeWalker::NoteError(int code) {
  if (m_error == 0) m_error = code;
}

bool CProfTreeWalker::Start(const COrvProfDesc* root) {
  Reset();
  m_error = 0;
  m_rootPath.clear();
  if (!root) return false;
  auto desc = std::make_unique<COrvProfDesc>(*root);
  if (desc->Open(PROF_MODE_OPEN) != PROF_OK) return false;
  m_rootPath = desc->GetPath();
  m_stack.push_back(Level{std::move(desc), 0});
  m_valueIndex = -1;
  return true;
}

bool CProfTreeWalker::NextSubsection(Level& top, plat::String16* name) {
  plat::String16 child;
  const int rc = EnumName(&child, [&](char16_t* buffer, unsigned cch) {
    return OrvEnumProfSection(top.nextSubsection, buffer, cch, top.desc.get());
  });
  if (rc != PROF_OK) {
    if (rc != PROF_NO_MORE_ITEMS) NoteError(rc);
    return false;
  }
  ++top.nextSubsection;
  auto desc = std::make_unique<COrvProfDesc>(*top.desc);
  desc->AddSubSection(child.c_str());
  // A subsection that cannot be opened is still reported (and walked through temporary opens),
  // but the walk no longer counts as complete.
  const int openRc = desc->Open(PROF_MODE_OPEN);
  if (openRc != PROF_OK) NoteError(openRc);
  *name = desc->GetPath();
  m_stack.push_back(Level{std::move(desc), 0});  // top is invalid from here on
  return true;
}

bool CProfTreeWalker::NextValue(Level& top, plat::String16* name, int* type) {
  plat::String16 value;
  int valueType = 0;
  const int rc = EnumName(&value, [&](char16_t* buffer, unsigned cch) {
    return OrvEnumProfValue(m_valueIndex, buffer, cch, &valueType, top.desc.get());
  });
  if (rc != PROF_OK) {
    if (rc != PROF_NO_MORE_ITEMS) NoteError(rc);
    return false;
  }
  ++m_valueIndex;
  *name = plat::SectionPath(top.desc->GetPath()).child(value).text();
  *type = valueType;
  return true;
}

bool CProfTreeWalker::Next(plat::String16* name, bool* isSection, int* type) {
  plat::String16 itemName;
  int itemType = 0;
  while (!m_stack.empty()) {
    if (m_valueIndex < 0) {
      if (NextSubsection(m_stack.back(), &itemName)) {
        if (name) *name = std::move(itemName);
        if (isSection) *isSection = true;
        if (type) *type = PROF_TYPE_NONE;
        return true;
      }
      m_valueIndex = 0;
      continue;
    }
    if (NextValue(m_stack.back(), &itemName, &itemType)) {
      if (name) *name = std::move(itemName);
      if (isSection) *isSection = false;
      if (type) *type = itemType;
      return true;
    }
    // The top section is done: back to its parent's subsections.
    m_valueIndex = -1;
    m_stack.pop_back();
  }
  return false;
}

bool RelativeProfName(const plat::String16& rootPath, const plat::String16& itemName, plat::String16* relative) {
  plat::SectionPath rest;
  if (!plat::SectionPath(rootPath).below(itemName, &rest)) return false;
  *relative = rest.text();
  return true;
}

bool CopyProfTree(COrvProfDesc* dest, const COrvProfDesc* src, ProfCopyMode mode) {
  if (!dest || !src) return false;
  if (LiesBelow(COrvProfDesc(*dest), COrvProfDesc(*src))) return false;
  CProfTreeWalker walker;
  if (!walker.Start(src)) return true;
  // Values are read through a closed copy of src, whose path is the walker's own.
  COrvProfDesc source(*src);
  bool ok = true;
  plat::String16 name, relative;
  bool isSection = false;
  int type = 0;
  while (walker.Next(&name, &isSection, &type)) {
    if (!RelativeProfName(walker.RootPath(), name, &relative)) {
      ok = false;
      continue;
    }
    if (isSection) {
      COrvProfDesc section(*dest);
      section.AddSubSection(relative.c_str());
      if (section.Create(PROF_MODE_ALL, 0) != PROF_OK) ok = false;
    } else if (!CopyValue(relative, dest, &source, mode)) {
      ok = false;
    }
  }
  if (walker.Error() != 0) ok = false;
  walker.Reset();
  return ok;
}

bool DeleteProfTree(const COrvProfDesc* desc) {
  if (!desc) return false;
  bool ok = true;
  std::vector<plat::String16> sections;
  {
    CProfTreeWalker walker;
    if (walker.Start(desc)) {
      plat::String16 name, relative;
      bool isSection = false;
      while (walker.Next(&name, &isSection, nullptr)) {
        if (!isSection) continue;
        if (RelativeProfName(walker.RootPath(), name, &relative))
          sections.push_back(relative);
        else
          ok = false;
      }
      if (walker.Error() != 0) ok = false;
    }
  }  // every section of the walk is closed before anything is deleted
  // Longest path first (walk order among equals): a section has no subsections left when it goes.
  std::stable_sort(sections.begin(), sections.end(),
                   [](const plat::String16& a, const plat::String16& b) { return a.size() > b.size(); });
  for (const auto& relative : sections) {
    COrvProfDesc section(*desc);
    section.AddSubSection(relative.c_str());
    if (OrvDeleteProfSection(&section) != PROF_OK) ok = false;
  }
  COrvProfDesc self(*desc);
  if (OrvDeleteProfSection(&self) != PROF_OK) ok = false;
  return ok;
}
