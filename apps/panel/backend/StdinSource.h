#pragma once

#include "panel/DataSource.h"

#include <QPointer>
#include <QSocketNotifier>

#include <cstddef>
#include <iosfwd>
#include <set>
#include <string>
#include <string_view>

#include <unistd.h>

namespace merv::panel {

// One line of the stdin source's input, "TAG VALUE": its tag and value, or why it is no value
// (error not empty; the tag then is what could be read of it, possibly nothing).
struct StdinLine {
    std::string tag;
    double value = 0;
    std::string error;
};

// Reads one line (without its line end; a trailing carriage return is allowed): a tag and a
// C-locale number separated by blanks, nothing after them.
StdinLine readStdinLine(std::string_view line);

// Values as lines "TAG VALUE" on a file descriptor, standard input unless told otherwise. The
// descriptor is read only when it has something to read, so the window never waits for the
// writer. A bad line is skipped and reported through payloadRejected and as one line on log;
// the end of the input disconnects the source.
class StdinSource : public DataSource {
    Q_OBJECT
public:
    explicit StdinSource(int fd = STDIN_FILENO, std::ostream* log = defaultLog(),
                         QObject* parent = nullptr);
    ~StdinSource() override;

    QString description() const override;
    void start(const std::vector<SourceTag>& tags) override;
    void stop() override;
    bool isConnected() const override { return m_connected; }

    // A line longer than this is no value; the rest of it up to its line end is skipped.
    static constexpr std::size_t MaxLineBytes = 4096;

private:
    static std::ostream* defaultLog();
    void readAvailable();
    void takeLine(std::string_view line);
    void reject(const std::string& tag, const std::string& reason);
    void finish(const QString& detail);

    int m_fd;
    std::ostream* m_log;
    QPointer<QSocketNotifier> m_notifier; // a child, so it goes with the source at the latest
    std::set<std::string, std::less<>> m_tags;
    std::string m_pending;       // the start of a line whose end has not arrived yet
    bool m_skippingLong = false; // within a line already rejected as too long
    long m_lineNumber = 0;
    bool m_connected = false;
};

} // namespace merv::panel
