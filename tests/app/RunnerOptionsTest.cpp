#include "app/runner/RunnerOptions.h"

#include "../support/LegacyRunnerOptions.h"

#include <gtest/gtest.h>

// zorvan-run's options: every command line below gives what zorvan-run gave before its options
// went through CLI11 (the same options, or the same message), and --timeout is read as documented.

namespace {

using Arguments = std::vector<std::string>;

std::string Message(const Arguments& arguments) {
    std::string error;
    const auto options = RunnerOptions::Parse(arguments, error);
    return options ? "" : error;
}

TEST(RunnerOptionsTest, AgreesWithTheParsingItReplaced) {
    const std::vector<Arguments> commandLines = {
        {},
        {"x.85"},
        {"--no-delay", "--trace", "--ports", "--com", "--led", "x.85"},
        {"--max-steps", "100", "--dump", "0x2000:4", "--dump=256:18", "x.85"},
        {"--max-steps=5", "--max-steps", "7", "x.85"},
        {"x.85", "--max-steps"},
        {"x.85", "--dump"},
        {"--max-steps=", "5", "x.85"},
        {"--dump=", "x.85"},
        {"--max-steps", "--help", "x.85"},
        {"--max-steps", "--", "x.85"},
        {"--max-steps", "-5", "x.85"},
        {"--max-steps", "many", "x.85"},
        {"--max-steps", "18446744073709551616", "x.85"},
        {"--dump", "0x10000:1", "x.85"},
        {"--dump", "1:0x10001", "x.85"},
        {"--dump", "--trace=1", "x.85"},
        {"--trace=1", "x.85"},
        {"--trace=", "x.85"},
        {"--trace={}", "x.85"},
        {"--help=yes"},
        {"--fast", "x.85"},
        {"--fast", "--max-steps", "many", "x.85"},
        {"--max-steps", "many", "--fast", "x.85"},
        {"--fast", "x.85", "--dump"},
        {"-hx"},
        {"-h"},
        {"--help", "--fast"},
        {"--help", "a.85", "b.85"},
        {"-x", "x.85"},
        {"-5", "x.85"},
        {"---", "x.85"},
        {"--tr ace", "x.85"},
        {"-", "x.85"},
        {"-"},
        {""},
        {"a.85", "b.85"},
        {"--", "--trace"},
        {"--", "-h", "--"},
        {"--max-steps=1=2", "x.85"},
        {"--max-steps5", "x.85"},
        {"--dump", "0x10:2", "--dump", "0177776:20", "x.85"},
        {"--help", "--help"},
        {"--trace", "--trace", "--com", "--com", "x.85"},
    };
    for (const auto& arguments : commandLines) {
        std::string command;
        for (const auto& argument : arguments) {
            command += " '" + argument + "'";
        }
        SCOPED_TRACE(command);
        std::string error;
        std::string legacyError;
        const auto options = RunnerOptions::Parse(arguments, error);
        const auto legacy = legacy_runner::LegacyParse(arguments, legacyError);
        EXPECT_EQ(options.has_value(), legacy.has_value());
        EXPECT_TRUE(options == legacy);
        EXPECT_EQ(error, legacyError);
    }
}

TEST(RunnerOptionsTest, EveryMessage) {
    const std::vector<std::pair<Arguments, std::string>> cases = {
        {{}, "no program file given"},
        {{"a.85", "b.85"}, "only one program file can be run"},
        {{"--fast", "x.85"}, "unknown option '--fast'"},
        {{"x.85", "--max-steps"}, "option --max-steps needs a value"},
        {{"x.85", "--dump"}, "option --dump needs a value"},
        {{"x.85", "--timeout"}, "option --timeout needs a value"},
        {{"--max-steps", "many", "x.85"},
         "--max-steps needs a decimal number of instructions, not 'many'"},
        {{"--dump", "1", "x.85"},
         "--dump needs ADDR:LEN with ADDR 0..0xffff and LEN 0..0x10000, not '1'"},
        {{"--timeout", "0", "x.85"}, "--timeout needs a number of seconds above 0, not '0'"},
        {{"--timeout=-1", "x.85"}, "--timeout needs a number of seconds above 0, not '-1'"},
        {{"--timeout", "nan", "x.85"}, "--timeout needs a number of seconds above 0, not 'nan'"},
        {{"--timeout", "1e3", "x.85"}, "--timeout needs a number of seconds above 0, not '1e3'"},
        {{"--timeout", "2s", "x.85"}, "--timeout needs a number of seconds above 0, not '2s'"},
        {{"--timeout", "2000000000", "x.85"},
         "--timeout needs a number of seconds above 0, not '2000000000'"},
        {{"--timeout=", "x.85"}, "--timeout needs a number of seconds above 0, not ''"},
        {{"--fast", "--timeout", "0", "x.85"}, "unknown option '--fast'"},
        {{"--timeout=1", "--timeout", "2.5", "x.85"}, ""},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        EXPECT_EQ(Message(arguments), message);
    }
}

TEST(RunnerOptionsTest, TimeoutInSeconds) {
    std::string error;
    const auto options = RunnerOptions::Parse({"--timeout", "2.5", "x.85"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->timeoutSeconds, 2.5);
    EXPECT_EQ(options->file, "x.85");
    const auto whole = RunnerOptions::Parse({"--timeout=30", "x.85"}, error);
    ASSERT_TRUE(whole) << error;
    EXPECT_EQ(whole->timeoutSeconds, 30.0);
    EXPECT_FALSE(RunnerOptions::Parse({"x.85"}, error)->timeoutSeconds);
}

} // namespace
