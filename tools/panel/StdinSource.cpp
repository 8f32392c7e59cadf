#include "panel/StdinSource.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iostream>

#include <poll.h>
#include <unistd.h>

namespace merv::panel {
namespace {

// How often the reader looks up from a quiet descriptor to see whether it should stop.
constexpr int StopCheckMs = 100;
// A line longer than this is no sample; the reader skips it rather than buffering without end.
constexpr std::size_t MaxLineBytes = 4096;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view nextToken(std::string_view& rest) {
    while (!rest.empty() && isBlank(rest.front()))
        rest.remove_prefix(1);
    std::size_t end = 0;
    while (end < rest.size() && !isBlank(rest[end]))
        ++end;
    std::string_view token = rest.substr(0, end);
    rest.remove_prefix(end);
    return token;
}

} // namespace

std::variant<StdinSample, StdinFault> parseStdinLine(std::string_view line) {
    std::string_view rest = line;
    const std::string_view tag = nextToken(rest);
    if (tag.empty())
        return StdinFault{{}, "empty line"};
    const std::string_view text = nextToken(rest);
    if (text.empty())
        return StdinFault{std::string(tag), "no value after the tag"};
    if (!nextToken(rest).empty())
        return StdinFault{std::string(tag), "more than a tag and a value"};
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return StdinFault{std::string(tag), "\"" + std::string(text) + "\" is no number"};
    if (!std::isfinite(value))
        return StdinFault{std::string(tag), "\"" + std::string(text) + "\" is not finite"};
    return StdinSample{std::string(tag), value};
}

StdinSource::StdinSource(int fd, QObject* parent) : DataSource(parent), m_fd(fd) {}

StdinSource::~StdinSource() {
    stop();
}

void StdinSource::start(const std::vector<SourceTag>&) {
    m_connected = true;
    emit connectionChanged(true, QStringLiteral("reading stdin"));
    m_reader = std::thread([this] { read(); });
}

void StdinSource::stop() {
    m_stopping = true;
    if (m_reader.joinable())
        m_reader.join();
}

void StdinSource::read() {
    std::string pending;
    bool skipping = false; // inside an over-long line, up to its end
    QString endReason = QStringLiteral("end of input");
    while (!m_stopping) {
        pollfd watch{m_fd, POLLIN, 0};
        const int ready = ::poll(&watch, 1, StopCheckMs);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0) {
            endReason = QString::fromLocal8Bit(std::strerror(errno));
            break;
        }
        if (ready == 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got < 0) {
            endReason = QString::fromLocal8Bit(std::strerror(errno));
            break;
        }
        if (got == 0)
            break;
        for (ssize_t i = 0; i < got; ++i) {
            if (buffer[i] == '\n') {
                if (skipping)
                    emit payloadRejected(
                        {}, QStringLiteral("a line longer than %1 bytes").arg(MaxLineBytes));
                else
                    deliver(pending);
                pending.clear();
                skipping = false;
            } else if (!skipping) {
                pending += buffer[i];
                skipping = pending.size() > MaxLineBytes;
                if (skipping)
                    pending.clear();
            }
        }
    }
    if (!pending.empty() && !skipping && !m_stopping)
        deliver(pending);
    m_connected = false;
    if (!m_stopping)
        emit connectionChanged(false, endReason);
}

void StdinSource::deliver(std::string_view line) {
    if (line.find_first_not_of(" \t\r") == std::string_view::npos)
        return; // a blank line between samples is no fault
    const auto parsed = parseStdinLine(line);
    if (const auto* sample = std::get_if<StdinSample>(&parsed)) {
        emit valueArrived(QString::fromStdString(sample->tag), sample->value, nowMs());
        return;
    }
    const auto& fault = std::get<StdinFault>(parsed);
    std::cerr << "mervgauge-panel: stdin: skipped \"" << std::string(line) << "\": " << fault.reason
              << '\n';
    emit payloadRejected(QString::fromStdString(fault.tag), QString::fromStdString(fault.reason));
}

} // namespace merv::panel
