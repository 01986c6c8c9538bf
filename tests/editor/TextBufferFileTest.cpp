#include "EditorTestFiles.h"
#include "editor/CTextBuffer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<std::string> Lines(const CTextBuffer& buffer) {
    std::vector<std::string> lines;
    for (int line = 0; line < buffer.LineCount(); ++line) {
        lines.push_back(Line(buffer, line));
    }
    return lines;
}

struct LoadCase {
    const char* name;
    std::string bytes;
    int requestedStyle;
    int style;
    std::vector<std::string> lines;
};

const std::string block(LineEnd::detectionBlockSize, 'x');

const LoadCase loadCases[] = {
    {"EmptyFile", "", -1, 0, {""}},
    {"CrLf", "a\r\nb\r\n", -1, 0, {"a", "b", ""}},
    {"Lf", "a\nb", -1, 2, {"a", "b"}},
    {"LfCr", "a\n\rb", -1, 1, {"a", "b"}},
    {"CrInsideCrLfLine", "a\r\r\nb", -1, 0, {"a\r\r\nb"}},
    {"LoneCrStaysInLfLine", "a\rb\nc", -1, 2, {"a\rb", "c"}},
    {"MismatchedByteIsNotRetried", "a\n\rb\n\n\rc", -1, 1, {"a", "b\n\n\rc"}},
    {"LfInsideCrLfFile", "a\r\nb\nc\r\n", -1, 0, {"a", "b\nc", ""}},
    {"OtherBytesKept", "\tx\x01\xff\r\n", -1, 0, {"\tx\x01\xff", ""}},
    {"RequestedStyleWins", "a\r\nb", 2, 2, {"a\r", "b"}},
    {"NoLfInFirstBlock", block + "\nb", -1, 0, {block + "\nb"}},
    {"CrJustOutsideFirstBlock", block.substr(1) + "\n\ry", -1, 2, {block.substr(1), "\ry"}},
    {"CrAtEndOfFirstBlock", block.substr(2) + "\n\ry", -1, 1, {block.substr(2), "y"}},
    {"Cr", "a\rb\r", -1, 3, {"a", "b", ""}},
    {"EmptyLinesBetweenCrs", "a\r\rb", -1, 3, {"a", "", "b"}},
    {"CrWithoutLfInFirstBlock", "a\r" + block + "\nb", -1, 3, {"a", block + "\nb"}},
    {"NulStaysInItsLine", "MZ\0\x01\r\n\0"s, -1, 0, {"MZ\0\x01"s, "\0"s}},
};

class LoadAndSave : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadAndSave, CutsLinesAndWritesTheSameBytesBack) {
    const LoadCase& row = GetParam();
    TempFolder folder;
    const std::string path = folder.File("source.85");
    WriteBytes(path, row.bytes);

    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadText(path, row.requestedStyle));
    EXPECT_EQ(buffer.LineEndStyle(), row.style);
    EXPECT_EQ(Lines(buffer), row.lines);
    EXPECT_FALSE(buffer.IsModified());

    const std::string copy = folder.File("copy.85");
    ASSERT_TRUE(buffer.SaveText(copy));
    EXPECT_EQ(ReadBytes(copy), row.bytes);
}

INSTANTIATE_TEST_SUITE_P(Bytes, LoadAndSave, testing::ValuesIn(loadCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TextBufferSave, WritesTheRequestedLineEndsAndNoneAfterTheLastLine) {
    TempFolder folder;
    const std::string path = folder.File("a.85");
    WriteBytes(path, "one\r\ntwo\r\n");
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadText(path));
    const std::pair<int, std::string> rows[] = {
        {0, "one\r\ntwo\r\n"}, {1, "one\n\rtwo\n\r"}, {2, "one\ntwo\n"}, {3, "one\rtwo\r"}};
    for (const auto& [style, bytes] : rows) {
        ASSERT_TRUE(buffer.SaveText(path, style)) << style;
        EXPECT_EQ(ReadBytes(path), bytes) << style;
    }
    EXPECT_FALSE(buffer.SaveText(path, 4));
    EXPECT_EQ(ReadBytes(path), "one\rtwo\r");
}

