#include "assembler/CLex.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

struct Token {
    TokenKind kind;
    std::string text;
    int column;
    bool operator==(const Token&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Token& token) {
    return out << "{" << static_cast<int>(token.kind) << ", \"" << token.text << "\", "
               << token.column << "}";
}

// A lexer that knows a handful of mnemonics, fed line by line.
class TestLex : public CLex {
public:
    bool IsMnemonic(const std::string& word) override {
        std::string lower;
        for (char c : word) {
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return std::set<std::string>{"mov", "nop", "jmp", "mvi", "cma"}.count(lower) != 0;
    }

    // The tokens of `line` up to and including its end.
    std::vector<Token> Tokens(std::string_view line) {
        StartLine(line);
        std::vector<Token> tokens;
        TokenKind kind;
        do {
            kind = GetToken();
            tokens.push_back({kind, TokenText(), Column()});
        } while (kind != TokenKind::EndOfLine && tokens.size() < 100);
        return tokens;
    }

    using CLex::StartLine;
};

struct TokenRow {
    std::string line;
    std::vector<Token> tokens; // without the final end of line
};

class LexerTokens : public ::testing::TestWithParam<TokenRow> {};

TEST_P(LexerTokens, CutsTheLineIntoTokens) {
    const TokenRow& row = GetParam();
    TestLex lex;
    std::vector<Token> tokens = lex.Tokens(row.line);
    ASSERT_FALSE(tokens.empty());
    EXPECT_EQ(tokens.back().kind, TokenKind::EndOfLine);
    EXPECT_EQ(tokens.back().column, 0);
    tokens.pop_back();
    EXPECT_EQ(tokens, row.tokens) << "line: " << row.line;
}

using K = TokenKind;
INSTANTIATE_TEST_SUITE_P(
    Lines, LexerTokens,
    ::testing::Values(
        TokenRow{"", {}}, TokenRow{"   \t\r\n", {}},
        TokenRow{"; a comment, 0x1G", {{K::Comment, "; a comment, 0x1G", 1}}},
        TokenRow{"  # hash comment\n", {{K::Comment, "# hash comment\n", 3}}},
        TokenRow{"loop:mov", {{K::Label, "loop", 2}, {K::Mnemonic, "mov", 6}}},
        TokenRow{"loop : nop",
                 {{K::Identifier, "loop", 1}, {K::Colon, ":", 6}, {K::Mnemonic, "nop", 8}}},
        TokenRow{"MOV mov Mov",
                 {{K::Mnemonic, "MOV", 1}, {K::Mnemonic, "mov", 5}, {K::Mnemonic, "Mov", 9}}},
        TokenRow{".ORG .org100",
                 {{K::Directive, "ORG", 2}, {K::Directive, "org", 7}, {K::Decimal, "100", 10}}},
        TokenRow{". 5", {{K::Directive, "", 2}, {K::Decimal, "5", 3}}},
        TokenRow{"0x1F,0x", {{K::Hex, "1F", 3}, {K::Comma, ",", 5}, {K::Hex, "", 8}}},
        TokenRow{"0xab;c", {{K::Hex, "ab", 3}, {K::Comment, ";c", 5}}},
        TokenRow{
            "017 0 00#",
            {{K::Octal, "17", 2}, {K::Octal, "", 6}, {K::Octal, "0", 8}, {K::Comment, "#", 9}}},
        TokenRow{"101b 1b 109",
                 {{K::Binary, "101", 2}, {K::Binary, "1", 7}, {K::Decimal, "109", 9}}},
        TokenRow{"12ab", {{K::Decimal, "12", 1}, {K::Identifier, "ab", 3}}},
        TokenRow{
            "_tmp my_label x1:",
            {{K::Identifier, "_tmp", 1}, {K::Identifier, "my_label", 6}, {K::Label, "x1", 16}}},
        TokenRow{"  jmp loop", {{K::Mnemonic, "jmp", 3}, {K::Identifier, "loop", 7}}},
        TokenRow{"cmax cma", {{K::Identifier, "cmax", 1}, {K::Mnemonic, "cma", 6}}},
        // Numbers with a radix suffix: the token text is the digits, the column counted from it
        // as for "101b".
        TokenRow{"0FFH 23h 17o 17Q 10D 0101b 101B",
                 {{K::Hex, "0FF", 2},
                  {K::Hex, "23", 7},
                  {K::Octal, "17", 11},
                  {K::Octal, "17", 15},
                  {K::Decimal, "10", 19},
                  {K::Binary, "0101", 23},
                  {K::Binary, "101", 29}}},
        // A run that is no such number is read as before: a number, then a word.
        TokenRow{"5nop 12hlt 1ah: 12GH",
                 {{K::Decimal, "5", 1},
                  {K::Mnemonic, "nop", 2},
                  {K::Decimal, "12", 6},
                  {K::Identifier, "hlt", 8},
                  {K::Decimal, "1", 12},
                  {K::Label, "ah", 14},
                  {K::Decimal, "12", 17},
                  {K::Identifier, "GH", 19}}},
        TokenRow{"'A' 'it''s' '' ';#'",
                 {{K::Text, "'A'", 1},
                  {K::Text, "'it''s'", 5},
                  {K::Text, "''", 13},
                  {K::Text, "';#'", 16}}},
        TokenRow{"$+(0x10-017)*2/x",
                 {{K::Here, "$", 1},
                  {K::Operator, "+", 2},
                  {K::Operator, "(", 3},
                  {K::Hex, "10", 6},
                  {K::Operator, "-", 8},
                  {K::Octal, "17", 10},
                  {K::Operator, ")", 12},
                  {K::Operator, "*", 13},
                  {K::Decimal, "2", 14},
                  {K::Operator, "/", 15},
                  {K::Identifier, "x", 16}}}));

TEST(Lexer, StringsKeepTheirCharactersWithOneQuoteForTwo) {
    TestLex lex;
    lex.StartLine("'it''s' '''' 'a;b'");
    std::vector<std::string> values;
    while (lex.GetToken() == TokenKind::Text) {
        values.push_back(lex.StringValue());
    }
    EXPECT_EQ(values, (std::vector<std::string>{"it's", "'", "a;b"}));
}

TEST(Lexer, ATokenReadAheadIsReadAgainAfterRestore) {
    TestLex lex;
    lex.StartLine("mvi a, 5 ");
    lex.GetToken();
    lex.GetToken();
    EXPECT_EQ(lex.NextCharacter(), ',');
    CLex::State state;
    lex.Save(state);
    EXPECT_EQ(lex.GetToken(), TokenKind::Comma);
    EXPECT_EQ(lex.GetToken(), TokenKind::Decimal);
    EXPECT_EQ(lex.GetToken(), TokenKind::EndOfLine);
    EXPECT_EQ(lex.NextCharacter(), '\0');
    lex.Restore(state);
    EXPECT_EQ(lex.TokenText(), "a");
    EXPECT_EQ(lex.Column(), 5);
    EXPECT_EQ(lex.GetToken(), TokenKind::Comma);
    EXPECT_EQ(lex.GetToken(), TokenKind::Decimal);
    EXPECT_EQ(lex.GetToken(), TokenKind::EndOfLine);
    EXPECT_EQ(lex.LineNumber(), 1);
}

struct ErrorRow {
    std::string line;
    int code;
    std::string message;
};

class LexerErrors : public ::testing::TestWithParam<ErrorRow> {};

TEST_P(LexerErrors, RaisesTheCodeAndMessage) {
    const ErrorRow& row = GetParam();
    TestLex lex;
    try {
        lex.Tokens(row.line);
        FAIL() << "no error for: " << row.line;
    } catch (const CMyException& error) {
        EXPECT_EQ(error.GetCode(), row.code) << row.line;
        EXPECT_EQ(error.GetMessage(), row.message) << row.line;
        EXPECT_EQ(error.errorFlag, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LexerErrors,
    ::testing::Values(
        ErrorRow{"0x1G", 7, "Illegal Hexadecimal number"},
        ErrorRow{"0x10:", 7, "Illegal Hexadecimal number"},
        ErrorRow{"0X10", 6, "Illegal Octal number"}, ErrorRow{"019", 6, "Illegal Octal number"},
        ErrorRow{"0108", 6, "Illegal Octal number"}, ErrorRow{"0FFG", 6, "Illegal Octal number"},
        ErrorRow{"0FFH:", 6, "Illegal Octal number"}, ErrorRow{"102b", 5, "Illegal binary number"},
        ErrorRow{"mvi a, \"A\"", 13, "NextToken : Syntax Error"},
        ErrorRow{"@10", 13, "NextToken : Syntax Error"},
        ErrorRow{"x % 2", 13, "NextToken : Syntax Error"},
        ErrorRow{"'a", 40, "Missing closing quote"},
        ErrorRow{"db 'it''s", 40, "Missing closing quote"},
        ErrorRow{"nop\xe9", 13, "NextToken : Syntax Error"},
        ErrorRow{std::string("nop\0nop", 7), 13, "NextToken : Syntax Error"},
        ErrorRow{std::string("0x1F\0", 5), 13, "NextToken : Syntax Error"},
        ErrorRow{std::string("017\0", 4), 13, "NextToken : Syntax Error"}));

TEST(Lexer, CountsEveryEndedLineWhenTheNextLineStarts) {
    TestLex lex;
    EXPECT_EQ(lex.LineNumber(), 1);
    lex.Tokens("nop");
    // The end-of-line token still belongs to line 1.
    EXPECT_EQ(lex.LineNumber(), 1);
    lex.Tokens("");
    EXPECT_EQ(lex.LineNumber(), 2);
    lex.Tokens("   ");
    EXPECT_EQ(lex.LineNumber(), 3);
    // Asking again at the end of a line does not count it twice.
    EXPECT_EQ(lex.GetToken(), TokenKind::EndOfLine);
    lex.Tokens("nop");
    EXPECT_EQ(lex.LineNumber(), 4);
}

TEST(Lexer, KeepsAtMostAPieceOfAVeryLongLine) {
    TestLex lex;
    const std::string longLine(100000, 'x');
    const std::vector<Token> tokens = lex.Tokens(longLine);
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].text.size(), CScanner::maxLineLength);
    EXPECT_EQ(lex.LineBuffer().size(), CScanner::maxLineLength);
}

} // namespace
