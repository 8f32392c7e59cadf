#pragma once

#include "TempFolder.h"

#include <mosquitto.h>

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <netinet/in.h>
#include <pwd.h>
#include <stdexcept>
#include <string>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace merv::test {

// An MQTT broker of the test's own on a free loopback port, stopped when it goes.
class MosquittoBroker {
public:
    // extraConfig: lines added to the broker's configuration ("log_type all").
    explicit MosquittoBroker(const std::string& extraConfig = {}) : m_port(freePort()) {
        std::ofstream(m_folder / "broker.conf")
            << "listener " << m_port << " 127.0.0.1\nallow_anonymous true\npersistence false\n"
            << "log_dest file " << logFile().string() << "\n"
            << extraConfig;
        // Started as root, the broker would become the "mosquitto" user and could not write
        // its log into the test's private folder; as anyone else the line changes nothing.
        if (const passwd* self = ::getpwuid(::geteuid()))
            std::ofstream(m_folder / "broker.conf", std::ios::app)
                << "user " << self->pw_name << "\n";
        start();
    }
    ~MosquittoBroker() { stop(); }
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    int port() const { return m_port; }
    // Complete once the broker has stopped.
    std::filesystem::path logFile() const { return m_folder / "broker.log"; }
    std::string address(const std::string& prefix = "") const {
        return "mqtt://127.0.0.1:" + std::to_string(m_port) + (prefix.empty() ? "" : "/" + prefix);
    }

    void start() {
        const std::string conf = (m_folder / "broker.conf").string();
        char* argv[] = {const_cast<char*>(Program), const_cast<char*>("-c"),
                        const_cast<char*>(conf.c_str()), nullptr};
        const pid_t parent = ::getpid();
        m_pid = ::fork();
        if (m_pid < 0)
            throw std::runtime_error("cannot start the broker");
        if (m_pid == 0) {
            // A test that dies without stopping its broker takes it along, and the broker holds
            // none of the test's pipes, so that whoever reads the test's output sees it end.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() != parent)
                ::_exit(127);
            const int nothing = ::open("/dev/null", O_RDWR);
            for (int fd = 0; fd <= 2; ++fd)
                ::dup2(nothing, fd);
            ::close_range(3, ~0u, 0);
            ::execve(Program, argv, environ);
            ::_exit(127);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!accepts()) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                throw std::runtime_error("the broker exited at once");
            }
            if (std::chrono::steady_clock::now() > deadline) {
                stop();
                throw std::runtime_error("the broker does not accept connections");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    void stop() {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = 0;
    }
    void restart() {
        stop();
        start();
    }

private:
    static constexpr const char* Program = "/usr/sbin/mosquitto";

    static sockaddr_in loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(std::uint16_t(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return address;
    }
    static int freePort() {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        auto address = loopback(0);
        socklen_t size = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
        ::close(fd);
        return ntohs(address.sin_port);
    }
    bool accepts() const {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const auto address = loopback(m_port);
        const bool ok =
            ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return ok;
    }

    TempFolder m_folder;
    int m_port;
    pid_t m_pid = 0;
};

// A plain client publishing to a test's broker, logged in as user where given, over TLS with
// caFile where given.
class MqttPublisher {
public:
    explicit MqttPublisher(int port, const std::string& user = {}, const std::string& password = {},
                           const std::string& caFile = {}) {
        mosquitto_lib_init();
        m_client = mosquitto_new(nullptr, true, this);
        mosquitto_publish_callback_set(m_client, [](mosquitto*, void* self, int) {
            auto* publisher = static_cast<MqttPublisher*>(self);
            const std::lock_guard lock(publisher->m_mutex);
            ++publisher->m_delivered;
            publisher->m_deliveredChanged.notify_all();
        });
        if (!user.empty())
            mosquitto_username_pw_set(m_client, user.c_str(), password.c_str());
        if (!caFile.empty())
            mosquitto_tls_set(m_client, caFile.c_str(), nullptr, nullptr, nullptr, nullptr);
        if (mosquitto_connect(m_client, "127.0.0.1", port, 10) != MOSQ_ERR_SUCCESS ||
            mosquitto_loop_start(m_client) != MOSQ_ERR_SUCCESS)
            throw std::runtime_error("the publisher cannot connect");
    }
    ~MqttPublisher() {
        mosquitto_disconnect(m_client);
        mosquitto_loop_stop(m_client, false);
        mosquitto_destroy(m_client);
    }
    MqttPublisher(const MqttPublisher&) = delete;
    MqttPublisher& operator=(const MqttPublisher&) = delete;

    // retain: the broker keeps it for clients that subscribe later.
    void publish(const std::string& topic, const std::string& payload, bool retain = false) {
        const std::lock_guard lock(m_mutex);
        if (mosquitto_publish(m_client, nullptr, topic.c_str(), int(payload.size()), payload.data(),
                              1, retain) != MOSQ_ERR_SUCCESS)
            throw std::runtime_error("cannot publish on " + topic);
        ++m_sent;
    }
    // Waits until the broker has taken everything published (which is not to say that it
    // passed it on: a broker drops what the client has no right to publish).
    bool waitUntilTaken(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
        std::unique_lock lock(m_mutex);
        return m_deliveredChanged.wait_for(lock, limit, [this] { return m_delivered >= m_sent; });
    }

private:
    mosquitto* m_client = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_deliveredChanged;
    int m_sent = 0, m_delivered = 0;
};

} // namespace merv::test
