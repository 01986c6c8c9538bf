#pragma once

#include <optional>
#include <string>

// The user's own folders as the XDG base directory rules name them: a variable counts only when
// it holds an absolute path, else the folder under $HOME is used. Nothing when neither gives an
// absolute path, so that no file lands in whatever the current folder happens to be.
namespace UserFolders {

// $XDG_DATA_HOME, else $HOME/.local/share.
std::optional<std::string> DataHome();
// $XDG_CACHE_HOME, else $HOME/.cache.
std::optional<std::string> CacheHome();

// Creates `folder` and the folders above it that are missing; new ones are for the user alone.
// True when it exists as a folder afterwards.
bool MakeFolders(const std::string& folder);

} // namespace UserFolders
