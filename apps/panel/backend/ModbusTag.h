#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Where a gauge's value sits on a Modbus server and how its registers make a number.
namespace merv::panel {

enum class RegisterKind { Holding, Input }; // "hr" (function 3) and "ir" (function 4)
enum class RegisterType { Int16, Uint16, Int32, Float32 };
// How the four bytes a, b, c, d of a 32-bit value (a the most significant) travel in its two
// registers, first register first: Abcd is big-endian, Cdab swaps the two words, Badc swaps
// the bytes within each word, Dcba is little-endian.
enum class WordOrder { Abcd, Badc, Cdab, Dcba };

// A tag "[UNIT/](hr|ir):ADDR[:TYPE[:ORDER]][*SCALE][(+|-)OFFSET]", for example
// "hr:100", "2/ir:7:int16*0.1", "hr:40:float32:cdab*1e-3-273.15".
//   UNIT    the unit identifier, 0 to 255 (default 1);
//   ADDR    the register's address as the protocol counts, 0 to 65535;
//   TYPE    int16, uint16 (default), int32 or float32; the 32-bit types take ADDR and ADDR+1;
//   ORDER   abcd (default), badc, cdab or dcba, for the 32-bit types only;
//   SCALE, OFFSET  C-locale numbers; the value is raw * SCALE + OFFSET (defaults 1 and 0).
struct ModbusTag {
    std::string text; // as the form wrote it; the value is delivered under this name
    int unit = DefaultUnit;
    RegisterKind kind = RegisterKind::Holding;
    int address = 0;
    RegisterType type = RegisterType::Uint16;
    WordOrder order = WordOrder::Abcd;
    double scale = 1, offset = 0;

    static constexpr int DefaultUnit = 1;

    // One register for the 16-bit types, two for the 32-bit ones.
    int registerCount() const;
    // The value registerCount() registers hold, scaled and offset; nullopt when it is not a
    // finite number (a float32 NaN or infinity, or an overflow of the scale).
    std::optional<double> decode(const std::uint16_t* registers) const;
};

// Throws SourceError naming the tag and the part of it that is wrong.
ModbusTag readModbusTag(const std::string& text);

} // namespace merv::panel
