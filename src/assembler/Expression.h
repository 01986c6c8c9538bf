#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A value as written in an operand, kept in postfix order so that it can be worked out at once
// when every name in it is known, or once the whole file has been read when it names something
// defined further on. Arithmetic is 16-bit and wraps.
class Expression {
public:
    enum class Op : std::uint8_t {
        Number, // pushes `value`
        Name,   // pushes the value of the name whose reference record is `value`
        Negate,
        Not,
        High,
        Low,
        Add,
        Subtract,
        Multiply,
        Divide,
        Modulo,
        ShiftLeft,
        ShiftRight,
        And,
        Or,
        Xor,
    };
    struct Step {
        Op op;
        std::uint32_t value;
    };

    Expression() = default;
    virtual ~Expression() = default;

    void Clear();
    void Push(Op op, std::uint32_t value = 0);

    std::span<const Step> Steps() const { return steps; }
    // The highest reference record a Name step uses; -1 when every name was known.
    int LastName() const { return lastName; }
    bool NamesUnknown() const { return lastName >= 0; }

    // Works `steps` out, a Name step taking nameValues[record]. Nullopt on a division by zero.
    std::optional<std::uint16_t> Evaluate(std::span<const Step> program,
                                          std::span<const std::uint16_t> nameValues);

private:
    std::vector<Step> steps;
    std::vector<std::uint16_t> stack;
    int lastName = -1;
};
