#pragma once
// Saves that never lose the old data: the new file or directory is written under a temporary
// sibling of its target and swapped in only when it is complete. Until the swap the target is
// untouched; when the swap cannot be made, the target is as it was and the temporary is gone.
#include <string>

namespace sasave {

// A temporary sibling path of target in target's folder (nothing is made there yet).
std::string TemporarySibling(const std::string& target, const char* what);
// A new, empty temporary directory beside target; empty when none can be made.
std::string MakeTemporaryDirectory(const std::string& target);
// Puts the complete `fresh` (a file or a directory of files) in place of target, which may be
// missing, a file or a directory of files. False when target is a directory holding a
// sub-directory (an old workspace with one is never replaced) or a rename fails: then target is
// unchanged and `fresh` is removed.
bool ReplaceWith(const std::string& fresh, const std::string& target);
// Removes a file, or a directory and everything in it; quietly does nothing when it is missing.
void RemovePath(const std::string& path);

}  // namespace sasave
