#pragma once

#include "panel/DataSource.h"

#include <atomic>
#include <string>
#include <string_view>
#include <thread>
#include <variant>

namespace merv::panel {

// One line of the stdin source: "TAG VALUE", the value as C-locale text.
struct StdinSample {
    std::string tag;
    double value = 0;
};
// A line that is no sample, and why; the tag when the line had one.
struct StdinFault {
    std::string tag;
    std::string reason;
};
std::variant<StdinSample, StdinFault> parseStdinLine(std::string_view line);

// Values piped in by another program, one "TAG VALUE" line each. The descriptor is read on a
// thread of its own, so a quiet pipe never blocks the window; a bad line is reported and
// skipped, and the end of the input disconnects the source.
class StdinSource : public DataSource {
    Q_OBJECT
public:
    explicit StdinSource(int fd = 0, QObject* parent = nullptr);
    ~StdinSource() override;

    QString description() const override { return QStringLiteral("stdin"); }
    void start(const std::vector<SourceTag>& tags) override;
    void stop() override;
    bool isConnected() const override { return m_connected; }

private:
    void read();
    void deliver(std::string_view line);

    int m_fd;
    std::thread m_reader;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_connected{false};
};

} // namespace merv::panel
