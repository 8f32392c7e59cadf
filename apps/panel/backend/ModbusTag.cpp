#include "panel/ModbusTag.h"

#include "panel/DataSource.h"
#include "panel/NumberText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

namespace merv::panel {

namespace {

constexpr std::string_view TagForm = "[UNIT/](hr|ir):ADDR[:TYPE[:ORDER]][*SCALE][(+|-)OFFSET]";
constexpr int MaxUnit = 255;      // a unit identifier is one byte
constexpr int MaxAddress = 65535; // register addresses are 16-bit
constexpr int MaxHeadParts = 4;   // kind, address, type, order

template <class T>
struct Named {
    std::string_view name;
    T value;
};
constexpr Named<RegisterKind> Kinds[] = {{"hr", RegisterKind::Holding},
                                         {"ir", RegisterKind::Input}};
constexpr Named<RegisterType> Types[] = {{"int16", RegisterType::Int16},
                                         {"uint16", RegisterType::Uint16},
                                         {"int32", RegisterType::Int32},
                                         {"float32", RegisterType::Float32}};
constexpr Named<WordOrder> Orders[] = {{"abcd", WordOrder::Abcd},
                                       {"badc", WordOrder::Badc},
                                       {"cdab", WordOrder::Cdab},
                                       {"dcba", WordOrder::Dcba}};

// For each order, which byte of the value (0 = a, the most significant) each of the four bytes
// on the wire carries, in the order the two registers send them.
constexpr int ValueByteAt[4][4] = {{0, 1, 2, 3}, {1, 0, 3, 2}, {2, 3, 0, 1}, {3, 2, 1, 0}};

[[noreturn]] void badTag(const std::string& tag, const std::string& why) {
    throw SourceError("Modbus tag \"" + tag + "\": " + why + " (use " + std::string(TagForm) + ")");
}

template <class T, std::size_t N>
std::optional<T> lookUp(const Named<T> (&table)[N], std::string_view name) {
    for (const auto& entry : table)
        if (entry.name == name)
            return entry.value;
    return std::nullopt;
}

// A decimal count from 0 to max filling the whole text.
std::optional<int> readCount(std::string_view text, int max) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > max)
        return std::nullopt;
    return value;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const auto at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

// Where the scale's text ends: at a sign that is not an exponent's.
std::size_t scaleEnd(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((text[i] == '+' || text[i] == '-') && i > 0 && text[i - 1] != 'e' && text[i - 1] != 'E')
            return i;
    return text.size();
}

} // namespace

int ModbusTag::registerCount() const {
    return type == RegisterType::Int16 || type == RegisterType::Uint16 ? 1 : 2;
}

std::optional<double> ModbusTag::decode(const std::uint16_t* registers) const {
    double raw = 0;
    if (type == RegisterType::Int16) {
        raw = std::int16_t(registers[0]);
    } else if (type == RegisterType::Uint16) {
        raw = registers[0];
    } else {
        const std::uint8_t wire[4] = {std::uint8_t(registers[0] >> 8), std::uint8_t(registers[0]),
                                      std::uint8_t(registers[1] >> 8), std::uint8_t(registers[1])};
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits |= std::uint32_t(wire[i]) << (24 - 8 * ValueByteAt[int(order)][i]);
        raw = type == RegisterType::Int32 ? double(std::int32_t(bits))
                                          : double(std::bit_cast<float>(bits));
    }
    const double value = raw * scale + offset;
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

ModbusTag readModbusTag(const std::string& text) {
    ModbusTag tag;
    tag.text = text;
    std::string_view rest(text);
    if (rest.empty())
        badTag(text, "the tag is empty");

    // The head (unit, kind, address, type, order) holds no sign and no star; the scale and
    // the offset follow it.
    const auto headEnd = rest.find_first_of("*+-");
    const auto head = rest.substr(0, headEnd);
    rest.remove_prefix(head.size());

    auto parts = split(head, ':');
    if (parts.size() < 2)
        badTag(text, "no \":ADDR\" after the register kind");
    if (parts.size() > MaxHeadParts)
        badTag(text, "too many parts; the last one allowed is the word order");
    std::string_view kind = parts[0];
    if (const auto slash = kind.find('/'); slash != std::string_view::npos) {
        const auto unit = readCount(kind.substr(0, slash), MaxUnit);
        if (!unit)
            badTag(text, "the unit \"" + std::string(kind.substr(0, slash)) +
                             "\" is not a number 0 to 255");
        tag.unit = *unit;
        kind.remove_prefix(slash + 1);
    }
    const auto foundKind = lookUp(Kinds, kind);
    if (!foundKind)
        badTag(text, "the register kind \"" + std::string(kind) +
                         "\" is neither hr (holding) nor ir (input)");
    tag.kind = *foundKind;
    const auto address = readCount(parts[1], MaxAddress);
    if (!address)
        badTag(text, "the address \"" + std::string(parts[1]) + "\" is not a number 0 to 65535");
    tag.address = *address;
    if (parts.size() > 2) {
        const auto type = lookUp(Types, parts[2]);
        if (!type)
            badTag(text, "the type \"" + std::string(parts[2]) +
                             "\" is not int16, uint16, int32 or float32");
        tag.type = *type;
    }
    if (parts.size() > 3) {
        if (tag.registerCount() == 1)
            badTag(text, "the word order \"" + std::string(parts[3]) +
                             "\" applies to int32 and float32 only");
        const auto order = lookUp(Orders, parts[3]);
        if (!order)
            badTag(text, "the word order \"" + std::string(parts[3]) +
                             "\" is not abcd, badc, cdab or dcba");
        tag.order = *order;
    }
    if (tag.address + tag.registerCount() - 1 > MaxAddress)
        badTag(text, "a 32-bit value at 65535 would need a register past the last one");

    if (rest.starts_with('*')) {
        rest.remove_prefix(1);
        const auto scaleText = rest.substr(0, scaleEnd(rest));
        const auto scale = readNumber(scaleText);
        if (!scale)
            badTag(text, "the scale \"" + std::string(scaleText) + "\" is not a number");
        if (*scale == 0)
            badTag(text, "the scale is zero, which would hide every value");
        tag.scale = *scale;
        rest.remove_prefix(scaleText.size());
    }
    if (!rest.empty()) {
        const auto offset = readNumber(rest);
        if (!offset)
            badTag(text, "the offset \"" + std::string(rest) + "\" is not a number");
        tag.offset = *offset;
    }
    return tag;
}

} // namespace merv::panel
