#pragma once

#include <modbus.h>

#include <arpa/inet.h>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/select.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace merv::test {

// A Modbus TCP server of the test's own on a free loopback port, answering from a thread of the
// test, one client at a time (a new client takes the place of the last one). Each unit that
// has been given a register holds holding and input registers 0 to RegisterCount - 1; any other
// address is answered with an illegal data address exception, any other unit with a gateway
// target exception. Stopped when it goes.
class ModbusServer {
public:
    enum class Kind { Holding, Input };
    static constexpr int RegisterCount = 64;
    // How the server misbehaves before (or instead of) its right answer to a register read:
    // first a reply to another transaction, from another unit, or with one register short;
    // instead, a frame of another protocol, or the right answer only after this long.
    enum class Misreply { None, ForeignTransaction, WrongUnit, OneRegisterShort, NotModbus, Late };
    static constexpr int LateMs = 1500;
    void misreply(Misreply how) { m_misreply = how; }

    ModbusServer() : m_port(freePort()) { start(); }
    ~ModbusServer() {
        stop();
        for (auto& [unit, mapping] : m_units)
            modbus_mapping_free(mapping);
    }
    ModbusServer(const ModbusServer&) = delete;
    ModbusServer& operator=(const ModbusServer&) = delete;

    int port() const { return m_port; }
    std::string address() const { return "modbus-tcp://127.0.0.1:" + std::to_string(m_port); }

    void set(int unit, Kind kind, int address, std::uint16_t value) {
        if (address < 0 || address >= RegisterCount)
            throw std::out_of_range("no register " + std::to_string(address) + " here");
        std::lock_guard lock(m_mutex);
        modbus_mapping_t* mapping = m_units[unit];
        if (!mapping)
            mapping = m_units[unit] =
                modbus_mapping_new_start_address(0, 0, 0, 0, 0, RegisterCount, 0, RegisterCount);
        (kind == Kind::Holding ? mapping->tab_registers : mapping->tab_input_registers)[address] =
            value;
    }
    // A 32-bit value's bytes a, b, c, d (a the most significant) in two registers, in the order
    // the name spells them ("abcd", "cdab", ...), packed here byte by byte.
    void set32(int unit, Kind kind, int address, std::uint32_t bits, std::string_view order) {
        std::uint8_t wire[4];
        for (int i = 0; i < 4; ++i)
            wire[i] = std::uint8_t(bits >> (24 - 8 * (order.at(std::size_t(i)) - 'a')));
        set(unit, kind, address, std::uint16_t(wire[0] << 8 | wire[1]));
        set(unit, kind, address + 1, std::uint16_t(wire[2] << 8 | wire[3]));
    }
    void setFloat(int unit, Kind kind, int address, float value, std::string_view order) {
        set32(unit, kind, address, std::bit_cast<std::uint32_t>(value), order);
    }

    // From now on each connection is closed as soon as it is taken.
    void dropClients() { m_dropping = true; }
    int connectionsTaken() const { return m_taken; }

    // Listens again on the same port.
    void start() {
        m_context = modbus_new_tcp("127.0.0.1", m_port);
        m_listener = m_context ? modbus_tcp_listen(m_context, 1) : -1;
        if (m_listener < 0) {
            if (m_context)
                modbus_free(m_context);
            m_context = nullptr;
            throw std::runtime_error("the Modbus server cannot listen on " +
                                     std::to_string(m_port));
        }
        m_stopping = false;
        m_thread = std::thread([this] { serve(); });
    }
    // Closes the client's connection and the port.
    void stop() {
        if (!m_thread.joinable())
            return;
        m_stopping = true;
        m_thread.join();
        modbus_free(m_context);
        m_context = nullptr;
    }

private:
    static constexpr int WaitUs = 20000; // how soon stop() is noticed

    static int freePort() {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        ::close(fd);
        return ntohs(address.sin_port);
    }

