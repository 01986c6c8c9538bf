#include "../support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

// The grading session of the user guide (Help/grading.html) is real: its CASES file and
// submissions, run with the command the page shows, print the table the page shows and write the
// CSV and the JUnit lines the page quotes. Blocks: <pre class="code grade" data-file="F"> is a
// file of the session, <pre class="output grade" data-status="S"> a command ("$ zorvan-grade ...")
// with its standard output, <pre class="code grade-result" data-file="F"> a written file as a
// whole (line ends aside), <pre class="code grade-excerpt" data-file="F"> lines of a written file.

namespace {

namespace fs = std::filesystem;

const fs::path page = fs::path(ZORVAN_EXAMPLES).parent_path() / "Help" / "grading.html";

struct Block {
    std::string kind;
    std::string file;
    int status = 0;
    std::string text;
};

std::string Attribute(const std::string& tag, const std::string& name) {
    const auto at = tag.find(" " + name + "=\"");
    if (at == std::string::npos) {
        return {};
    }
    const auto start = at + name.size() + 3;
    return tag.substr(start, tag.find('"', start) - start);
}

std::string Decode(std::string text) {
    for (const auto& [entity, plain] : std::vector<std::pair<std::string, std::string>>{
             {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
        for (auto at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + plain.size())) {
            text.replace(at, entity.size(), plain);
        }
    }
    return text;
}

std::vector<Block> GradeBlocks(const std::string& html) {
    std::vector<Block> blocks;
    for (auto at = html.find("<pre"); at != std::string::npos; at = html.find("<pre", at + 1)) {
        const auto tagEnd = html.find('>', at);
        const auto end = html.find("</pre>", tagEnd);
        const auto tag = html.substr(at, tagEnd - at);
        const auto kind = Attribute(tag, "class");
        if (kind.find("grade") == std::string::npos) {
            continue;
        }
        const auto status = Attribute(tag, "data-status");
        blocks.push_back({kind, Attribute(tag, "data-file"), status.empty() ? 0 : std::stoi(status),
                          Decode(html.substr(tagEnd + 1, end - tagEnd - 1))});
    }
    return blocks;
}

std::string WithoutCarriageReturns(std::string text) {
    std::erase(text, '\r');
    return text;
}

TEST(GradingPageTest, TheSessionIsReal) {
    TempFolder folder;
    const auto blocks = GradeBlocks(TempFolder::Read(page.string()));
    ASSERT_GE(blocks.size(), 9u);
    int commands = 0;
    for (const auto& block : blocks) {
        SCOPED_TRACE(block.kind + " " + block.file);
        if (block.kind == "code grade") {
            fs::create_directories((folder.path / block.file).parent_path());
            folder.Write(block.file, block.text);
        } else if (block.kind == "output grade") {
            const auto newline = block.text.find('\n');
            const auto command = block.text.substr(0, newline);
            ASSERT_TRUE(command.starts_with("$ zorvan-grade ")) << command;
            const auto shell = "cd '" + folder.path.string() + "' && '" + ZORVAN_GRADER + "' " +
                               command.substr(15) + " > .out";
            const int status = std::system(shell.c_str());
            EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, block.status);
            EXPECT_EQ(TempFolder::Read(folder.File(".out")), block.text.substr(newline + 1));
            ++commands;
        } else if (block.kind == "code grade-result") {
            EXPECT_EQ(WithoutCarriageReturns(TempFolder::Read(folder.File(block.file))),
                      block.text);
        } else if (block.kind == "code grade-excerpt") {
            const auto written = TempFolder::Read(folder.File(block.file));
            std::size_t from = 0;
            for (std::size_t end = block.text.find('\n'); from < block.text.size();
                 end = block.text.find('\n', from)) {
                const auto line = block.text.substr(from, end - from);
                EXPECT_NE(written.find(line + "\n"), std::string::npos) << line;
                from = end == std::string::npos ? block.text.size() : end + 1;
            }
        } else {
            ADD_FAILURE() << "unknown block " << block.kind;
        }
    }
    EXPECT_EQ(commands, 1);
}

} // namespace
