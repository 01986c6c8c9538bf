#include "AssemblerFixture.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

// The classic programs in examples/ written in the usual Intel syntax compile, run to their hlt
// and leave the result their header comment promises.

namespace {

struct ExampleRow {
    std::string file;
    std::uint16_t address;
    std::vector<std::uint8_t> result;
};

class ClassicExample : public ::testing::TestWithParam<ExampleRow> {};

TEST_P(ClassicExample, RunsToTheResultItPromises) {
    const ExampleRow& row = GetParam();
    TempFolder folder;
    const std::string source = folder.File(row.file);
    std::filesystem::copy_file(std::string(ZORVAN_EXAMPLES) + "/" + row.file, source);

    AssemblerFixture fixture;
    fixture.machine.Reset();
    ASSERT_EQ(fixture.parser.Compile(source), 0);
    // Every line that assembled an instruction has a line-map record.
    EXPECT_FALSE(TempFolder::Read(source + ".debug").empty());
    fixture.machine.Start();
    int stop = 0;
    for (int step = 0; step < 100000 && stop == 0; ++step) {
        try {
            fixture.machine.Step();
        } catch (const CMyException& error) {
            stop = error.GetCode();
        }
    }
    EXPECT_EQ(stop, 26) << "the program did not end with its hlt";
    EXPECT_EQ(Hex(fixture.Bytes(row.address, row.result.size())), Hex(row.result));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ClassicExample,
    ::testing::Values(
        ExampleRow{"bubble_sort.85", 0x2000, {0x00, 0x07, 0x0A, 0x12, 0x34, 0x41, 0x63, 0xFF}},
        ExampleRow{"bcd_to_binary.85", 0x2000, {0x72, 0x48}},
        ExampleRow{"multiply.85", 0x2000, {0x55, 0x96}},
        ExampleRow{"block_move.85",
                   0x2100,
                   {0x48, 0x65, 0x6C, 0x6C, 0x6F, 0x2C, 0x20, 0x38, 0x30, 0x38, 0x35, 0x21}},
        ExampleRow{"fibonacci.85",
                   0x2000,
                   {0x01, 0x01, 0x02, 0x03, 0x05, 0x08, 0x0D, 0x15, 0x22, 0x37, 0x59, 0x90, 0xE9}},
        ExampleRow{"factorial.85", 0x2000, {0x80, 0x9D}}),
    [](const ::testing::TestParamInfo<ExampleRow>& example) {
        return example.param.file.substr(0, example.param.file.find('.'));
    });

} // namespace

namespace {

// The listings of the guide's "side by side" block, in page order.
std::vector<std::string> SideBySideListings() {
    const std::string page =
        TempFolder::Read(std::string(ZORVAN_EXAMPLES) + "/../Help/language.html");
    std::vector<std::string> listings;
    const auto block = page.find("<div class=\"side-by-side\">");
    const auto blockEnd = page.find("</div>", block);
    for (auto at = page.find("<pre", block); at < blockEnd; at = page.find("<pre", at)) {
        const auto start = page.find('>', at) + 1;
        const auto end = page.find("</pre>", start);
        std::string text = page.substr(start, end - start);
        for (const auto& [entity, character] : std::vector<std::pair<std::string, std::string>>{
                 {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
            for (auto found = text.find(entity); found != std::string::npos;
                 found = text.find(entity, found)) {
                text.replace(found, entity.size(), character);
            }
        }
        listings.push_back(text);
        at = end;
    }
    return listings;
}

TEST(GuideSideBySide, BothSyntaxesAssembleToTheSameProgram) {
    const std::vector<std::string> listings = SideBySideListings();
    ASSERT_EQ(listings.size(), 2u);
    TempFolder folder;
    std::vector<std::unique_ptr<AssemblerFixture>> compiled;
    for (std::size_t i = 0; i < listings.size(); ++i) {
        auto& fixture = *compiled.emplace_back(std::make_unique<AssemblerFixture>());
        fixture.machine.Reset();
        ASSERT_EQ(fixture.parser.Compile(
                      folder.Write("listing" + std::to_string(i) + ".85", listings[i])),
                  0);
    }
    EXPECT_EQ(compiled[0]->machine.startAddress, 0x100);
    EXPECT_EQ(compiled[1]->machine.startAddress, compiled[0]->machine.startAddress);
    EXPECT_GT(compiled[0]->NonZeroBytes(), 20u);
    EXPECT_TRUE(compiled[0]->machine.memory == compiled[1]->machine.memory);
}

} // namespace
