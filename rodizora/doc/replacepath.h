#pragma once
// Saves that never lose the old data: the new file or directory is written under a temporary
// sibling of its target and swapped in only when it is complete. At every moment the target
// holds the old data or the new, wherever the program stops: a file goes over a file by one
// rename; anything else is swapped with the target in one step, or, where the file system
// cannot, the old data is renamed aside and the new renamed in, and a stop between the two is
// mended by the next open or save of the target (TidyTarget), which puts the old data back.
//
// Temporary siblings are named ".<name>.saving-<token>" (a save's new data) and
// ".<name>.old-<token>" (the old data moved aside); the token tells whether the program that
// made them still runs, so their leftovers are removed once that program is gone.
#include <string>

namespace sasave {

// A temporary sibling path of target in target's folder (nothing is made there yet); what is
// "saving" or "old".
std::string TemporarySibling(const std::string& target, const char* what);
// A new, empty temporary directory beside target; empty when none can be made.
std::string MakeTemporaryDirectory(const std::string& target);
// Puts the complete `fresh` (a file or a directory of files) in place of target, which may be
// missing, a file or a directory of files. False when target is a directory holding a
// sub-directory (an old workspace with one is never replaced) or a rename fails: then target is
// unchanged and `fresh` is removed.
bool ReplaceWith(const std::string& fresh, const std::string& target);
// What stopped saves of target left behind: when target is missing, the old data that a save
// had moved aside comes back; then the temporary siblings whose makers are gone are removed.
// Opens and saves of target run it first.
void TidyTarget(const std::string& target);
// Removes a file, or a directory and everything in it; quietly does nothing when it is missing.
void RemovePath(const std::string& path);

}  // namespace sasave
