#include "../machine/PseudoTerminal.h"
#include "../support/TempFolder.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <sys/wait.h>
#include <termios.h>

// The user guide's example programs run as the guide shows them. In Help/*.html every
// <pre class="program"> block is followed by one or more <pre class="output"> blocks; an output
// block's first line is the command ("$ [printf 'ANSWERS' |] [NAME=VALUE ...] zorvan-run ARGS
// FILE.85") and the rest is what zorvan-run prints on stdout and stderr together. data-status
// gives a non-zero exit status; data-line-in and data-line-out are the bytes a device on COM1
// sends and must receive back.

namespace {

namespace fs = std::filesystem;

const fs::path helpFolder = fs::path(ZORVAN_EXAMPLES).parent_path() / "Help";

// Every `from` in `text` becomes `to`.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The name="value" pairs of a tag (std::regex is avoided: GCC 12 warns inside it under the
// sanitizers).
std::map<std::string, std::string> Attributes(const std::string& tag) {
    std::map<std::string, std::string> attributes;
    for (auto quote = tag.find("=\""); quote != std::string::npos; quote = tag.find("=\"", quote)) {
        auto nameStart = quote;
        while (nameStart > 0 && tag[nameStart - 1] != ' ' && tag[nameStart - 1] != '\n') {
            --nameStart;
        }
        const auto end = tag.find('"', quote + 2);
        if (end == std::string::npos) {
            break;
        }
        attributes[tag.substr(nameStart, quote - nameStart)] =
            tag.substr(quote + 2, end - quote - 2);
        quote = end;
    }
    return attributes;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Drops tags and decodes the entities a hand-written page uses.
std::string PlainText(const std::string& html) {
    static const std::map<std::string, std::string> named = {
        {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}};
    std::string text;
    for (std::size_t at = 0; at < html.size(); ++at) {
        const auto semicolon = html[at] == '&' ? html.find(';', at) : std::string::npos;
        const auto name =
            semicolon - at > 8 ? std::string() : html.substr(at + 1, semicolon - at - 1);
        if (html[at] == '<') {
            at = html.find('>', at);
            if (at == std::string::npos) {
                break;
            }
        } else if (name.starts_with('#')) {
            text += static_cast<char>(std::stoi(name.substr(1)));
            at = semicolon;
        } else if (named.contains(name)) {
            text += named.at(name);
            at = semicolon;
        } else {
            text += html[at];
        }
    }
    return text;
}

struct Block {
    std::string kind; // "program" or "output"
    std::map<std::string, std::string> attributes;
    std::string text;
};

std::vector<Block> PreBlocks(const std::string& page) {
    std::vector<Block> blocks;
    for (auto at = page.find("<pre"); at != std::string::npos; at = page.find("<pre", at)) {
        const auto tagEnd = page.find('>', at);
        const auto end = page.find("</pre>", tagEnd);
        if (tagEnd == std::string::npos || end == std::string::npos) {
            ADD_FAILURE() << "unclosed <pre> block";
            break;
        }
        const auto tag = page.substr(at, tagEnd - at);
        Block block;
        for (const auto& [name, value] : Attributes(tag)) {
            block.attributes[name] = PlainText(value);
        }
        block.kind = block.attributes["class"];
        block.text = PlainText(page.substr(tagEnd + 1, end - tagEnd - 1));
        if (block.kind == "program" || block.kind == "output") {
            blocks.push_back(block);
        }
        at = end;
    }
    return blocks;
}

struct Command {
    std::string input;
    std::vector<std::pair<std::string, std::string>> environment;
    std::vector<std::string> arguments; // the program file is the last one
};

// Words split at blanks; '...' quotes a word.
std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool any = false;
    for (const char c : line) {
        if (c == '\'') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) {
                words.push_back(word);
            }
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) {
        words.push_back(word);
    }
    return words;
}

std::optional<Command> ParseCommand(const std::string& line) {
    auto words = Words(line);
    Command command;
    std::size_t at = 0;
    if (words.size() > 3 && words[0] == "printf" && words[2] == "|") {
        command.input = ReplaceAll(words[1], "\\n", "\n");
        at = 3;
    }
    for (; at < words.size() && words[at].find('=') != std::string::npos; ++at) {
        const auto equals = words[at].find('=');
        command.environment.emplace_back(words[at].substr(0, equals), words[at].substr(equals + 1));
    }
    if (at + 1 >= words.size() || words[at] != "zorvan-run" || !words.back().ends_with(".85")) {
        return std::nullopt;
    }
    command.arguments.assign(words.begin() + static_cast<std::ptrdiff_t>(at) + 1, words.end());
    return command;
}

