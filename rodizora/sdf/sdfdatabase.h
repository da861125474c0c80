#pragma once
// The structure database: an SD file (MDL molfile records, each ended by a line holding "$$$$"),
// indexed once and kept open; a record is copied out on demand when a spectrum whose file name
// matches its identifier is opened.
//
// A record's identifier is the value line after a line holding the tag "<" + field + ">" (the
// identifier field, "IDNUMBER" by default), cut at its first line end and without everything up
// to the first "\" or "/". Identifiers are kept with the record they were found in, so a record
// without one shifts nothing; empty identifiers are not kept. The tag is found in any case. Lines
// of any length are read whole and offsets are exact, with or without carriage returns; a
// truncated file gives the records it holds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/types.h"

class CSdfDatabase {
 public:
  CSdfDatabase() = default;
  ~CSdfDatabase();
  CSdfDatabase(const CSdfDatabase&) = delete;
  CSdfDatabase& operator=(const CSdfDatabase&) = delete;

  // Closes the database open before and indexes the file at path; false when it cannot be opened.
  bool Load(const plat::String16& path, const plat::String16& field);
  // Copies the record that matches name into a new temporary file and returns its path: the first
  // record whose identifier equals name without regard to case, else the first whose identifier
  // occurs inside name (a full path holding the identifier). With keepIdentifier false the tag
  // line and its value line are left out. The copy stops before the record's "$$$$" line. The
  // file ("kedrus" and a unique part, in the temporary folder) is the caller's to delete. Empty
  // when nothing matches or the copy cannot be written.
  plat::String16 ExtractRecord(std::u16string_view name, bool keepIdentifier) const;

  // The number of identifiers (the molecules the load message counts).
  std::size_t IdentifierCount() const { return m_identifiers.size(); }

 private:
  struct Identifier {
    std::string upper;       // the identifier, upper-cased
    std::size_t record;      // index into m_recordStarts
  };
  void Close();
  const Identifier* Match(std::u16string_view name) const;
  bool CopyRecord(std::size_t record, bool keepIdentifier, std::FILE* out) const;

  int m_fd = -1;
  std::string m_tag;
  std::vector<std::uint64_t> m_recordStarts;
  std::vector<Identifier> m_identifiers;
};

// The database's settings, read from the program's default profile section at the point of use:
// "IDField" (default "IDNUMBER") and "ShowID" (default 1).
plat::String16 SdfIdField();
bool SdfShowId();
// Writes both (the settings dialog); false when one could not be written.
bool WriteSdfSettings(const plat::String16& idField, bool showId);
