#include "machine/C8085Object.h"
#include "machine/CpmConsole.h"
#include "support/TempFolder.h"

#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Reading a .COM file the user named: only a regular file is read, nothing at the path can make
// the load wait, and a refusal says why.
namespace {

struct Load {
    bool loaded = false;
    std::string error;
};

// The load, on a thread of its own, so that a load that waits fails the test instead of
// holding it.
Load LoadWithin(C8085Object& machine, const std::string& path) {
    auto pending = std::async(std::launch::async, [&machine, path] {
        Load result;
        result.loaded = CpmConsole::LoadComFile(machine, path, result.error);
        return result;
    });
    if (pending.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the load of " << path << " waits";
        // A writer that comes and goes lets a load that waits on a named pipe go on.
        close(open(path.c_str(), O_WRONLY | O_NONBLOCK));
    }
    return pending.get();
}

TEST(ComFile, ARegularFileLoadsAtTheStartAddress) {
    TempFolder folder;
    const std::string path = folder.Write("prog.com", std::string("\x3e\x07\xc3\x00\x00", 5));
    C8085Object machine;
    const Load result = LoadWithin(machine, path);
    ASSERT_TRUE(result.loaded) << result.error;
    EXPECT_EQ(machine.pc, CpmConsole::LoadAddress);
    EXPECT_EQ(machine.memory[CpmConsole::LoadAddress], 0x3e);
    EXPECT_EQ(machine.memory[CpmConsole::LoadAddress + 1], 0x07);
}

TEST(ComFile, ANamedPipeIsRefusedAtOnceWithItsKind) {
    TempFolder folder;
    const std::string path = folder.File("pipe.com");
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    C8085Object machine;
    const Load result = LoadWithin(machine, path);
    EXPECT_FALSE(result.loaded);
    EXPECT_NE(result.error.find("named pipe"), std::string::npos) << result.error;
    EXPECT_NE(result.error.find(path), std::string::npos) << result.error;
}

TEST(ComFile, TooLargeAFileIsToldByItsRealSizeAndAFullOneLoads) {
    TempFolder folder;
    struct Case {
        std::size_t size;
        bool loads;
    };
    const std::size_t largest = CpmConsole::TopOfMemory - CpmConsole::LoadAddress;
    for (const Case& c : {Case{70000, false}, Case{largest + 1, false}, Case{largest, true}}) {
        const std::string path = folder.Write("big.com", std::string(c.size, '\0'));
        C8085Object machine;
        const Load result = LoadWithin(machine, path);
        EXPECT_EQ(result.loaded, c.loads) << c.size << ": " << result.error;
        if (!c.loads) {
            EXPECT_NE(result.error.find(std::to_string(c.size) + " bytes"), std::string::npos)
                << result.error;
        }
    }
}

} // namespace