TEST(LineEnd, LabelsNameTheLineEndsTheyStandFor) {
    const std::pair<std::string, std::string> rows[] = {
        {"\r\n", "DOS"}, {"\n\r", "LF CR"}, {"\n", "UNIX"}, {"\r", "MAC"}};
    for (int style = 0; style < LineEnd::Count; ++style) {
        EXPECT_EQ(LineEnd::Text(style), rows[style].first) << style;
        EXPECT_EQ(LineEnd::Label(style), rows[style].second) << style;
    }
    EXPECT_EQ(LineEnd::Label(-1), "");
    EXPECT_EQ(LineEnd::Label(LineEnd::Count), "");
}

TEST(TextBufferSave, KeepsPermissionsAndSavesThroughALink) {
    TempFolder folder;
    const std::string path = folder.File("a.85");
    const std::string link = folder.File("link.85");
    WriteBytes(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);

    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadText(link));
    int endLine = 0;
    int endChar = 0;
    ASSERT_TRUE(buffer.InsertChars(nullptr, 0, 3, "\r\nnew", endLine, endChar));
    ASSERT_TRUE(buffer.SaveText(link));

    EXPECT_EQ(ReadBytes(path), "old\r\nnew");
    struct stat status {};
    ASSERT_EQ(lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2);
}

TEST(TextBufferSave, ReleasedBufferDoesNotEmptyTheFile) {
    TempFolder folder;
    const std::string path = folder.File("a.85");
    WriteBytes(path, "keep me");
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadText(path));
    buffer.ReleaseAll();
    EXPECT_FALSE(buffer.SaveText(path));
    EXPECT_EQ(ReadBytes(path), "keep me");
}

TEST(TextBufferSave, FolderThatTakesNoFileFailsAndCreatesNothing) {
    TempFolder folder;
    const std::string notAFolder = folder.File("plain");
    WriteBytes(notAFolder, "x");
    CTextBuffer buffer;
    buffer.StartEmpty();
    EXPECT_FALSE(buffer.SaveText(notAFolder + "/a.85"));
    EXPECT_TRUE(buffer.KeptTemporaryPath().empty());

    if (geteuid() != 0) {
        // Permission bits bind every user but root.
        const std::string locked = folder.File("locked");
        std::filesystem::create_directory(locked);
        WriteBytes(locked + "/a.85", "old");
        ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
        EXPECT_FALSE(buffer.SaveText(locked + "/a.85"));
        EXPECT_EQ(ReadBytes(locked + "/a.85"), "old");
        chmod(locked.c_str(), 0755);
    }
    EXPECT_EQ(ReadBytes(notAFolder), "x");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}),
              geteuid() != 0 ? 2 : 1);
}

// Makes a file one the user may not write: for root only the immutable attribute does that.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::string filePath) : path(std::move(filePath)) {
        active = geteuid() == 0 ? SetImmutable(true) : chmod(path.c_str(), 0444) == 0;
    }
    ~ReadOnlyFile() {
        if (active && geteuid() == 0) {
            SetImmutable(false);
        }
    }
    bool active = false;

private:
    bool SetImmutable(bool on) {
        const int fd = open(path.c_str(), O_RDONLY);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        close(fd);
        return done;
    }
    std::string path;
};

TEST(TextBufferSave, ReadOnlyFileLoadsReadOnlyAndSurvivesASave) {
    TempFolder folder;
    const std::string path = folder.File("a.85");
    WriteBytes(path, "old\r\ntext");
    const ReadOnlyFile guard(path);
    if (!guard.active) {
        GTEST_SKIP() << "this file system cannot mark a file unwritable for root";
    }
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadText(path));
    EXPECT_TRUE(buffer.IsReadOnly());
    int endLine = 0;
    int endChar = 0;
    EXPECT_FALSE(buffer.InsertChars(nullptr, 0, 0, "x", endLine, endChar));
    EXPECT_FALSE(buffer.DeleteRange(nullptr, 0, 0, 1, 1));
    EXPECT_FALSE(buffer.CanUndo());

    CTextBuffer other;
    other.StartEmpty();
    ASSERT_TRUE(other.InsertChars(nullptr, 0, 0, "new", endLine, endChar));
    EXPECT_FALSE(other.SaveText(path));
    EXPECT_EQ(ReadBytes(path), "old\r\ntext");
    EXPECT_TRUE(other.IsModified());
}

