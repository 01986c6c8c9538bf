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
    stack.clear();
    for (const Step& step : program) {
        switch (step.op) {
        case Op::Number:
            stack.push_back(static_cast<std::uint16_t>(step.value));
            break;
        case Op::Name:
            stack.push_back(step.value < nameValues.size() ? nameValues[step.value] : 0);
            break;
        case Op::Negate:
            stack.back() = Word(0u - stack.back());
            break;
        case Op::Not:
            stack.back() = Word(~stack.back());
            break;
        case Op::High:
            stack.back() = Word(stack.back() >> 8);
            break;
        case Op::Low:
            stack.back() = Word(stack.back() & 0xFFu);
            break;
        default: {
            const std::uint16_t right = stack.back();
            stack.pop_back();
            const auto result = Apply(step.op, stack.back(), right);
            if (!result) {
                return std::nullopt;
            }
            stack.back() = *result;
        }
        }
    }
    return stack.empty() ? 0 : stack.back();
}
