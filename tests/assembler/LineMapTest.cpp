#include "assembler/CdebugData.h"
#include "machine/CMyException.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

void Load(CdebugData& map, const TempFolder& folder, std::string_view content) {
    map.Open(folder.Write("prog.85.debug", content), "rt");
    map.Load();
}

TEST(LineMap, WritesOneRecordPerCallWithoutLineBreaks) {
    TempFolder folder;
    CdebugData map;
    map.Open(folder.File("out.debug"), "wt");
    map.WriteRecord(0, 1);
    map.WriteRecord(1, 3);
    map.WriteRecord(65535, 100000);
    map.Close();
    EXPECT_FALSE(map.WriteFailed());
    EXPECT_EQ(TempFolder::Read(folder.File("out.debug")), "0 1 1 3 65535 100000 ");
}

TEST(LineMap, RecordsWithoutAnOpenFileAreAFailedWrite) {
    CdebugData map;
    map.WriteRecord(0, 1);
    map.Close();
    EXPECT_TRUE(map.WriteFailed());
    // The next Open starts afresh.
    TempFolder folder;
    map.Open(folder.File("ok.debug"), "wt");
    EXPECT_FALSE(map.WriteFailed());
}

struct LoadRow {
    std::string content;
    std::vector<std::pair<int, int>> addressLine; // (address, line) expected both ways
    std::vector<std::pair<int, int>> lineOnly;    // address -> line where the line maps elsewhere
    std::vector<int> absent;                      // addresses named at or after the damage
};

class LineMapLoad : public ::testing::TestWithParam<LoadRow> {};

TEST_P(LineMapLoad, LoadsRecordsUpToTheDamage) {
    TempFolder folder;
    const LoadRow& row = GetParam();
    // Load must also work through a map that was in use before.
    CdebugData map;
    map.Open(folder.Write("old.debug", "7 7 "), "rt");
    map.Load();
    map.Open(folder.Write("prog.85.debug", row.content), "rt");
    map.Load();
    for (const auto& [address, line] : row.addressLine) {
        EXPECT_EQ(map.LineOfAddress(static_cast<std::uint16_t>(address)), line);
        EXPECT_EQ(map.AddressOfLine(line), address);
    }
    for (const auto& [address, line] : row.lineOnly) {
        EXPECT_EQ(map.FindLineOfAddress(static_cast<std::uint16_t>(address)), line);
    }
    for (const int address : row.absent) {
        EXPECT_FALSE(map.FindLineOfAddress(static_cast<std::uint16_t>(address)).has_value())
            << "address " << address << " was read past the damage";
    }
    if (row.addressLine.empty() && row.lineOnly.empty()) {
        EXPECT_TRUE(map.IsEmpty());
    }
    EXPECT_FALSE(map.FindLineOfAddress(7).has_value()) << "the previous file's map was kept";
}

INSTANTIATE_TEST_SUITE_P(
    Files, LineMapLoad,
    ::testing::Values(LoadRow{"", {}, {}, {}}, LoadRow{"   \n", {}, {}, {}},
                      LoadRow{"0 1 1 3 ", {{0, 1}, {1, 3}}, {}, {}},
                      LoadRow{"16 5 16 9 ", {{16, 9}}, {}, {}},
                      LoadRow{"16 5 17 5 ", {{17, 5}}, {{16, 5}}, {}},
                      LoadRow{"0 1\n\t2 3", {{0, 1}, {2, 3}}, {}, {}},
                      LoadRow{"0 1 2 x3 4 5 ", {{0, 1}}, {}, {2, 3, 4}},
                      LoadRow{"0 1 2 ", {{0, 1}}, {}, {2}},
                      // 9999999999 taken modulo 65536 would be 58367.
                      LoadRow{"0 1 5 6 9999999999 2 7 8", {{0, 1}, {5, 6}}, {}, {58367, 7}},
                      LoadRow{"65537 4 -1 +6 ", {{1, 4}, {65535, 6}}, {}, {}},
                      LoadRow{std::string("3 4 \0 5 6", 9), {{3, 4}}, {}, {5}},
                      LoadRow{"\x7f"
                              "ELF\x01\x02",
                              {},
                              {},
                              {}}));

TEST(LineMap, MissingMappingsThrowCode31WithTheirTexts) {
    TempFolder folder;
    CdebugData map;
    Load(map, folder, "0 1 ");
    try {
        map.LineOfAddress(1);
        FAIL();
    } catch (const CMyException& error) {
        EXPECT_EQ(error.GetCode(), 31);
        EXPECT_EQ(error.errorFlag, 0);
        EXPECT_EQ(error.GetMessage(), "No equivalent source line");
    }
    try {
        map.AddressOfLine(2);
        FAIL();
    } catch (const CMyException& error) {
        EXPECT_EQ(error.GetCode(), 31);
        EXPECT_EQ(error.errorFlag, 0);
        EXPECT_EQ(error.GetMessage(), "Source Line 2 has No equivalent 8085 memory address");
    }
    EXPECT_FALSE(map.FindLineOfAddress(1).has_value());
    map.Close();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_THROW(map.LineOfAddress(0), CMyException);
}

TEST(LineMap, OpenFailuresNameThePath) {
    TempFolder folder;
    struct Row {
        std::string path;
        std::string mode;
        int code;
        std::string message;
    };
    const std::string missing = folder.File("missing.85.debug");
    const std::string longPath = folder.File(std::string(5000, 'p'));
    const std::string existing = folder.Write("real.debug", "0 1 ");
    const std::string withNul = existing + std::string(1, '\0') + "x";
    const std::string cannot = "CdebugData::Error could not open debug info file <";
    const std::string folderPath = folder.path.string();
    const std::vector<Row> rows{
        {withNul, "rt", 20, cannot + withNul + ">: No such file or directory"},
        {"", "rt", 19, "CdebugData::Empty file name"},
        {"", "wt", 19, "CdebugData::Empty file name"},
        {missing, "rt", 20, cannot + missing + ">: No such file or directory"},
        {folderPath, "rt", 20, cannot + folderPath + ">: Not a regular file (a folder)"},
        {folderPath, "wt", 20, cannot + folderPath + ">: Not a regular file (a folder)"},
        {longPath, "wt", 20, cannot + longPath + ">: File name too long"},
        {"/dev/full", "wt", 20, cannot + "/dev/full>: Not a regular file (a device)"},
        {"/dev/null", "rt", 20, cannot + "/dev/null>: Not a regular file (a device)"},
    };
    for (const Row& row : rows) {
        CdebugData map;
        try {
            map.Open(row.path, row.mode);
            ADD_FAILURE() << "opened " << row.path.substr(0, 80);
        } catch (const CMyException& error) {
            EXPECT_EQ(error.GetCode(), row.code);
            EXPECT_EQ(error.errorFlag, 1);
            EXPECT_EQ(error.GetMessage(), row.message);
        }
    }
}

} // namespace