struct Outcome {
    int status = -1;
    std::string output; // stdout and stderr as they came, line ends as LF
};

Outcome Run(const TempFolder& folder, const Command& command) {
    folder.Write(".stdin", command.input);
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(folder.path.c_str()) != 0) {
            _exit(120);
        }
        dup2(open(".stdin", O_RDONLY), 0);
        const int out = open(".output", O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(out, 2);
        unsetenv("ZORVAN_PRINT_COMMAND");
        setenv("ZORVAN_LPT1", "LPT1.txt", 1); // never the user's printer file
        for (const auto& [name, value] : command.environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>(ZORVAN_RUNNER)};
        for (const auto& argument : command.arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        alarm(20); // an example that waits for ever fails instead of hanging the suite
        execv(ZORVAN_RUNNER, argv.data());
        _exit(121);
    }
    int status = 0;
    waitpid(child, &status, 0);
    Outcome outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    outcome.output = ReplaceAll(ReadFile(folder.path / ".output"), "\r\n", "\n");
    return outcome;
}

void CheckOutput(const std::string& program, const Block& output) {
    const auto newline = output.text.find('\n');
    ASSERT_NE(newline, std::string::npos);
    const auto firstLine = output.text.substr(0, newline);
    ASSERT_TRUE(firstLine.starts_with("$ ")) << firstLine;
    auto command = ParseCommand(firstLine.substr(2));
    ASSERT_TRUE(command) << "not a zorvan-run command: " << firstLine;
    SCOPED_TRACE(firstLine);

    TempFolder folder;
    folder.Write(command->arguments.back(), program);
    std::optional<PseudoTerminal> line;
    if (output.attributes.contains("data-line-in")) {
        line.emplace();
        termios raw{};
        ASSERT_EQ(tcgetattr(line->slave, &raw), 0);
        cfmakeraw(&raw);
        ASSERT_EQ(tcsetattr(line->slave, TCSANOW, &raw), 0);
        line->Write(output.attributes.at("data-line-in"));
        command->environment.emplace_back("ZORVAN_COM1", line->deviceName);
    }
    const auto outcome = Run(folder, *command);
    const auto status = output.attributes.contains("data-status")
                            ? std::stoi(output.attributes.at("data-status"))
                            : 0;
    EXPECT_EQ(outcome.status, status);
    EXPECT_EQ(outcome.output, output.text.substr(newline + 1));
    if (line) {
        EXPECT_EQ(line->Read(), output.attributes.at("data-line-out"));
    }
}

std::vector<fs::path> Pages() {
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(helpFolder)) {
        if (entry.path().extension() == ".html") {
            pages.push_back(entry.path());
        }
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

} // namespace

TEST(HelpExamplesTest, EveryProgramRunsAsShown) {
    std::signal(SIGPIPE, SIG_IGN);
    int programs = 0;
    for (const auto& page : Pages()) {
        SCOPED_TRACE(page.filename().string());
        const auto blocks = PreBlocks(ReadFile(page));
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            if (blocks[i].kind != "program") {
                continue;
            }
            ++programs;
            SCOPED_TRACE(blocks[i].text.substr(0, blocks[i].text.find('\n')));
            std::size_t outputs = 0;
            for (auto j = i + 1; j < blocks.size() && blocks[j].kind == "output"; ++j, ++outputs) {
                CheckOutput(blocks[i].text, blocks[j]);
            }
            EXPECT_GT(outputs, 0u) << "a program without the output it gives";
        }
    }
    EXPECT_GE(programs, 15) << "the guide's examples were not found in " << helpFolder;
}

TEST(HelpExamplesTest, LinksReachExistingPagesAndAnchors) {
    const auto pages = Pages();
    ASSERT_FALSE(pages.empty());
    for (const auto& page : pages) {
        const auto text = ReadFile(page);
        for (const std::string attribute : {"href=\"", "src=\""}) {
            for (auto at = text.find(attribute); at != std::string::npos;
                 at = text.find(attribute, at + 1)) {
                const auto start = at + attribute.size();
                const auto link = text.substr(start, text.find('"', start) - start);
                if (link.find(':') != std::string::npos) {
                    continue; // another site
                }
                const auto hash = link.find('#');
                const auto target = link.substr(0, hash);
                const auto file = target.empty() ? page : helpFolder / target;
                EXPECT_TRUE(fs::exists(file)) << page.filename() << " links to " << link;
                if (hash != std::string::npos && fs::exists(file)) {
                    EXPECT_NE(ReadFile(file).find("id=\"" + link.substr(hash + 1) + "\""),
                              std::string::npos)
                        << page.filename() << " links to a missing anchor: " << link;
                }
            }
        }
    }
}
