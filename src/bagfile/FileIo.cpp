#include <mervgauge/bagfile/FileIo.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace merv {
namespace {

constexpr mode_t NewFileMode = 0644; // owner writes, everyone reads

FileProblem problem(std::string_view doing) {
    return FileProblem{std::string(doing) + ": " + std::strerror(errno)};
}

// Closes the descriptor when it goes out of scope, unless it was closed and checked already.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const noexcept { return m_fd; }
    bool valid() const noexcept { return m_fd >= 0; }
    // A close that fails can mean that written data never reached the file.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::optional<FileProblem> writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return problem("cannot write");
        }
        if (written == 0)
            return FileProblem{"cannot write: the write stopped short"};
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return std::nullopt;
}

} // namespace

std::variant<std::string, FileProblem> readWholeFile(const std::filesystem::path& path,
                                                     std::size_t limit) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid())
        return problem("cannot open");
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        return problem("cannot read");
    if (S_ISDIR(status.st_mode))
        return FileProblem{"cannot read: it is a folder"};
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return problem("cannot read");
        }
        if (got == 0)
            return text;
        if (text.size() + static_cast<std::size_t>(got) > limit)
            return FileProblem{"too large: more than " + std::to_string(limit) + " bytes"};
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

std::optional<FileProblem> writeFileAtomically(const std::filesystem::path& path,
                                               std::string_view contents) {
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    // A hidden name beside the target, so the rename stays within one file system.
    std::string temporary = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid())
        return problem("cannot create a temporary file in " + folder.string());

    auto failed = [&](FileProblem why) -> std::optional<FileProblem> {
        ::unlink(temporary.c_str());
        return why;
    };
    // mkstemp creates the file for its owner only: a replaced file keeps its permissions, a
    // new one gets the usual ones.
    struct stat existing {};
    const mode_t mode =
        ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode;
    if (::fchmod(file.get(), mode) != 0)
        return failed(problem("cannot set permissions"));
    if (auto why = writeAll(file.get(), contents))
        return failed(*why);
    if (::fsync(file.get()) != 0)
        return failed(problem("cannot flush to disk"));
    if (!file.close())
        return failed(problem("cannot close"));
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return failed(problem("cannot replace the file"));
    // The rename itself is durable only once the folder is flushed too.
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.valid() || ::fsync(directory.get()) != 0)
        return problem("replaced, but cannot flush the folder to disk");
    return std::nullopt;
}

} // namespace merv
