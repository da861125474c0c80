#include "foundation/profdesc.h"

#include <cstring>
#include <string_view>

#include "platform/base/sectionpath.h"
#include "platform/base/text.h"
#include "profile/profile.h"

namespace {

// This module's defaults; hidden visibility keeps them private to the module.
plat::String16& defaultRoot() {
  static plat::String16 text;
  return text;
}

plat::String16& defaultSection() {
  static plat::String16 text;
  return text;
}

std::u16string_view viewOf(const char16_t* text) {
  return text ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

const char16_t* DefaultProfRoot() { return defaultRoot().c_str(); }
const char16_t* DefaultProfSection() { return defaultSection().c_str(); }
void SetDefaultProfRoot(const char16_t* root) { defaultRoot() = viewOf(root); }
void SetDefaultProfSection(const char16_t* section) { defaultSection() = viewOf(section); }

void DupProfString(char16_t** dst, const char16_t* src) {
  if (!dst) return;
  const std::size_t length = plat::length16(src);
  auto* copy = new char16_t[length + 1];
  if (length) std::memcpy(copy, src, length * sizeof(char16_t));
  copy[length] = 0;
  delete[] *dst;
  *dst = copy;
}

void FreeProfString(char16_t** dst) {
  if (!dst) return;
  delete[] *dst;
  *dst = nullptr;
}

void AppendProfString(char16_t** dst, const char16_t* text) {
  if (!dst) return;
  const std::size_t head = plat::length16(*dst);
  const std::size_t tail = plat::length16(text);
  auto* joined = new char16_t[head + tail + 1];
  if (head) std::memcpy(joined, *dst, head * sizeof(char16_t));
  if (tail) std::memcpy(joined + head, text, tail * sizeof(char16_t));
  joined[head + tail] = 0;
  delete[] *dst;
  *dst = joined;
}

COrvProfDesc::COrvProfDesc() { BuildProfPath(); }

COrvProfDesc::COrvProfDesc(const COrvProfDesc& other)
    : m_autoCreate(other.GetAutoCreate()), m_ini(other.IsIni()), m_root(viewOf(other.GetRoot())) {
  m_section = plat::SectionPath(viewOf(other.GetSection())).absolute().text();
  BuildProfPath();
}

COrvProfDesc::COrvProfDesc(const char16_t* combined) {
  SplitCombinedPath(combined);
  BuildProfPath();
}

COrvProfDesc::COrvProfDesc(const char16_t* root, const char16_t* section)
    : m_root(viewOf(root)), m_section(viewOf(section)) {
  BuildProfPath();
}

COrvProfDesc::~COrvProfDesc() { COrvProfDesc::Close(); }

void COrvProfDesc::AssignCombinedPath(const char16_t* text) {
  Close();
  SplitCombinedPath(text);
  // Rebuilt at once, so the descriptor never opens the path it had before.
  BuildProfPath();
}

void COrvProfDesc::Copy(const COrvProfDesc* other) {
  Close();
  if (!other || other == this) {
    BuildProfPath();
    return;
  }
  plat::String16 root(viewOf(other->GetRoot()));
  plat::String16 section = plat::SectionPath(viewOf(other->GetSection())).absolute().text();
  m_root = std::move(root);
  m_section = std::move(section);
  m_defaultApplied = false;
  BuildProfPath();
}

void COrvProfDesc::AddSubSection(const char16_t* name) {
  Close();
  // The section already holds the default section (if it was applied), so the rebuild below
  // leaves it alone.
  m_section = plat::SectionPath(m_section).child(viewOf(name)).text();
  BuildProfPath();
}

const char16_t* COrvProfDesc::GetCurrentPath() const { return GetPath(); }

void COrvProfDesc::SetRootAndSection(const char16_t* root, const char16_t* section) {
  Close();
  m_root = viewOf(root);
  m_section = viewOf(section);
  m_defaultApplied = false;
  BuildProfPath();
}

void COrvProfDesc::SetCombinedPath(const char16_t* text) {
  Close();
  SplitCombinedPath(text);
  BuildProfPath();
}

void COrvProfDesc::SetRoot(const char16_t* root) {
  Close();
  m_root = viewOf(root);
  BuildProfPath();
}

void COrvProfDesc::SetSection(const char16_t* section) {
  Close();
  m_section = viewOf(section);
  m_defaultApplied = false;
  BuildProfPath();
}

const char16_t* COrvProfDesc::GetPath() const { return m_ini ? m_section.c_str() : m_fullPath.c_str(); }
const char16_t* COrvProfDesc::GetRoot() const { return m_root.c_str(); }
const char16_t* COrvProfDesc::GetSection() const { return m_section.c_str(); }

int COrvProfDesc::Open(int mode) { return OrvOpenProfSection(this, mode); }
int COrvProfDesc::Create(int mode, int options) { return OrvCreateProfSection(this, mode, options); }
bool COrvProfDesc::IsOpen() const { return m_store != nullptr; }
int COrvProfDesc::Close() { return OrvCloseProfSection(this); }
bool COrvProfDesc::IsIni() const { return m_ini; }
bool COrvProfDesc::GetAutoCreate() const { return m_autoCreate; }
void COrvProfDesc::SetAutoCreate(bool on) { m_autoCreate = on; }

void COrvProfDesc::SetIni(bool on) {
  m_ini = on;
  BuildProfPath();
}

dorlin::COrvComDesc* COrvProfDesc::GetStore() const { return m_store; }
void COrvProfDesc::SetStore(dorlin::COrvComDesc* store) { m_store = store; }

void COrvProfDesc::AssignString(plat::String16* target, const char16_t* text) {
  if (target) *target = viewOf(text);
}

void COrvProfDesc::SplitCombinedPath(const char16_t* text) {
  plat::SectionPath root, section;
  if (plat::SectionPath::splitCombined(viewOf(text), &root, &section)) {
    m_root = root.text();
    m_section = section.text();
  } else {
    m_section = viewOf(text);
  }
  m_defaultApplied = false;
}

void COrvProfDesc::BuildProfPath() {
  const plat::String16& defSection = defaultSection();
  if (!m_defaultApplied && !defSection.empty()) {
    if (m_section.empty()) {
      m_section = defSection;
      m_defaultApplied = true;
    } else if (!plat::SectionPath(m_section).isAbsolute()) {
      m_section = plat::SectionPath(defSection).join(m_section).text();
      m_defaultApplied = true;
    }
  }
  if (m_root.empty()) m_root = defaultRoot();

  if (m_ini) {
    m_fullPath.clear();
    return;
  }
  plat::SectionPath full = plat::SectionPath(m_root).join(m_section);
  if (!plat::startsWithNoCase(full.text(), u"HKEY_"))
    full = plat::SectionPath(u"HKEY_LOCAL_MACHINE\\").join(full.text());
  m_fullPath = full.text();
}
