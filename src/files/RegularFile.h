#pragma once

#include <string>
#include <sys/types.h>

// Opening a path the user chose without ever waiting on it: a named pipe without a writer, a
// terminal or a device must not hold up the caller, so the open never blocks and anything but a
// regular file is turned away.
namespace RegularFile {

// Opens `path` for reading (close-on-exec). Returns the descriptor, or -1 with `problem` set to
// why: the system's reason, or what else stands at the path.
int OpenForReading(const std::string& path, std::string& problem);
// The same, with the system's error number of a failed open in `error` (0 when the path holds
// something other than a regular file).
int OpenForReading(const std::string& path, std::string& problem, int& error);

// What a file of this type is, for a message: "a folder", "a named pipe", "a device", "a socket";
// empty for a regular file.
std::string KindOf(mode_t mode);

// "Not a regular file (a named pipe)" and the like.
std::string NotRegularProblem(mode_t mode);

} // namespace RegularFile
