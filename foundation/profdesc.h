#pragma once
// COrvProfDesc names one section of the profile store: a root (registry root text, or the INI
// file's path), a section path inside it, whether the section lives in an INI file, and whether
// writes may create it. Every caller of the profile exports builds one and hands it to each
// call; the profile library calls back into its virtual operations for the path and flags, to
// attach and detach its store while a section is open, and to assign string results (so a string
// result is allocated by the caller's own module).
//
// The profile library reaches this class only through its virtual table, so the order of the
// virtual operations below is part of the library's interface: do not reorder or insert.
//
// Every module links its own copy of this code (hidden visibility), each with its own default
// root and section (set by the module's start-up object).
#include "platform/base/types.h"

namespace dorlin {
class COrvComDesc;
}

class COrvProfDesc {
 public:
  // Empty root and section (so the module's defaults), auto-create on, registry store.
  COrvProfDesc();
  // Root and section read from other through its virtual operations; the section is made
  // absolute ("\" in front), flags copied, no store.
  COrvProfDesc(const COrvProfDesc& other);
  // One combined text "root\\section" (see SetCombinedPath).
  explicit COrvProfDesc(const char16_t* combined);
  COrvProfDesc(const char16_t* root, const char16_t* section);
  COrvProfDesc& operator=(const COrvProfDesc&) = delete;

  // Closes the open section (if any).
  virtual ~COrvProfDesc();

  // Closes, then takes root and section from a combined text (SplitCombinedPath) and rebuilds
  // the full path.
  virtual void AssignCombinedPath(const char16_t* text);
  // Closes; root and section from other (section made absolute); flags stay.
  virtual void Copy(const COrvProfDesc* other);
  // Closes; appends "\" (unless the section already ends with one) and name to the section.
  virtual void AddSubSection(const char16_t* name);
  // Same as GetPath; it keeps its own slot in the table.
  virtual const char16_t* GetCurrentPath() const;
  virtual void SetRootAndSection(const char16_t* root, const char16_t* section);
  // Closes; a text holding "\\" gives root (before it) and section (from the second "\" on);
  // any other text replaces only the section.
  virtual void SetCombinedPath(const char16_t* text);
  virtual void SetRoot(const char16_t* root);
  virtual void SetSection(const char16_t* section);
  // What the profile library opens: the section path of an INI descriptor, the full key path
  // (root key name, "\", key path) of a registry descriptor.
  virtual const char16_t* GetPath() const;
  virtual const char16_t* GetRoot() const;
  virtual const char16_t* GetSection() const;
  // OrvOpenProfSection(this, mode).
  virtual int Open(int mode);
  // OrvCreateProfSection(this, mode, options).
  virtual int Create(int mode, int options);
  virtual bool IsOpen() const;
  // OrvCloseProfSection(this): 0, or 13 when no section is open.
  virtual int Close();
  virtual bool IsIni() const;
  virtual bool GetAutoCreate() const;
  // Stores the flag only.
  virtual void SetAutoCreate(bool on);
  // Stores the flag and rebuilds the full path, without closing.
  virtual void SetIni(bool on);
  virtual dorlin::COrvComDesc* GetStore() const;
  // Stores the pointer only: the profile library attaches and detaches its store through it.
  virtual void SetStore(dorlin::COrvComDesc* store);
  // *target = text (empty for null); the only way the library fills a caller's string.
  virtual void AssignString(plat::String16* target, const char16_t* text);

  // The full key path of a registry descriptor (empty for INI).
  const char16_t* GetFullPath() const { return m_fullPath.c_str(); }

 private:
  void SplitCombinedPath(const char16_t* text);
  void BuildProfPath();

  dorlin::COrvComDesc* m_store = nullptr;
  bool m_autoCreate = true;
  bool m_ini = false;
  plat::String16 m_root;
  plat::String16 m_section;
  plat::String16 m_fullPath;
  // True once the module's default section has been put in front of m_section, so a rebuild
  // never puts it there twice.
  bool m_defaultApplied = false;
};

// The module's defaults for every descriptor of this module: empty until the module's start-up
// sets them ("HKEY_CURRENT_USER\Software\" + the module's key, and the program name). A null
// text stores an empty one.
const char16_t* DefaultProfRoot();
const char16_t* DefaultProfSection();
void SetDefaultProfRoot(const char16_t* root);
void SetDefaultProfSection(const char16_t* section);

// Heap strings of 16-bit characters (new[]/delete[]).
// Frees *dst and stores a fresh copy of src (an empty string for null).
void DupProfString(char16_t** dst, const char16_t* src);
// Frees *dst and sets it to null.
void FreeProfString(char16_t** dst);
// Replaces *dst by a fresh string *dst + text.
void AppendProfString(char16_t** dst, const char16_t* text);
