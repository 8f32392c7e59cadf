#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace merv::test {

// A TCP relay on loopback to a server on loopback, that a test cuts to take a client's link down
// while the server keeps running: cut() closes every relayed connection and refuses new ones
// until restore().
class TcpProxy {
public:
    explicit TcpProxy(int targetPort) : m_target(targetPort) {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        socklen_t size = sizeof address;
        if (m_listener < 0 ||
            ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(m_listener, 8) != 0 ||
            ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            throw std::runtime_error("the proxy cannot listen on loopback");
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~TcpProxy() {
        m_stopping = true;
        m_thread.join();
        closeAll();
        ::close(m_listener);
    }
    TcpProxy(const TcpProxy&) = delete;
    TcpProxy& operator=(const TcpProxy&) = delete;

    int port() const { return m_port; }
    void cut() { m_up = false; }
    void restore() { m_up = true; }

private:
    static sockaddr_in loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(std::uint16_t(port));
        return address;
    }
    void closeAll() {
        for (auto [client, server] : m_pairs) {
            ::close(client);
            ::close(server);
        }
        m_pairs.clear();
    }
    void run() {
        while (!m_stopping) {
            if (!m_up)
                closeAll();
            std::vector<pollfd> fds{{m_listener, POLLIN, 0}};
            for (auto [client, server] : m_pairs) {
                fds.push_back({client, POLLIN, 0});
                fds.push_back({server, POLLIN, 0});
            }
            if (::poll(fds.data(), fds.size(), 20) <= 0)
                continue;
            // Only the pairs polled above have events; one accepted now is kept as it is.
            const std::size_t polled = m_pairs.size();
            if (fds[0].revents & POLLIN)
                accept();
            std::vector<std::pair<int, int>> kept(m_pairs.begin() + std::ptrdiff_t(polled),
                                                  m_pairs.end());
            for (std::size_t i = 0; i < polled; ++i) {
                const auto [client, server] = m_pairs[i];
                const bool ok = relay(fds[1 + 2 * i].revents, client, server) &&
                                relay(fds[2 + 2 * i].revents, server, client);
                if (ok) {
                    kept.emplace_back(client, server);
                } else {
                    ::close(client);
                    ::close(server);
                }
            }
            m_pairs = std::move(kept);
        }
    }
    void accept() {
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0)
            return;
        const int server = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(m_target);
        if (!m_up || server < 0 ||
            ::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(client);
            if (server >= 0)
                ::close(server);
            return;
        }
        m_pairs.emplace_back(client, server);
    }
    // Copies what from has to to; false once either end is gone.
    static bool relay(short revents, int from, int to) {
        if (revents & (POLLERR | POLLNVAL))
            return false;
        if (!(revents & (POLLIN | POLLHUP)))
            return true;
        char buffer[16384];
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        for (ssize_t sent = 0; sent < n;) {
            const ssize_t w = ::send(to, buffer + sent, std::size_t(n - sent), MSG_NOSIGNAL);
            if (w <= 0)
                return false;
            sent += w;
        }
        return true;
    }

    int m_target;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_up{true}, m_stopping{false};
    std::vector<std::pair<int, int>> m_pairs; // the relay thread's
    std::thread m_thread;
};

} // namespace merv::test
