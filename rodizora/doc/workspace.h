#pragma once
// The workspace: a directory holding the file "core" (one archive: a record count, then one
// record per item in document order) and the data files the spectrum and table controls write
// into it themselves.
//
// Every record starts with two magics, the item's type and subtype. A spectrum (type 1) or table
// (type 2) record always goes on with the item's rectangle and its subtype again; its data is in
// the directory under its control number (the spectrum or table records before it, counted
// from 0). Any other item follows as a CSaItem object (schema 0) with its own serialisation. A
// record with wrong magics is its 16-byte header alone and is skipped.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/archive/archive.h"

class CSaDoc;
class CSaItem;

namespace saworkspace {

inline constexpr std::uint32_t kMagic1 = 0x34890138u;
inline constexpr std::uint32_t kMagic2 = 0x91739303u;
inline constexpr char kCoreName[] = "core";

// Writes the records of the document's items into ar, and each spectrum's and table's data
// into dir. False when a control could not write its data.
bool StoreCore(const CSaDoc& doc, const std::string& dir, plat::Archive& ar);
// Loads the records of ar as new items of the document (their data from dir); every item made
// is appended to *made, and the records whose item could not be made are counted in *lost.
// Throws plat::ArchiveError on a short or damaged "core" (the items made so far are still in
// *made, for the caller to remove).
void LoadCore(CSaDoc& doc, const std::string& dir, plat::Archive& ar, std::vector<CSaItem*>* made,
              std::size_t* lost = nullptr);

// Saves the document as the workspace dir: written into a temporary sibling directory and
// swapped in whole, so a failed save leaves an old workspace (or file) at dir as it was.
bool Save(const CSaDoc& doc, const std::string& dir);
// Whether dir holds a "core" file that can be read.
bool IsWorkspace(const std::string& dir);
// Loads the workspace dir into the document. False (nothing of it left in the document) when
// its "core" cannot be read or is damaged. *lost (when given) counts the records whose item
// could not be made (their controls have said why).
bool Load(CSaDoc& doc, const std::string& dir, std::size_t* lost = nullptr);

}  // namespace saworkspace
