#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <functional>
#include <optional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace merv::test {

// Runs work in a child process, which tells each count of what it has committed through
// report (false once nobody listens), and kills it with SIGKILL once it told at least killAfter,
// after a further pause. The last count the child told before it died; none when the child
// could not be started or ended otherwise than by the kill.
inline std::optional<std::int64_t>
killMidway(std::int64_t killAfter, std::chrono::milliseconds pause,
           const std::function<void(const std::function<bool(std::int64_t)>& report)>& work) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        ::close(pipeEnds[0]);
        work([&](std::int64_t committed) {
            return ::write(pipeEnds[1], &committed, sizeof committed) == sizeof committed;
        });
        ::_exit(1);
    }
    ::close(pipeEnds[1]);
    std::int64_t committed = 0;
    while (committed<killAfter&& ::read(pipeEnds[0], &committed, sizeof committed)> 0) {
    }
    std::this_thread::sleep_for(pause);
    ::kill(child, SIGKILL);
    std::int64_t more = 0;
    while (::read(pipeEnds[0], &more, sizeof more) == sizeof more)
        committed = more;
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFSIGNALED(status))
        return std::nullopt;
    return committed;
}

} // namespace merv::test