TEST(TextBufferSave, FailedRenameKeepsTheOldFileAndTheNewText) {
    TempFolder folder;
    // A folder in the file's place cannot be replaced by a file.
    const std::string path = folder.File("a.85");
    std::filesystem::create_directory(path);
    WriteBytes(path + "/inside", "old");

    CTextBuffer buffer;
    buffer.StartEmpty(2);
    int endLine = 0;
    int endChar = 0;
    ASSERT_TRUE(buffer.InsertChars(nullptr, 0, 0, "new\r\ntext", endLine, endChar));
    EXPECT_FALSE(buffer.SaveText(path));
    EXPECT_TRUE(buffer.IsModified());
    EXPECT_EQ(ReadBytes(path + "/inside"), "old");
    const std::string kept = buffer.KeptTemporaryPath();
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(std::filesystem::path(kept).parent_path(), folder.path);
    EXPECT_EQ(ReadBytes(kept), "new\ntext");
}

TEST(TextBufferLoad, BadInputFailsSaysWhyAndKeepsTheTextThatWasThere) {
    using Failure = CTextBuffer::LoadFailure;
    TempFolder folder;
    const std::string good = folder.File("good.85");
    WriteBytes(good, "kept\r\nlines");
    const std::string longLine = folder.File("long.85");
    WriteBytes(longLine, "a\r\n" + std::string(CTextBuffer::maxLineLength + 1, 'x') + "\r\nb");
    // Sparse: it takes no room on the disk.
    const std::string huge = folder.File("huge.85");
    WriteBytes(huge, "");
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 31);
    const std::string unreadable = folder.File("unreadable.85");
    WriteBytes(unreadable, "secret");
    chmod(unreadable.c_str(), 0);
    std::filesystem::create_directory(folder.File("folder.85"));
    ASSERT_EQ(mkfifo(folder.File("pipe.85").c_str(), 0600), 0);

    struct Row {
        std::string path;
        Failure failure;
        std::string text;
    };
    // Root reads any file whatever its bits; this one fails on the first read even for root.
    const Row rows[] = {
        {folder.File("missing.85"), Failure::Missing, "The file does not exist."},
        {folder.File("folder.85"), Failure::NotAFile, "It is not a regular file."},
        {folder.File("pipe.85"), Failure::NotAFile, "It is not a regular file."},
        {longLine, Failure::LineTooLong, "Line 2 is longer than 1048576 characters."},
        {huge, Failure::TooLarge,
         "The file is larger than the 2147483646 bytes the editor can hold."},
        geteuid() == 0
            ? Row{"/proc/self/mem", Failure::ReadError, "The file could not be read: "}
            : Row{unreadable, Failure::NoPermission, "You have no permission to read the file."},
    };

    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadText(good));
    EXPECT_EQ(buffer.LastLoadFailure(), Failure::None);
    EXPECT_EQ(buffer.LoadFailureText(), "");
    for (const Row& row : rows) {
        EXPECT_FALSE(buffer.LoadText(row.path)) << row.path;
        EXPECT_EQ(buffer.LastLoadFailure(), row.failure) << row.path;
        EXPECT_EQ(buffer.LoadFailureText().substr(0, row.text.size()), row.text) << row.path;
        EXPECT_EQ(Lines(buffer), (std::vector<std::string>{"kept", "lines"})) << row.path;
        EXPECT_TRUE(buffer.IsInitialised());
    }
    EXPECT_FALSE(buffer.LoadText(good, LineEnd::Count));
    EXPECT_EQ(buffer.LastLoadFailure(), Failure::UnknownStyle);
    ASSERT_TRUE(buffer.LoadText(good));
    EXPECT_EQ(buffer.LoadFailureText(), "");
}

TEST(TextBufferLoad, LongestAllowedLineLoads) {
    TempFolder folder;
    const std::string path = folder.File("long.85");
    WriteBytes(path, std::string(CTextBuffer::maxLineLength, 'x') + "\r\nb");
    CTextBuffer buffer;
    ASSERT_TRUE(buffer.LoadText(path));
    EXPECT_EQ(buffer.LineCount(), 2);
    EXPECT_EQ(buffer.LineLength(0), CTextBuffer::maxLineLength);
}

} // namespace
