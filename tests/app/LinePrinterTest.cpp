#include "app/LinePrinter.h"

#include "../machine/ScopedEnvironment.h"
#include "machine/CMyException.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class LinePrinterTest : public ::testing::Test {
protected:
    LinePrinterTest() {
        fs::create_directories(tempFolder);
        unsetenv("ZORVAN_PRINT_COMMAND");
        unsetenv("ZORVAN_LPT1");
    }
    ~LinePrinterTest() override { fs::remove_all(folder); }

    bool TempFolderIsEmpty() const { return fs::is_empty(tempFolder); }

    static fs::path NewFolder() {
        std::random_device random;
        return fs::temp_directory_path() / ("zorvan-lpt-" + std::to_string(random()));
    }

    fs::path folder = NewFolder();
    fs::path tempFolder = folder / "temp files"; // a blank in the path, for the print command
    ScopedEnvironment tmpdir{"TMPDIR", tempFolder.string()};
    LinePrinter printer;
};

TEST_F(LinePrinterTest, AppendsEachTextToTheConfiguredPrinterFile) {
    const auto out = folder / "printer.txt";
    ScopedEnvironment lpt1("ZORVAN_LPT1", out.string());
    EXPECT_EQ(LinePrinter::OutputPath(), out.string());
    printer.PrintText("Hello");
    printer.PrintText("\r\n");
    printer.PrintText(std::string("A\0B", 3));
    printer.PrintText("");
    EXPECT_EQ(ReadFile(out), std::string("Hello\r\nA\0B", 10));
    EXPECT_TRUE(TempFolderIsEmpty());
}

TEST_F(LinePrinterTest, DefaultPrinterFileIsInTheUserDataFolder) {
    {
        ScopedEnvironment data("XDG_DATA_HOME", (folder / "data").string());
        EXPECT_EQ(LinePrinter::OutputPath(), (folder / "data/Zorvan/LPT1.txt").string());
        printer.PrintText("xdg");
        EXPECT_EQ(ReadFile(folder / "data/Zorvan/LPT1.txt"), "xdg");
    }
    ScopedEnvironment data("XDG_DATA_HOME", "");
    ScopedEnvironment home("HOME", (folder / "home").string());
    printer.PrintText("home");
    EXPECT_EQ(ReadFile(folder / "home/.local/share/Zorvan/LPT1.txt"), "home");
    EXPECT_TRUE(TempFolderIsEmpty());
}

TEST_F(LinePrinterTest, PrintCommandRunsOncePerTextAndIsWaitedFor) {
    const auto log = folder / "runs.log";
    const auto out = folder / "printed.txt";
    ScopedEnvironment lpt1("ZORVAN_LPT1", (folder / "not-used.txt").string());
    ScopedEnvironment command("ZORVAN_PRINT_COMMAND",
                              "echo run >> '" + log.string() + "'; cat >> '" + out.string() + "'");
    const std::string line = "ten chars!";
    for (char c : line) {
        printer.PrintText(std::string(1, c));
    }
    // Each command has ended before PrintText returns, so everything is there in order.
    EXPECT_EQ(ReadFile(out), line);
    std::string expectedLog;
    for (std::size_t i = 0; i < line.size(); ++i) {
        expectedLog += "run\n";
    }
    EXPECT_EQ(ReadFile(log), expectedLog);
    EXPECT_FALSE(fs::exists(folder / "not-used.txt"));
    EXPECT_TRUE(TempFolderIsEmpty());
}

// Runs in `folder` as the current folder, as a program started from there would.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& folder) : previous(fs::current_path()) {
        fs::current_path(folder);
    }
    ~CurrentFolder() { fs::current_path(previous); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    fs::path previous;
};

TEST_F(LinePrinterTest, WithoutAnAbsoluteHomeItIsCode30AndWritesNothing) {
    const auto here = folder / "current";
    fs::create_directories(here);
    const CurrentFolder current(here);
    struct Row {
        const char* xdgDataHome;
        const char* home;
    };
    for (const Row row : {Row{"", ""}, Row{"data", ""}, Row{"", "home"}, Row{"data", "."}}) {
        ScopedEnvironment data("XDG_DATA_HOME", row.xdgDataHome);
        ScopedEnvironment home("HOME", row.home);
        unsetenv("HOME");
        if (row.home[0] != '\0') {
            setenv("HOME", row.home, 1);
        }
        try {
            printer.PrintText("lost?");
            ADD_FAILURE() << "printed without a home: " << row.xdgDataHome << ", " << row.home;
        } catch (const CMyException& error) {
            EXPECT_EQ(error.code, 30);
            EXPECT_EQ(error.errorFlag, 1);
            EXPECT_EQ(error.message,
                      "Cannot find a folder for the printer file: neither XDG_DATA_HOME nor HOME "
                      "names an absolute path (set ZORVAN_LPT1 to choose the file)");
        }
        EXPECT_TRUE(fs::is_empty(here)) << "nothing lands in the current folder";
    }
    EXPECT_TRUE(TempFolderIsEmpty());
    // A relative XDG_DATA_HOME is ignored in favour of the home folder.
    ScopedEnvironment data("XDG_DATA_HOME", "data");
    ScopedEnvironment home("HOME", (folder / "home").string());
    printer.PrintText("home");
    EXPECT_EQ(ReadFile(folder / "home/.local/share/Zorvan/LPT1.txt"), "home");
    EXPECT_TRUE(fs::is_empty(here));
}

TEST_F(LinePrinterTest, APrintCommandGetsTheTextOnItsInputAndAsAFileThatHasNoNameLeft) {
    const auto listing = folder / "listing";
    const auto fromInput = folder / "input";
    const auto fromArgument = folder / "argument";
    ScopedEnvironment command("ZORVAN_PRINT_COMMAND",
                              "ls -A \"$TMPDIR\" > '" + listing.string() + "'; cat > '" +
                                  fromInput.string() + "'; cat >> '" + fromArgument.string() + "'");
    printer.PrintText("Line one\r\n");
    EXPECT_EQ(ReadFile(listing), "") << "the temporary file was removed before the command ran";
    EXPECT_EQ(ReadFile(fromInput), "Line one\r\n");
    EXPECT_EQ(ReadFile(fromArgument), "Line one\r\n");
    EXPECT_TRUE(TempFolderIsEmpty());
}

TEST_F(LinePrinterTest, UnusableTempFolderIsCode30) {
    const auto out = folder / "printer.txt";
    ScopedEnvironment lpt1("ZORVAN_LPT1", out.string());
    const auto missing = folder / "missing";
    ScopedEnvironment badTmp("TMPDIR", missing.string());
    try {
        printer.PrintText("lost?");
        FAIL() << "printing without a temporary folder succeeded";
    } catch (const CMyException& error) {
        EXPECT_EQ(error.code, 30);
        EXPECT_EQ(error.errorFlag, 1);
        // The message names the file it tried to make.
        const std::string start =
            "Cannot open temporary file<" + missing.string() + "/zorvan-print";
        EXPECT_EQ(error.message.substr(0, start.size()), start);
        EXPECT_TRUE(error.message.ends_with("> used for printing")) << error.message;
    }
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
