#include "files/CAtomicFileWriter.h"
#include "files/RegularFile.h"
#include "files/UserFolders.h"
#include "support/PrivateMounts.h"
#include "support/PromptCall.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace {

namespace fs = std::filesystem;

// A listening-free Unix socket bound at `path`; closed (the name stays) at the end.
struct SocketFile {
    explicit SocketFile(const std::string& path) {
        fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        bound = path.size() < sizeof address.sun_path &&
                bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~SocketFile() { close(fd); }
    int fd = -1;
    bool bound = false;
};

bool IsFifo(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISFIFO(status.st_mode);
}

TEST(RegularFile, OpensRegularFilesOnlyAndNeverWaits) {
    TempFolder folder;
    const std::string fifo = folder.File("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const SocketFile socketFile(folder.File("socket"));
    ASSERT_TRUE(socketFile.bound);
    fs::create_directory(folder.File("folder"));
    const std::string text = folder.Write("text", "abc");
    ASSERT_EQ(symlink(fifo.c_str(), folder.File("link to pipe").c_str()), 0);
    struct Row {
        std::string path;
        std::string problem; // empty: opens
    };
    const std::vector<Row> rows{
        {text, ""},
        {fifo, "Not a regular file (a named pipe)"},
        {folder.File("link to pipe"), "Not a regular file (a named pipe)"},
        {folder.File("socket"), "Not a regular file (a socket)"},
        {folder.File("folder"), "Not a regular file (a folder)"},
        {"/dev/null", "Not a regular file (a device)"},
        {folder.File("missing"), "No such file or directory"},
        {text + std::string(1, '\0'), "No such file or directory"},
        {"", "No such file or directory"},
    };
    for (const Row& row : rows) {
        std::string problem = "stale";
        int fd = -1;
        EXPECT_TRUE(
            ReturnsPromptly([&] { fd = RegularFile::OpenForReading(row.path, problem); }, fifo))
            << row.path;
        EXPECT_EQ(problem, row.problem) << row.path;
        EXPECT_EQ(fd >= 0, row.problem.empty()) << row.path;
        if (fd >= 0) {
            char bytes[4] = {};
            EXPECT_EQ(read(fd, bytes, sizeof bytes), 3);
            close(fd);
        }
    }
}

TEST(AtomicFileWriter, ReplacesALinkOrSavesThroughIt) {
    TempFolder folder;
    const std::string notes = folder.Write("notes.txt", "keep me");
    for (const bool replaceLink : {true, false}) {
        const std::string link = folder.File("link");
        fs::remove(link);
        ASSERT_EQ(symlink(notes.c_str(), link.c_str()), 0);
        CAtomicFileWriter writer(link, {.replaceLink = replaceLink, .durable = false});
        ASSERT_TRUE(writer.Open());
        ASSERT_TRUE(writer.Write("new"));
        ASSERT_TRUE(writer.Commit());
        if (replaceLink) {
            EXPECT_EQ(TempFolder::Read(notes), "keep me");
            EXPECT_FALSE(fs::is_symlink(link));
            EXPECT_EQ(TempFolder::Read(link), "new");
        } else {
            EXPECT_EQ(TempFolder::Read(notes), "new");
            EXPECT_TRUE(fs::is_symlink(link));
        }
        EXPECT_EQ(TempFolder::Names(folder.path), (std::vector<std::string>{"link", "notes.txt"}));
    }
}

TEST(AtomicFileWriter, RefusesWhatIsNoRegularFileWithoutWaitingOrWriting) {
    TempFolder folder;
    const std::string fifo = folder.File("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const SocketFile socketFile(folder.File("socket"));
    ASSERT_TRUE(socketFile.bound);
    fs::create_directory(folder.File("folder"));
    struct Row {
        std::string path;
        bool replaceLink;
        std::string problem;
    };
    const std::vector<Row> rows{
        {fifo, true, "Not a regular file (a named pipe)"},
        {fifo, false, "Not a regular file (a named pipe)"},
        {folder.File("socket"), true, "Not a regular file (a socket)"},
        {folder.File("socket"), false, "Not a regular file (a socket)"},
        {folder.File("folder"), true, "Not a regular file (a folder)"},
    };
    const auto before = TempFolder::Names(folder.path);
    for (const Row& row : rows) {
        CAtomicFileWriter writer(row.path, {.replaceLink = row.replaceLink, .durable = false});
        bool opened = true;
        EXPECT_TRUE(ReturnsPromptly([&] { opened = writer.Open(); }, fifo));
        EXPECT_FALSE(opened) << row.path;
        EXPECT_EQ(writer.Problem(), row.problem);
        EXPECT_FALSE(writer.NotPermitted());
        EXPECT_FALSE(writer.Commit());
    }
    EXPECT_EQ(TempFolder::Names(folder.path), before);
    EXPECT_TRUE(IsFifo(fifo));
}

TEST(AtomicFileWriter, AReadOnlyFolderIsNotPermittedAndKeepsItsFiles) {
    TempFolder folder;
    const std::string locked = folder.File("locked");
    fs::create_directory(locked);
    const std::string old = folder.Write("locked/a.txt", "old");
    const auto check = [&] {
        for (const bool replaceLink : {true, false}) {
            CAtomicFileWriter writer(old, {.replaceLink = replaceLink, .durable = true});
            EXPECT_FALSE(writer.Open());
            EXPECT_TRUE(writer.NotPermitted()) << writer.Problem();
            CAtomicFileWriter fresh(locked + "/new.txt", {.replaceLink = replaceLink});
            EXPECT_FALSE(fresh.Open());
            EXPECT_TRUE(fresh.NotPermitted()) << fresh.Problem();
        }
        EXPECT_EQ(TempFolder::Read(old), "old");
        EXPECT_EQ(TempFolder::Names(locked), std::vector<std::string>{"a.txt"});
    };
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(locked.c_str(), 0555), 0);
        check();
        return;
    }
    const auto outcome =
        PrivateMounts::Run([&] { return PrivateMounts::MakeReadOnly(locked); }, check);
    if (outcome == PrivateMounts::Outcome::Unavailable) {
        GTEST_SKIP() << "running as root without a way to mount a read-only folder";
    }
    EXPECT_EQ(outcome, PrivateMounts::Outcome::Passed);
}

TEST(UserFolders, FollowTheXdgRules) {
    struct Row {
        const char* xdgData;  // nullptr: unset
        const char* xdgCache; // nullptr: unset
        const char* home;     // nullptr: unset
        std::optional<std::string> data;
        std::optional<std::string> cache;
    };
    const std::vector<Row> rows{
        {"/x/data", "/x/cache", "/home/u", "/x/data", "/x/cache"},
        {nullptr, nullptr, "/home/u", "/home/u/.local/share", "/home/u/.cache"},
        {"", "", "/home/u", "/home/u/.local/share", "/home/u/.cache"},
        {"relative", "rel/cache", "/home/u", "/home/u/.local/share", "/home/u/.cache"},
        {nullptr, nullptr, nullptr, std::nullopt, std::nullopt},
        {nullptr, nullptr, "", std::nullopt, std::nullopt},
        {"data", "cache", "home", std::nullopt, std::nullopt},
        {"/x/data", nullptr, nullptr, "/x/data", std::nullopt},
    };
    const auto saved = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    };
    const char* names[] = {"XDG_DATA_HOME", "XDG_CACHE_HOME", "HOME"};
    std::optional<std::string> before[3];
    for (int i = 0; i < 3; ++i) {
        before[i] = saved(names[i]);
    }
    for (const Row& row : rows) {
        const char* values[] = {row.xdgData, row.xdgCache, row.home};
        for (int i = 0; i < 3; ++i) {
            if (values[i] != nullptr) {
                setenv(names[i], values[i], 1);
            } else {
                unsetenv(names[i]);
            }
        }
        EXPECT_EQ(UserFolders::DataHome(), row.data);
        EXPECT_EQ(UserFolders::CacheHome(), row.cache);
    }
    for (int i = 0; i < 3; ++i) {
        if (before[i]) {
            setenv(names[i], before[i]->c_str(), 1);
        } else {
            unsetenv(names[i]);
        }
    }
}

TEST(UserFolders, MakeFoldersCreatesPrivateFoldersAndRefusesAFile) {
    TempFolder folder;
    const std::string deep = folder.File("a/b/c");
    ASSERT_TRUE(UserFolders::MakeFolders(deep));
    EXPECT_TRUE(fs::is_directory(deep));
    struct stat status {};
    ASSERT_EQ(stat(deep.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0077, 0u);
    EXPECT_TRUE(UserFolders::MakeFolders(deep)) << "an existing folder is fine";
    const std::string file = folder.Write("plain", "x");
    EXPECT_FALSE(UserFolders::MakeFolders(file));
    EXPECT_FALSE(UserFolders::MakeFolders(file + "/below"));
    EXPECT_EQ(TempFolder::Read(file), "x");
}

} // namespace
