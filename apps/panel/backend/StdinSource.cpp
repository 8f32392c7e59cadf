#include "panel/StdinSource.h"

#include "panel/NumberText.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>

namespace merv::panel {

namespace {

constexpr std::string_view Blanks = " \t";

// The next blank-separated word of rest, taken off its front; empty when there is none.
std::string_view takeWord(std::string_view& rest) {
    const auto begin = rest.find_first_not_of(Blanks);
    if (begin == std::string_view::npos) {
        rest = {};
        return {};
    }
    rest.remove_prefix(begin);
    const auto end = std::min(rest.find_first_of(Blanks), rest.size());
    const auto word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

} // namespace

StdinLine readStdinLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    StdinLine out;
    out.tag = std::string(takeWord(line));
    const auto value = takeWord(line);
    if (out.tag.empty())
        out.error = "no tag";
    else if (value.empty())
        out.error = "no value after the tag";
    else if (!takeWord(line).empty())
        out.error = "more than a tag and a value";
    else if (const auto number = readNumber(value))
        out.value = *number;
    else
        out.error = "\"" + std::string(value) + "\" is not a finite C-locale number";
    return out;
}

StdinSource::StdinSource(int fd, std::ostream* log, QObject* parent)
    : DataSource(parent), m_fd(fd), m_log(log) {}

StdinSource::~StdinSource() {
    stop();
}

std::ostream* StdinSource::defaultLog() {
    return &std::cerr;
}

QString StdinSource::description() const {
    return m_fd == STDIN_FILENO ? QStringLiteral("stdin") : QStringLiteral("fd %1").arg(m_fd);
}

void StdinSource::start(const std::vector<SourceTag>& tags) {
    for (const auto& tag : tags)
        m_tags.insert(tag.tag);
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &StdinSource::readAvailable);
    m_connected = true;
    emit connectionChanged(true, description());
}

void StdinSource::stop() {
    // Later, since stop() may come from within the notifier's own signal.
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    m_connected = false;
}

void StdinSource::readAvailable() {
    // One read per notification: the descriptor said it has data (or its end), so this read
    // returns at once without the descriptor being switched to non-blocking for its owner.
    std::array<char, 65536> buffer;
    const auto got = ::read(m_fd, buffer.data(), buffer.size());
    if (got < 0) {
        if (errno != EINTR && errno != EAGAIN)
            finish(tr("cannot read %1: %2").arg(description(), std::strerror(errno)));
        return;
    }
    if (got == 0) {
        if (!m_pending.empty() && !m_skippingLong)
            takeLine(m_pending); // a last line without its line end
        m_pending.clear();
        finish(tr("end of input"));
        return;
    }
    std::string_view chunk(buffer.data(), static_cast<std::size_t>(got));
    while (!chunk.empty()) {
        const auto end = chunk.find('\n');
        const auto piece = chunk.substr(0, end);
        if (m_skippingLong) {
            // Nothing of an overlong line is kept.
        } else if (m_pending.size() + piece.size() > MaxLineBytes) {
            ++m_lineNumber;
            reject("", "a line longer than " + std::to_string(MaxLineBytes) + " bytes");
            m_pending.clear();
            m_skippingLong = true;
        } else {
            m_pending.append(piece);
        }
        if (end == std::string_view::npos)
            break;
        if (!m_skippingLong)
            takeLine(m_pending);
        m_pending.clear();
        m_skippingLong = false;
        chunk.remove_prefix(end + 1);
    }
}

void StdinSource::takeLine(std::string_view line) {
    ++m_lineNumber;
    if (line.find_first_not_of(" \t\r") == std::string_view::npos)
        return; // blank lines separate groups of values and carry none
    const auto read = readStdinLine(line);
    if (!read.error.empty())
        reject(read.tag, read.error);
    else if (!m_tags.contains(read.tag))
        reject(read.tag, "no gauge reads the tag \"" + read.tag + "\"");
    else
        emit valueArrived(QString::fromStdString(read.tag), read.value, nowMs());
}

void StdinSource::reject(const std::string& tag, const std::string& reason) {
    if (m_log)
        *m_log << description().toStdString() << " line " << m_lineNumber << ": " << reason
               << std::endl;
    emit payloadRejected(QString::fromStdString(tag), QString::fromStdString(reason));
}

void StdinSource::finish(const QString& detail) {
    stop();
    emit connectionChanged(false, detail);
}

} // namespace merv::panel
