// A register read's frames: a reply is decoded only when it answers this very request.
#include "panel/ModbusFrame.h"

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

// The answer to transaction 0x1234, unit 5, holding registers, two of them: 7 and 0xfffe.
std::vector<std::uint8_t> goodReply() {
    return {0x12, 0x34, 0, 0, 0, 7, 5, 3, 4, 0, 7, 0xff, 0xfe};
}

TEST(ModbusFrame, ARequestIsTheMbapHeaderAndTheReadPdu) {
    const auto request = readRequest(0x1234, 5, RegisterKind::Input, 0x0102, 3);
    EXPECT_EQ(std::vector<std::uint8_t>(request.begin(), request.end()),
              (std::vector<std::uint8_t>{0x12, 0x34, 0, 0, 0, 6, 5, 4, 0x01, 0x02, 0, 3}));
}

TEST(ModbusFrame, AHeaderOfAnotherProtocolOrAnImpossibleLengthCannotBeFramed) {
    const auto header = [](std::uint8_t protocolLow, int length) {
        return std::array<std::uint8_t, MbapLength>{
            0, 1, 0, protocolLow, std::uint8_t(length >> 8), std::uint8_t(length), 1};
    };
    EXPECT_EQ(followingLength(header(0, 7)), 7);
    EXPECT_EQ(followingLength(header(0, MaxMbapFollowing)), MaxMbapFollowing);
    EXPECT_EQ(followingLength(header(1, 7)), 0);
    EXPECT_EQ(followingLength(header(0, 2)), 0);
    EXPECT_EQ(followingLength(header(0, MaxMbapFollowing + 1)), 0);
    EXPECT_EQ(followingLength(header(0, 0xffff)), 0);
}

TEST(ModbusFrame, OnlyTheAnswerToThisRequestIsDecoded) {
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> spoil;
        ReplyFault fault;
    };
    const Case cases[] = {
        {"the answer", [](auto&) {}, ReplyFault::None},
        {"another transaction", [](auto& f) { f[1] = 0x35; }, ReplyFault::ForeignTransaction},
        {"another unit", [](auto& f) { f[6] = 6; }, ReplyFault::WrongUnit},
        {"another function", [](auto& f) { f[7] = 4; }, ReplyFault::WrongFunction},
        {"a byte count that is not the request's", [](auto& f) { f[8] = 2; },
         ReplyFault::WrongLength},
        {"one register short", [](auto& f) { f.resize(f.size() - 2); }, ReplyFault::WrongLength},
        {"a byte more", [](auto& f) { f.push_back(0); }, ReplyFault::WrongLength},
    };
    for (const Case& c : cases) {
        auto frame = goodReply();
        c.spoil(frame);
        const ReadReply reply = checkReply(frame, 0x1234, 5, RegisterKind::Holding, 2);
        EXPECT_EQ(reply.fault, c.fault) << c.what;
        if (c.fault == ReplyFault::None)
            EXPECT_EQ(reply.registers, (std::vector<std::uint16_t>{7, 0xfffe}));
        else
            EXPECT_TRUE(reply.registers.empty()) << c.what;
    }
}

TEST(ModbusFrame, AnExceptionReplyCarriesItsCode) {
    const std::vector<std::uint8_t> refused{0x12, 0x34, 0, 0, 0, 3, 5, 0x83, 2};
    const ReadReply reply = checkReply(refused, 0x1234, 5, RegisterKind::Holding, 2);
    EXPECT_EQ(reply.fault, ReplyFault::None);
    EXPECT_EQ(reply.exception, 2);
    // Of another function, or with more after the code, it is no answer either.
    EXPECT_EQ(checkReply(refused, 0x1234, 5, RegisterKind::Input, 2).fault,
              ReplyFault::WrongFunction);
    auto longer = refused;
    longer.push_back(0);
    EXPECT_EQ(checkReply(longer, 0x1234, 5, RegisterKind::Holding, 2).fault,
              ReplyFault::WrongLength);
}

} // namespace
} // namespace merv::panel
