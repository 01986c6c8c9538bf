// Loading and saving: a file is read whole and cut into lines in place; a save writes a new file
// and puts it in the old one's place.
#include "editor/CFileReader.h"
#include "editor/CTextBuffer.h"
#include "editor/HugePages.h"
#include "files/CAtomicFileWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

// Cuts the loaded bytes into lines at each complete `lineEnd`, matched byte by byte: a byte
// that breaks a partial match is not tried again as the start of a new line end. The lines
// point into `data`. False when a line is longer than allowed; it would have been the next.
bool SplitIntoLines(char* data, std::size_t size, std::string_view lineEnd,
                    std::vector<LineRecord>& lines) {
    lines.reserve(static_cast<std::size_t>(std::count(data, data + size, lineEnd.back())) + 1);
    AdviseHugePages(lines.data(), lines.capacity() * sizeof(LineRecord));
    std::size_t lineStart = 0;
    std::size_t matched = 0;
    const auto cutLine = [&](std::size_t end) {
        if (end - lineStart > static_cast<std::size_t>(CTextBuffer::maxLineLength)) {
            return false;
        }
        lines.push_back({data + lineStart, static_cast<int>(end - lineStart), 0, 0});
        return true;
    };
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != lineEnd[matched]) {
            matched = 0;
            continue;
        }
        if (++matched == lineEnd.size()) {
            if (!cutLine(i + 1 - lineEnd.size())) {
                return false;
            }
            lineStart = i + 1;
            matched = 0;
        }
    }
    return cutLine(size);
}

CTextBuffer::LoadFailure OpenFailure(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return CTextBuffer::LoadFailure::Missing;
    case EACCES:
    case EPERM:
        return CTextBuffer::LoadFailure::NoPermission;
    default:
        return CTextBuffer::LoadFailure::ReadError;
    }
}

} // namespace

bool CTextBuffer::FailLoad(LoadFailure failure, int errorNumber) {
    loadFailure = failure;
    loadErrorNumber = errorNumber;
    return false;
}

bool CTextBuffer::LoadText(const std::string& path, int style) {
    loadFailure = LoadFailure::None;
    loadErrorNumber = 0;
    loadFailureLine = 0;
    if (style != LineEnd::Automatic && !LineEnd::IsValid(style)) {
        return FailLoad(LoadFailure::UnknownStyle);
    }
    try {
        CFileReader reader;
        if (!reader.Read(path, maxFileSize)) {
            switch (reader.LastFailure()) {
            case CFileReader::Failure::CannotOpen:
                return FailLoad(OpenFailure(reader.ErrorNumber()), reader.ErrorNumber());
            case CFileReader::Failure::NotAFile:
                return FailLoad(LoadFailure::NotAFile);
            case CFileReader::Failure::TooLarge:
                return FailLoad(LoadFailure::TooLarge);
            default:
                return FailLoad(LoadFailure::ReadError, reader.ErrorNumber());
            }
        }
        const std::size_t size = reader.Size();
        std::unique_ptr<char[]> data = reader.TakeData();
        if (style == LineEnd::Automatic) {
            style = LineEnd::Detect({data.get(), std::min(size, LineEnd::detectionBlockSize)});
        }
        std::vector<LineRecord> loaded;
        if (!SplitIntoLines(data.get(), size, LineEnd::Text(style), loaded)) {
            loadFailureLine = static_cast<int>(loaded.size()) + 1;
            return FailLoad(LoadFailure::LineTooLong);
        }
        // Only now is the old text given up, so a failed load leaves it as it was.
        ReleaseAll();
        lines = std::move(loaded);
        loadBlock = std::move(data);
        ResetAfterLoad(style, !reader.IsWritable());
    } catch (const std::bad_alloc&) {
        return FailLoad(LoadFailure::OutOfMemory);
    }
    NotifyViews(nullptr, nullptr, CTextBufferObserver::UpdateAll, -1);
    return true;
}

std::string CTextBuffer::LoadFailureText() const {
    switch (loadFailure) {
    case LoadFailure::None:
        return {};
    case LoadFailure::Missing:
        return "The file does not exist.";
    case LoadFailure::NotAFile:
        return "It is not a regular file.";
    case LoadFailure::NoPermission:
        return "You have no permission to read the file.";
    case LoadFailure::TooLarge:
        return "The file is larger than the " + std::to_string(maxFileSize) +
               " bytes the editor can hold.";
    case LoadFailure::LineTooLong:
        return "Line " + std::to_string(loadFailureLine) + " is longer than " +
               std::to_string(maxLineLength) + " characters.";
    case LoadFailure::ReadError:
        return loadErrorNumber != 0
                   ? "The file could not be read: " + std::string(std::strerror(loadErrorNumber)) +
                         "."
                   : "The file could not be read.";
    case LoadFailure::OutOfMemory:
        return "There is not enough memory to hold the file.";
    case LoadFailure::UnknownStyle:
        return "The line-end style is unknown.";
    }
    return {};
}

bool CTextBuffer::SaveText(const std::string& path, int style, bool clearModified) {
    keptTemporaryPath.clear();
    if (style == LineEnd::Automatic) {
        style = lineEndStyle;
    }
    // A released buffer holds no text; writing it would empty the file.
    if (!initialised || !LineEnd::IsValid(style)) {
        return false;
    }
    try {
        CAtomicFileWriter writer(path);
        if (!writer.Open()) {
            return false;
        }
        const std::string_view lineEnd = LineEnd::Text(style);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (!writer.Write(lines[i].View()) ||
                (i + 1 < lines.size() && !writer.Write(lineEnd))) {
                return false;
            }
        }
        if (!writer.Commit()) {
            keptTemporaryPath = writer.KeptTemporaryPath();
            return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (clearModified) {
        SetModifiedState(false);
        savedPosition = undoPosition;
    }
    return true;
}
