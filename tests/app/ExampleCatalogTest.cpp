#include "app/ExampleCatalog.h"

#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

// The bundled examples as Help > Examples lists them.
namespace {

namespace fs = std::filesystem;

TEST(ExampleCatalog, ListsTheBundledExamplesByNameWithTheirComments) {
    const auto examples = ExampleCatalog::List(ZORVAN_EXAMPLES);
    std::vector<std::string> names;
    for (const auto& example : examples) {
        names.push_back(example.name);
        EXPECT_FALSE(example.description.empty()) << example.name;
        EXPECT_EQ(fs::path(example.path).filename(), example.name);
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    ASSERT_NE(std::find(names.begin(), names.end(), "led_digits.85"), names.end());
    const auto delay = std::find_if(examples.begin(), examples.end(),
                                    [](const auto& example) { return example.name == "delay.85"; });
    ASSERT_NE(delay, examples.end());
    EXPECT_EQ(delay->description, "Delay: system call 9 waits HL x 7 ms. A countdown from 9 to 0 "
                                  "in the data pair, 0.7 s a step.");
}

TEST(ExampleCatalog, TakesOnlyRegularSourceFiles) {
    TempFolder folder;
    folder.Write("b.85", "; second\nnop\n");
    folder.Write("a.85", "nop\n");
    folder.Write("notes.txt", "; not a program\n");
    fs::create_directory(folder.path / "folder.85");
    ASSERT_EQ(mkfifo(folder.File("pipe.85").c_str(), 0600), 0);
    const auto examples = ExampleCatalog::List(folder.path.string());
    ASSERT_EQ(examples.size(), 2u);
    EXPECT_EQ(examples[0].name, "a.85");
    EXPECT_EQ(examples[0].description, "");
    EXPECT_EQ(examples[1].name, "b.85");
    EXPECT_EQ(examples[1].description, "second");
    EXPECT_TRUE(ExampleCatalog::List(folder.File("missing")).empty());
}

TEST(ExampleCatalog, TheLeadingCommentEndsAtTheFirstStatementOrBlankLine) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"; one\n;   two  \r\nnop\n; not this", "one\ntwo"},
        {"; one\n; two\n\n; after a blank line", "one two"},
        {"  ; indented\n;\n; after an empty comment", "indented after an empty comment"},
        {"nop ; a statement first", ""},
        {"", ""},
        {"; a table:\n;   row 1\n;   row 2\n; end", "a table:\nrow 1\nrow 2\nend"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExampleCatalog::LeadingComment(c.text), c.expected) << c.text;
    }
}

TEST(ExampleCatalog, FindsTheFirstFolderOfItsCandidates) {
    TempFolder folder;
    const std::string file = folder.Write("file", "");
    const std::string installed = folder.path.string();
    EXPECT_EQ(ExampleCatalog::FindFolder({folder.File("missing"), file, installed}), installed);
    EXPECT_EQ(ExampleCatalog::FindFolder({folder.File("missing"), "", file}), std::nullopt);
}

} // namespace
