#pragma once

#include <optional>
#include <string>
#include <vector>

// The example programs that come with Zorvan: the ".85" files of the installed examples folder,
// or of the build's, each with the words its leading comment says about it.
namespace ExampleCatalog {

struct Example {
    std::string path;
    std::string name;        // the file name, "led_digits.85"
    std::string description; // the leading comment lines, joined into one text
};

// The first of `candidates` that is a folder.
std::optional<std::string> FindFolder(const std::vector<std::string>& candidates);

// The regular ".85" files of `folder`, ordered by name.
std::vector<Example> List(const std::string& folder);

// What the comment lines at the start of a source say: each line's text after ';', its blanks
// trimmed, joined by single spaces (an indented line, a row of a table, on a line of its own, and
// so the line after it); a blank line or the first statement ends it.
std::string LeadingComment(const std::string& text);

} // namespace ExampleCatalog
