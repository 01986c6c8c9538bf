#include "assembler/ExpressionReader.h"

#include "assembler/ReferenceList.h"
#include "assembler/SourceChar.h"
#include "assembler/SymbolTable.h"
#include "machine/ErrorCodes.h"

#include <array>
#include <limits>
#include <string_view>

namespace {

// Binding levels of the binary operators; a prefix operator binds its operand at the level given.
constexpr int orLevel = 1;
constexpr int andLevel = 2;
constexpr int addLevel = 4; // the operand of NOT: everything binding tighter than NOT
constexpr int multiplyLevel = 5;

struct OperatorWord {
    std::string_view word;
    Expression::Op op;
    int level;
};

constexpr std::array<OperatorWord, 6> binaryWords{{
    {"mod", Expression::Op::Modulo, multiplyLevel},
    {"shl", Expression::Op::ShiftLeft, multiplyLevel},
    {"shr", Expression::Op::ShiftRight, multiplyLevel},
    {"and", Expression::Op::And, andLevel},
    {"or", Expression::Op::Or, orLevel},
    {"xor", Expression::Op::Xor, orLevel},
}};

bool IsNumber(TokenKind kind) {
    return kind == TokenKind::Binary || kind == TokenKind::Octal || kind == TokenKind::Decimal ||
           kind == TokenKind::Hex;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c - 'A' + 10;
}

// The operator a symbol character stands for between two operands.
bool SymbolOperator(char c, Expression::Op& op, int& level) {
    switch (c) {
    case '+':
        op = Expression::Op::Add;
        level = addLevel;
        return true;
    case '-':
        op = Expression::Op::Subtract;
        level = addLevel;
        return true;
    case '*':
        op = Expression::Op::Multiply;
        level = multiplyLevel;
        return true;
    case '/':
        op = Expression::Op::Divide;
        level = multiplyLevel;
        return true;
    default:
        return false;
    }
}

} // namespace

ExpressionReader::ExpressionReader(CLex& lex_, const SymbolTable& symbols_,
                                   ReferenceList& references_)
    : lex(lex_), symbols(symbols_), references(references_) {
}

std::int32_t ExpressionReader::ConvertNumber(const std::string& digits, int radix) {
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (char c : digits) {
        value = value * radix + DigitValue(c);
        if (value > largest) {
            return static_cast<std::int32_t>(largest);
        }
    }
    return static_cast<std::int32_t>(value);
}

void ExpressionReader::Read(Expression& into, const Use& use_) {
    expression = &into;
    use = use_;
    into.Clear();
    wasText = false;
    tokensRead = 0;
    Parse(orLevel);
}

TokenKind ExpressionReader::Next() {
    const TokenKind kind = lex.GetToken();
    if (tokensRead++ == 0) {
        line = lex.LineNumber();
        column = lex.Column();
    }
    return kind;
}

void ExpressionReader::Parse(int minimumLevel) {
    ParseOperand();
    Expression::Op op{};
    int level = 0;
    while (!wasText && TakeBinaryOperator(minimumLevel, op, level)) {
        Parse(level + 1); // operators of one level group from the left
        expression->Push(op);
    }
}

// Consumes the operator after an operand when it binds at `minimumLevel` or tighter.
bool ExpressionReader::TakeBinaryOperator(int minimumLevel, Expression::Op& op, int& level) {
    const char next = lex.NextCharacter();
    if (SymbolOperator(next, op, level)) {
        if (level < minimumLevel) {
            return false;
        }
        Next();
        return true;
    }
    if (!SourceChar::IsLetter(next)) {
        return false;
    }
    lex.Save(saved);
    if (Next() == TokenKind::Identifier) {
        for (const OperatorWord& word : binaryWords) {
            if (word.level >= minimumLevel &&
                SourceChar::EqualIgnoringCase(lex.TokenText(), word.word)) {
                op = word.op;
                level = word.level;
                return true;
            }
        }
    }
    lex.Restore(saved);
    return false;
}