    void serve() {
        std::uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
        int client = -1;
        while (!m_stopping) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_listener, &readable);
            if (client >= 0)
                FD_SET(client, &readable);
            timeval wait{0, WaitUs};
            if (::select(std::max(m_listener, client) + 1, &readable, nullptr, nullptr, &wait) <= 0)
                continue;
            if (FD_ISSET(m_listener, &readable)) {
                if (client >= 0)
                    ::close(client);
                client = modbus_tcp_accept(m_context, &m_listener);
                ++m_taken;
                if (m_dropping && client >= 0) {
                    ::close(client);
                    client = -1;
                }
                continue;
            }
            modbus_set_socket(m_context, client);
            const int length = modbus_receive(m_context, query);
            if (length > 0) {
                answer(query, length);
            } else if (length < 0) {
                ::close(client);
                client = -1;
            }
        }
        // The port first, so the client cannot reconnect in between.
        ::close(m_listener);
        if (client >= 0)
            ::close(client);
    }

    void answer(const std::uint8_t* query, int length) {
        const int unit = query[modbus_get_header_length(m_context) - 1];
        std::lock_guard lock(m_mutex);
        const auto found = m_units.find(unit);
        if (found == m_units.end())
            modbus_reply_exception(m_context, query, MODBUS_EXCEPTION_GATEWAY_TARGET);
        else if (m_misreply != Misreply::None && length == 12 && (query[7] == 3 || query[7] == 4))
            misanswer(query, found->second);
        else
            modbus_reply(m_context, query, length, found->second);
    }

    // A read's answer, built here byte by byte so that it can be spoilt.
    static std::vector<std::uint8_t> readAnswer(const std::uint8_t* query,
                                                const modbus_mapping_t* mapping) {
        const int address = query[8] << 8 | query[9], count = query[10] << 8 | query[11];
        const std::uint16_t* table =
            query[7] == 3 ? mapping->tab_registers : mapping->tab_input_registers;
        std::vector<std::uint8_t> out(query, query + 8); // transaction, protocol, length, unit, fc
        out.push_back(std::uint8_t(2 * count));
        for (int i = 0; i < count; ++i) {
            const std::uint16_t value = address + i < RegisterCount ? table[address + i] : 0;
            out.push_back(std::uint8_t(value >> 8));
            out.push_back(std::uint8_t(value));
        }
        const std::size_t following = out.size() - 6;
        out[4] = std::uint8_t(following >> 8);
        out[5] = std::uint8_t(following);
        return out;
    }
    void misanswer(const std::uint8_t* query, const modbus_mapping_t* mapping) {
        const int socket = modbus_get_socket(m_context);
        const auto right = readAnswer(query, mapping);
        auto wrong = right;
        switch (m_misreply.load()) {
        case Misreply::ForeignTransaction:
            wrong[1] ^= 0x5a;
            break;
        case Misreply::WrongUnit:
            wrong[6] = std::uint8_t(wrong[6] + 1);
            break;
        case Misreply::OneRegisterShort:
            wrong.resize(wrong.size() - 2);
            wrong[5] = std::uint8_t(wrong[5] - 2);
            break;
        case Misreply::NotModbus:
            wrong[3] = 1;
            break;
        case Misreply::Late:
            std::this_thread::sleep_for(std::chrono::milliseconds(LateMs));
            wrong.clear();
            break;
        case Misreply::None:
            break;
        }
        ::send(socket, wrong.data(), wrong.size(), MSG_NOSIGNAL);
        if (m_misreply != Misreply::NotModbus)
            ::send(socket, right.data(), right.size(), MSG_NOSIGNAL);
    }

    int m_port;
    modbus_t* m_context = nullptr;
    int m_listener = -1;
    std::thread m_thread;
    std::atomic<bool> m_stopping = false, m_dropping = false;
    std::atomic<int> m_taken = 0;
    std::atomic<Misreply> m_misreply = Misreply::None;
    std::mutex m_mutex;
    std::map<int, modbus_mapping_t*> m_units;
};

} // namespace merv::test
