#pragma once

#include <string>

// Where a document can be saved. A file that came from a folder the user may not write (an
// installed example, a class share, a CD), or that nobody may write, cannot be saved in place:
// its first save is a Save As, offered in the user's own documents folder.
namespace SavePlace {

// Whether a save to `path` may replace the file where it is: the document has a path, its text
// is not read-only, and the folder takes new files (a save writes a new file beside the old one
// and renames it over).
bool CanSaveInPlace(const std::string& path, bool readOnly);

// The name offered by that Save As: the file's name in `documentsFolder` when that is a folder,
// else in `homeFolder`, else the path as it is.
std::string SuggestedPath(const std::string& path, const std::string& documentsFolder,
                          const std::string& homeFolder);

} // namespace SavePlace