// Whether the next token could start an operand, so that a HIGH, LOW or NOT before it is an
// operator and not a name.
bool ExpressionReader::OperandFollows() {
    const char next = lex.NextCharacter();
    if (SourceChar::IsDigit(next) || next == '\'' || next == '(' || next == '$' || next == '-' ||
        next == '+') {
        return true;
    }
    if (!SourceChar::IsLetter(next) && next != '_') {
        return false;
    }
    lex.Save(saved);
    const bool name = lex.GetToken() == TokenKind::Identifier;
    lex.Restore(saved);
    return name;
}

bool ExpressionReader::BinaryOperatorFollows() {
    CLex::State before;
    lex.Save(before);
    Expression::Op op{};
    int level = 0;
    const bool binary = TakeBinaryOperator(orLevel, op, level);
    lex.Restore(before);
    return binary;
}

void ExpressionReader::ParseOperand() {
    const bool first = tokensRead == 0;
    const TokenKind kind = Next();
    if (IsNumber(kind)) {
        expression->Push(Expression::Op::Number, static_cast<std::uint16_t>(ConvertNumber(
                                                     lex.TokenText(), static_cast<int>(kind))));
        return;
    }
    switch (kind) {
    case TokenKind::Identifier: {
        const std::string& word = lex.TokenText();
        Expression::Op prefix{};
        if (SourceChar::EqualIgnoringCase(word, "high")) {
            prefix = Expression::Op::High;
        } else if (SourceChar::EqualIgnoringCase(word, "low")) {
            prefix = Expression::Op::Low;
        } else if (SourceChar::EqualIgnoringCase(word, "not")) {
            prefix = Expression::Op::Not;
        } else {
            ParseName();
            return;
        }
        if (!OperandFollows()) {
            ParseName();
            return;
        }
        if (prefix == Expression::Op::Not) {
            Parse(addLevel);
        } else {
            ParseOperand();
        }
        expression->Push(prefix);
        return;
    }
    case TokenKind::Text:
        if (first && use.textAllowed && !BinaryOperatorFollows()) {
            text = lex.StringValue();
            wasText = true;
            return;
        }
        ParseText();
        return;
    case TokenKind::Here:
        expression->Push(Expression::Op::Number, use.here);
        return;
    case TokenKind::Operator:
        switch (lex.TokenText()[0]) {
        case '(':
            Parse(orLevel);
            if (Next() != TokenKind::Operator || lex.TokenText()[0] != ')') {
                lex.RaiseError(1, AssemblerError::MissingParenthesis,
                               "Missing closing parenthesis");
            }
            return;
        case '-':
            Parse(multiplyLevel);
            expression->Push(Expression::Op::Negate);
            return;
        case '+':
            Parse(multiplyLevel);
            return;
        default:
            break;
        }
        break;
    default:
        break;
    }
    lex.RaiseError(1, AssemblerError::ExpectingValue, " Expecting number or constant symbol");
}

void ExpressionReader::ParseName() {
    const std::string& name = lex.TokenText();
    if (const auto value = symbols.Find(name)) {
        expression->Push(Expression::Op::Number, *value);
        return;
    }
    const std::size_t record = references.Add(name, use.here, lex.LineNumber(), lex.Column());
    if (!use.forwardAllowed) {
        lex.RaiseError(1, AssemblerError::ExpectingValue, " Expecting number or constant symbol");
    }
    expression->Push(Expression::Op::Name, static_cast<std::uint32_t>(record));
}

void ExpressionReader::ParseText() {
    const std::string& characters = lex.StringValue();
    if (characters.empty() || characters.size() > 2) {
        lex.RaiseError(1, AssemblerError::CharacterConstant,
                       "A character constant holds one or two characters");
    }
    unsigned value = 0;
    for (const char c : characters) {
        value = value << 8 | static_cast<unsigned char>(c);
    }
    expression->Push(Expression::Op::Number, static_cast<std::uint16_t>(value));
}
