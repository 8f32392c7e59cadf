#pragma once

#include "panel/ModbusTag.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The Modbus TCP frames of a register read, apart from the network: the request, and the check
// of what comes back. A reply is decoded only when it answers this very request (its
// transaction, unit, function and register count); anything else is named and never decoded.
namespace merv::panel {

// The MBAP header: transaction id, protocol id (0), the length of what follows, the unit.
inline constexpr std::size_t MbapLength = 7;
// The most the length field may say: the unit and a PDU of at most 253 bytes.
inline constexpr int MaxMbapFollowing = 254;

std::array<std::uint8_t, 12> readRequest(std::uint16_t transaction, int unit, RegisterKind kind,
                                         int address, int count);

// The length field of a header, or 0 when the header is no Modbus TCP header (another
// protocol id, or a length no reply can have): the stream can no longer be framed.
int followingLength(std::span<const std::uint8_t, MbapLength> header);

enum class ReplyFault {
    None,
    ForeignTransaction, // an answer to another request, a late one say
    WrongUnit,
    WrongFunction,
    WrongLength, // the byte count does not fit the request or the frame
};
inline constexpr std::size_t ReplyFaultCount = std::size_t(ReplyFault::WrongLength) + 1;
struct ReadReply {
    ReplyFault fault = ReplyFault::None;
    int exception = 0; // the server's exception code when it refused the read
    std::vector<std::uint16_t> registers;
};
// frame: the header and everything its length field said follows.
ReadReply checkReply(std::span<const std::uint8_t> frame, std::uint16_t transaction, int unit,
                     RegisterKind kind, int count);

const char* faultName(ReplyFault fault);

} // namespace merv::panel
