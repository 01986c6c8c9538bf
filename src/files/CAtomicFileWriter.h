#pragma once

#include <string>
#include <string_view>

// Replaces a file so that its old or its new content is on disk at every moment: the new
// content goes to a temporary file in the same folder and is then renamed over the old file in
// one step, so a reader never sees half a file. A read-only target, or one that is not a regular
// file (a named pipe, a device, a socket), is refused before anything is written.
class CAtomicFileWriter {
public:
    struct Options {
        // A link at the path: saved through to the file it names (the link survives), or
        // replaced by the new file (whatever it named stays untouched).
        bool replaceLink = false;
        // Flushed to the disk before the rename; files that are made anew at every use may do
        // without.
        bool durable = true;
    };

    explicit CAtomicFileWriter(std::string path) : CAtomicFileWriter(std::move(path), Options{}) {}
    CAtomicFileWriter(std::string path, Options chosen);
    CAtomicFileWriter(const CAtomicFileWriter&) = delete;
    CAtomicFileWriter& operator=(const CAtomicFileWriter&) = delete;
    // Removes the temporary file unless it was committed or kept.
    ~CAtomicFileWriter();

    // Creates the temporary file with the old file's permissions; false when the target may not
    // be written or the folder takes no new file.
    bool Open();
    bool Write(std::string_view bytes);
    // Puts the new content in place. When only the final rename fails, the temporary file
    // stays, holding the whole new content, and KeptTemporaryPath() names it.
    bool Commit();

    const std::string& KeptTemporaryPath() const { return keptPath; }
    // Why the last step failed: the system's reason, or what stands at the path.
    const std::string& Problem() const { return problem; }
    // Whether Open failed only because this user may not write there (permissions, a read-only
    // file system): the file could go somewhere else.
    bool NotPermitted() const { return notPermitted; }

private:
    bool Flush();
    bool CreateTemporary(const std::string& folder);
    bool Fail(int error);

    std::string targetPath;
    Options options;
    std::string temporaryPath;
    std::string keptPath;
    std::string pending;
    std::string problem;
    int fd = -1;
    bool failed = false;
    bool committed = false;
    bool notPermitted = false;
};
