#pragma once

#include "assembler/CLex.h"
#include "assembler/Expression.h"

#include <cstdint>
#include <string>

class ReferenceList;
class SymbolTable;

// Reads one operand value from the current line into an Expression: numbers, names, character
// constants, $ (the address of the statement), parentheses and the operators, from the tightest
// binding to the loosest:
//     HIGH LOW        (prefix: the high or low byte)
//     * / MOD SHL SHR
//     + -             (binary, and prefix)
//     NOT             (prefix)
//     AND
//     OR XOR
// Operator words are matched ignoring case. HIGH, LOW and NOT with nothing after them that could
// be an operand are names, as they always were; so are the binary operator words where an operand
// is expected. The token after the expression is left for the caller to read.
class ExpressionReader {
public:
    struct Use {
        bool forwardAllowed = false; // names may be defined further on
        bool textAllowed = false;    // a lone string stands for its characters (DB)
        std::uint16_t here = 0;      // the value of $
    };

    ExpressionReader(CLex& lex, const SymbolTable& symbols, ReferenceList& references);
    virtual ~ExpressionReader() = default;

    // Reads an expression into `into`. A name not defined yet gets a reference record for its
    // first use and, unless forward references are allowed, raises code 14 at once.
    void Read(Expression& into, const Use& use);

    // Whether the expression read last was a string standing alone where text is allowed; its
    // characters are then Text().
    bool WasText() const { return wasText; }
    const std::string& Text() const { return text; }
    // The position of the expression's first token.
    int Line() const { return line; }
    int Column() const { return column; }

    // The value of the digits of a number token in `radix`, saturating at the largest 32-bit value
    // as the assembler always did.
    static std::int32_t ConvertNumber(const std::string& digits, int radix);

private:
    void Parse(int minimumLevel);
    void ParseOperand();
    void ParseName();
    void ParseText();
    bool TakeBinaryOperator(int minimumLevel, Expression::Op& op, int& level);
    bool OperandFollows();
    bool BinaryOperatorFollows();
    TokenKind Next();

    CLex& lex;
    const SymbolTable& symbols;
    ReferenceList& references;
    Expression* expression = nullptr;
    Use use;
    bool wasText = false;
    int tokensRead = 0;
    int line = 0;
    int column = 0;
    std::string text;
    CLex::State saved;
};
