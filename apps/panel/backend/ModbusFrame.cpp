#include "panel/ModbusFrame.h"

namespace merv::panel {

namespace {

constexpr std::uint8_t ReadHolding = 3, ReadInput = 4;
constexpr std::uint8_t ExceptionBit = 0x80;

std::uint8_t functionOf(RegisterKind kind) {
    return kind == RegisterKind::Holding ? ReadHolding : ReadInput;
}

int word(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] << 8 | bytes[at + 1];
}

} // namespace

std::array<std::uint8_t, 12> readRequest(std::uint16_t transaction, int unit, RegisterKind kind,
                                         int address, int count) {
    return {std::uint8_t(transaction >> 8),
            std::uint8_t(transaction),
            0,
            0,
            0,
            6,
            std::uint8_t(unit),
            functionOf(kind),
            std::uint8_t(address >> 8),
            std::uint8_t(address),
            std::uint8_t(count >> 8),
            std::uint8_t(count)};
}

int followingLength(std::span<const std::uint8_t, MbapLength> header) {
    const int protocol = word(header, 2), length = word(header, 4);
    // The unit, a function code and at least one byte more.
    constexpr int Least = 3;
    return protocol == 0 && length >= Least && length <= MaxMbapFollowing ? length : 0;
}

ReadReply checkReply(std::span<const std::uint8_t> frame, std::uint16_t transaction, int unit,
                     RegisterKind kind, int count) {
    ReadReply out;
    if (word(frame, 0) != transaction) {
        out.fault = ReplyFault::ForeignTransaction;
        return out;
    }
    if (frame[6] != unit) {
        out.fault = ReplyFault::WrongUnit;
        return out;
    }
    const std::uint8_t function = frame[7];
    if (function == (functionOf(kind) | ExceptionBit)) {
        if (frame.size() != MbapLength + 2)
            out.fault = ReplyFault::WrongLength;
        else
            out.exception = frame[8];
        return out;
    }
    if (function != functionOf(kind)) {
        out.fault = ReplyFault::WrongFunction;
        return out;
    }
    const std::size_t bytes = std::size_t(count) * 2;
    if (frame.size() != MbapLength + 2 + bytes || frame[8] != bytes) {
        out.fault = ReplyFault::WrongLength;
        return out;
    }
    for (std::size_t i = 0; i < std::size_t(count); ++i)
        out.registers.push_back(std::uint16_t(word(frame, MbapLength + 2 + 2 * i)));
    return out;
}

const char* faultName(ReplyFault fault) {
    switch (fault) {
    case ReplyFault::None:
        return "none";
    case ReplyFault::ForeignTransaction:
        return "a reply to another request (wrong transaction id)";
    case ReplyFault::WrongUnit:
        return "a reply from another unit";
    case ReplyFault::WrongFunction:
        return "a reply of another function";
    case ReplyFault::WrongLength:
        return "a reply whose length does not fit the request";
    }
    return "?";
}

} // namespace merv::panel
