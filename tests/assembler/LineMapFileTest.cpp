#include "AssemblerFixture.h"
#include "assembler/CdebugData.h"
#include "assembler/LineMapLocation.h"
#include "support/PrivateMounts.h"
#include "support/PromptCall.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

// The ".debug" file on disk: written only by replacing, never through a link or into a pipe,
// read back only from a regular file, and put in the user's cache folder when the source's own
// folder may not be written.

namespace {

namespace fs = std::filesystem;

const std::string program = "        mvi a, 1\n"
                            "; a comment\n"
                            "loop:   dcr a\n"
                            "        jnz loop\n"
                            "        hlt\n";
const std::string programMap = "0 1 2 3 3 4 6 5 ";

// Sets or clears an environment variable for the life of the object.
class Variable {
public:
    Variable(const char* variableName, const char* value) : name(variableName) {
        if (const char* old = std::getenv(name)) {
            previous = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~Variable() {
        if (previous) {
            setenv(name, previous->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;

private:
    const char* name;
    std::optional<std::string> previous;
};

CMyException CompileError(AssemblerFixture& fixture, const std::string& source) {
    try {
        fixture.parser.Compile(source);
    } catch (const CMyException& error) {
        return error;
    }
    ADD_FAILURE() << "compiled " << source;
    return CMyException();
}

TEST(LineMapFile, ALinkAtItsPathIsReplacedAndWhatItNamedIsKept) {
    TempFolder folder;
    const std::string source = folder.Write("prog.85", program);
    const std::string notes = folder.Write("notes.txt", "my notes");
    // A link to another file, to the source itself, and to a file that is not there yet.
    for (const std::string& target : {notes, source, folder.File("nowhere")}) {
        fs::remove(source + ".debug");
        ASSERT_EQ(symlink(target.c_str(), (source + ".debug").c_str()), 0);
        AssemblerFixture fixture;
        EXPECT_EQ(fixture.parser.Compile(source), 0);
        EXPECT_EQ(fixture.parser.GetDebugPath(), source + ".debug");
        EXPECT_FALSE(fixture.parser.LineMapInCache());
        EXPECT_FALSE(fs::is_symlink(source + ".debug")) << target;
        EXPECT_EQ(TempFolder::Read(source + ".debug"), programMap);
        EXPECT_EQ(TempFolder::Read(notes), "my notes");
        EXPECT_EQ(TempFolder::Read(source), program);
        EXPECT_FALSE(fs::exists(folder.File("nowhere")));
    }
    EXPECT_EQ(TempFolder::Names(folder.path),
              (std::vector<std::string>{"notes.txt", "prog.85", "prog.85.debug"}));
}

TEST(LineMapFile, APipeSocketOrFolderAtItsPathIsCode20AtOnce) {
    TempFolder folder;
    const std::string source = folder.Write("prog.85", program);
    const std::string debug = source + ".debug";
    struct Row {
        std::function<void()> make;
        std::string reason;
    };
    int socketFd = -1;
    const std::vector<Row> rows{
        {[&] { ASSERT_EQ(mkfifo(debug.c_str(), 0600), 0); }, "Not a regular file (a named pipe)"},
        {[&] {
             socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             debug.copy(address.sun_path, sizeof address.sun_path - 1);
             ASSERT_EQ(bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address),
                       0);
         },
         "Not a regular file (a socket)"},
        {[&] { fs::create_directory(debug); }, "Not a regular file (a folder)"},
    };
    // A pipe to be released if the compile hangs on it.
    const std::string release = debug;
    for (const Row& row : rows) {
        fs::remove(debug);
        row.make();
        const auto kind = fs::symlink_status(debug).type();
        AssemblerFixture fixture;
        CMyException error;
        EXPECT_TRUE(ReturnsPromptly([&] { error = CompileError(fixture, source); }, release));
        EXPECT_EQ(error.GetCode(), 20);
        EXPECT_EQ(error.GetMessage(), "CdebugData::Error could not open debug info file <" + debug +
                                          ">: " + row.reason);
        EXPECT_EQ(fs::symlink_status(debug).type(), kind) << "left as it was";
        EXPECT_EQ(TempFolder::Names(folder.path),
                  (std::vector<std::string>{"prog.85", "prog.85.debug"}));
    }
    close(socketFd);
}

TEST(LineMapFile, ASourceThatIsAPipeIsCode20AtOnce) {
    TempFolder folder;
    const std::string source = folder.File("prog.85");
    ASSERT_EQ(mkfifo(source.c_str(), 0600), 0);
    AssemblerFixture fixture;
    CMyException error;
    EXPECT_TRUE(ReturnsPromptly([&] { error = CompileError(fixture, source); }, source));
    EXPECT_EQ(error.GetCode(), 20);
    EXPECT_EQ(error.GetMessage(), "Line - 1 Column - 0 Error could not open file");
    EXPECT_EQ(TempFolder::Names(folder.path), std::vector<std::string>{"prog.85"});
}

TEST(LineMapFile, IsReadBackFromARegularFileOnlyAndAtOnce) {
    TempFolder folder;
    const std::string fifo = folder.File("prog.85.debug");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CdebugData map;
    const auto open = [&] {
        try {
            map.Open(fifo, "rt");
            ADD_FAILURE() << "opened a pipe";
        } catch (const CMyException& error) {
            EXPECT_EQ(error.GetCode(), 20);
            EXPECT_EQ(error.GetMessage(), "CdebugData::Error could not open debug info file <" +
                                              fifo + ">: Not a regular file (a named pipe)");
        }
    };
    EXPECT_TRUE(ReturnsPromptly(open, fifo));
}

TEST(LineMapFile, ReadersSeeTheOldRecordsUntilTheNewOnesAreComplete) {
    TempFolder folder;
    const std::string path = folder.Write("prog.85.debug", "0 1 ");
    CdebugData writer;
    writer.Open(path, "wt");
    writer.WriteRecord(7, 3);
    EXPECT_EQ(TempFolder::Read(path), "0 1 ");
    writer.Close();
    EXPECT_FALSE(writer.WriteFailed());
    EXPECT_EQ(TempFolder::Read(path), "7 3 ");
    EXPECT_EQ(TempFolder::Names(folder.path), std::vector<std::string>{"prog.85.debug"});
}

// A source whose line map (about 30 KB) cannot fit where it must go.
void ExpectAFullDiskKeepsTheOldLineMap(const std::string& folder, const std::string& reason) {
    const std::string source = folder + "/prog.85";
    const std::string debug = source + ".debug";
    AssemblerFixture fixture;
    const CMyException error = CompileError(fixture, source);
    EXPECT_EQ(error.GetCode(), 20);
    EXPECT_EQ(error.GetMessage(),
              "CdebugData::Error could not write debug info file <" + debug + ">: " + reason);
    EXPECT_EQ(TempFolder::Read(debug), "0 1 ");
    EXPECT_EQ(TempFolder::Names(folder), (std::vector<std::string>{"prog.85", "prog.85.debug"}));
}

std::string ManyInstructions() {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "nop\n";
    }
    return text;
}

TEST(LineMapFile, AFullDiskIsCode20AndKeepsTheOldFile) {
    TempFolder folder;
    const std::string small = folder.File("small");
    fs::create_directory(small);
    const auto fill = [&] {
        std::ofstream(small + "/prog.85", std::ios::binary) << ManyInstructions();
        std::ofstream(small + "/prog.85.debug", std::ios::binary) << "0 1 ";
    };
    const auto outcome =
        PrivateMounts::Run([&] { return PrivateMounts::MountSmallFileSystem(small, 32); },
                           [&] {
                               fill();
                               ExpectAFullDiskKeepsTheOldLineMap(small, "No space left on device");
                           });
    if (outcome != PrivateMounts::Outcome::Unavailable) {
        EXPECT_EQ(outcome, PrivateMounts::Outcome::Passed);
        return;
    }
    // No file system of our own to fill: a file size limit makes the writes fail the same way.
    fill();
    const auto limited = PrivateMounts::RunInChild(
        [] {
            const rlimit limit{rlim_t{16} * 1024, rlim_t{16} * 1024};
            return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0;
        },
        [&] { ExpectAFullDiskKeepsTheOldLineMap(small, "File too large"); });
    EXPECT_EQ(limited, PrivateMounts::Outcome::Passed);
}

TEST(LineMapFile, CallersMayChooseItsPathOrHaveNone) {
    TempFolder folder;
    fs::create_directory(folder.File("submissions"));
    const std::string source = folder.Write("submissions/prog.85", program);
    const std::string chosen = folder.File("maps/prog.map");
    fs::create_directory(folder.File("maps"));
    AssemblerFixture fixture;
    fixture.parser.SetLineMapPlace(CParse::LineMapPlace::ChosenPath, chosen);
    EXPECT_EQ(fixture.parser.Compile(source), 0);
    EXPECT_EQ(fixture.parser.GetDebugPath(), chosen);
    EXPECT_EQ(TempFolder::Read(chosen), programMap);

    fixture.parser.SetLineMapPlace(CParse::LineMapPlace::NoFile);
    fs::remove(chosen);
    EXPECT_EQ(fixture.parser.Compile(source), 0);
    EXPECT_EQ(fixture.parser.GetDebugPath(), "");
    EXPECT_FALSE(fs::exists(chosen));
    EXPECT_EQ(fixture.Bytes(0, 7), (std::vector<std::uint8_t>{0x3E, 1, 0x3D, 0xC2, 2, 0, 0x76}));
    EXPECT_EQ(TempFolder::Names(folder.File("submissions")), std::vector<std::string>{"prog.85"});

    // A chosen path that cannot be written is an error, not a reason to write elsewhere.
    fixture.parser.SetLineMapPlace(CParse::LineMapPlace::ChosenPath, folder.File("no/such/map"));
    EXPECT_EQ(CompileError(fixture, source).GetCode(), 20);
    fixture.parser.SetLineMapPlace(CParse::LineMapPlace::BesideSource);
    EXPECT_EQ(fixture.parser.Compile(source), 0);
    EXPECT_EQ(TempFolder::Read(source + ".debug"), programMap);
}

TEST(LineMapLocation, OneCacheFilePerSourcePath) {
    Variable cache("XDG_CACHE_HOME", "/cache");
    const auto first = LineMapLocation::InCache("/share/a/prog.85");
    const auto second = LineMapLocation::InCache("/share/b/prog.85");
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->starts_with("/cache/zorvan/prog.85-")) << *first;
    EXPECT_TRUE(first->ends_with(".debug"));
    EXPECT_NE(*first, *second);
    EXPECT_EQ(LineMapLocation::InCache("/share/a/./prog.85"), first);
    EXPECT_EQ(LineMapLocation::InCache("/share/a/prog.85"), first) << "the same on every call";
    EXPECT_EQ(fs::path(*LineMapLocation::InCache("/x/" + std::string(300, 'n')))
                  .filename()
                  .string()
                  .size(),
              200u + 1 + 16 + 6);
    Variable noCache("XDG_CACHE_HOME", nullptr);
    Variable noHome("HOME", nullptr);
    EXPECT_EQ(LineMapLocation::InCache("/share/a/prog.85"), std::nullopt);
}

// Compiles `source` in a folder this process may not write, with the cache under `cacheHome`.
void ExpectTheLineMapInTheCache(const std::string& source, const std::string& cacheHome) {
    const fs::path folder = fs::path(source).parent_path();
    const auto before = TempFolder::Names(folder);
    const std::string staleMap = TempFolder::Read(source + ".debug");
    AssemblerFixture fixture;
    EXPECT_EQ(fixture.parser.Compile(source), 0);
    EXPECT_TRUE(fixture.parser.LineMapInCache());
    const std::string path = fixture.parser.GetDebugPath();
    EXPECT_EQ(path, LineMapLocation::InCache(source).value_or("?"));
    EXPECT_TRUE(path.starts_with(cacheHome + "/zorvan/")) << path;
    EXPECT_EQ(TempFolder::Read(path), programMap);
    CdebugData map;
    map.Open(path, "rt");
    map.Load();
    EXPECT_EQ(map.AddressOfLine(3), 2);
    EXPECT_EQ(map.LineOfAddress(6), 5);
    EXPECT_EQ(TempFolder::Names(folder), before) << "nothing written beside the source";
    EXPECT_EQ(TempFolder::Read(source + ".debug"), staleMap);

    // Without a cache folder the folder's own refusal is the error.
    Variable noCache("XDG_CACHE_HOME", "relative/cache");
    Variable noHome("HOME", nullptr);
    const CMyException error = CompileError(fixture, source);
    EXPECT_EQ(error.GetCode(), 20);
    EXPECT_TRUE(error.GetMessage().starts_with(
        "CdebugData::Error could not open debug info file <" + source + ".debug>: "))
        << error.GetMessage();
}

TEST(LineMapFile, GoesToTheCacheFolderWhenTheSourcesFolderIsReadOnly) {
    TempFolder folder;
    const std::string share = folder.File("share");
    fs::create_directory(share);
    const std::string source = folder.Write("share/prog.85", program);
    folder.Write("share/prog.85.debug", "stale ");
    const std::string cacheHome = folder.File("cache");
    Variable cache("XDG_CACHE_HOME", cacheHome.c_str());
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(share.c_str(), 0555), 0);
        ExpectTheLineMapInTheCache(source, cacheHome);
        return;
    }
    const auto outcome = PrivateMounts::Run([&] { return PrivateMounts::MakeReadOnly(share); },
                                            [&] { ExpectTheLineMapInTheCache(source, cacheHome); });
    if (outcome == PrivateMounts::Outcome::Unavailable) {
        GTEST_SKIP() << "running as root without a way to mount a read-only folder";
    }
    EXPECT_EQ(outcome, PrivateMounts::Outcome::Passed);
}

} // namespace
