#include "assembler/Expression.h"

namespace {

std::uint16_t Word(unsigned value) {
    return static_cast<std::uint16_t>(value);
}

// Nullopt for a division by zero.
std::optional<std::uint16_t> Apply(Expression::Op op, std::uint16_t left, std::uint16_t right) {
    using Op = Expression::Op;
    switch (op) {
    case Op::Add:
        return Word(left + right);
    case Op::Subtract:
        return Word(left - right);
    case Op::Multiply:
        return Word(static_cast<unsigned>(left) * right);
    case Op::Divide:
        if (right == 0) {
            return std::nullopt;
        }
        return Word(left / right);
    case Op::Modulo:
        if (right == 0) {
            return std::nullopt;
        }
        return Word(left % right);
    case Op::ShiftLeft:
        return right > 15 ? 0 : Word(static_cast<unsigned>(left) << right);
    case Op::ShiftRight:
        return right > 15 ? 0 : Word(left >> right);
    case Op::And:
        return Word(left & right);
    case Op::Or:
        return Word(left | right);
    default:
        return Word(left ^ right);
    }
}

} // namespace

void Expression::Clear() {
    steps.clear();
    lastName = -1;
}

void Expression::Push(Op op, std::uint32_t value) {
    steps.push_back({op, value});
    if (op == Op::Name && static_cast<int>(value) > lastName) {
        lastName = static_cast<int>(value);
    }
}

std::optional<std::uint16_t> Expression::Evaluate(std::span<const Step> program,
                                                  std::span<const std::uint16_t> nameValues) {
    // No program needs more room than it has steps.
    if (stack.size() < program.size()) {
        stack.resize(program.size());
    }
    std::size_t depth = 0;
    for (const Step& step : program) {
        std::uint16_t& top = stack[depth == 0 ? 0 : depth - 1];
        switch (step.op) {
        case Op::Number:
            stack[depth++] = static_cast<std::uint16_t>(step.value);
            break;
        case Op::Name:
            stack[depth++] = step.value < nameValues.size() ? nameValues[step.value] : 0;
            break;
        case Op::Negate:
            top = Word(0u - top);
            break;
        case Op::Not:
            top = Word(~top);
            break;
        case Op::High:
            top = Word(top >> 8);
            break;
        case Op::Low:
            top = Word(top & 0xFFu);
            break;
        default: {
            --depth;
            const auto result = Apply(step.op, stack[depth - 1], top);
            if (!result) {
                return std::nullopt;
            }
            stack[depth - 1] = *result;
        }
        }
    }
    return depth == 0 ? 0 : stack[depth - 1];
}
