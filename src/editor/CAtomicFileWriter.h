#pragma once

#include <string>
#include <string_view>

// Replaces a file so that its old or its new content is on disk at every moment: the new
// content goes to a temporary file in the same folder, is flushed to the disk and then renamed
// over the old file in one step. A read-only target is refused before anything is written.
class CAtomicFileWriter {
public:
    explicit CAtomicFileWriter(std::string path);
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

private:
    bool Flush();
    bool CreateTemporary(const std::string& folder);

    std::string targetPath;
    std::string temporaryPath;
    std::string keptPath;
    std::string pending;
    int fd = -1;
    bool failed = false;
    bool committed = false;
};
