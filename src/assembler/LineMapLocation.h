#pragma once

#include <optional>
#include <string>

// Where the line map of a source goes. Beside the source ("prog.85" -> "prog.85.debug") when
// its folder takes it; otherwise in the user's cache folder ($XDG_CACHE_HOME/zorvan, else
// ~/.cache/zorvan), one file per source path, so that programs in read-only folders (installed
// examples, a class share, a disc) still compile and debug.
namespace LineMapLocation {

// "<source>.debug".
std::string BesideSource(const std::string& sourcePath);

// The cache folder's file for `sourcePath`: the source's base name, a hash of its absolute path
// and ".debug", so two sources of the same name in different folders never share one. Nothing
// when the user has no cache folder (no absolute XDG_CACHE_HOME or HOME).
std::optional<std::string> InCache(const std::string& sourcePath);

} // namespace LineMapLocation
