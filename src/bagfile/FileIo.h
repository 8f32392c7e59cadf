#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// Whole-file reads and checked atomic writes for the files the hosts keep (bags and forms).
namespace merv {

// What stopped a read or a write, as a sentence about the file ("cannot open: ...").
struct FileProblem {
    std::string what;
};

// The largest file a host reads whole: far above any bag or form, small enough that a wrong
// path to a huge file fails at once instead of filling memory.
inline constexpr std::size_t MaxReadBytes = 16u * 1024u * 1024u;

// The file's bytes, or the problem that stopped the read (missing, unreadable, too large).
std::variant<std::string, FileProblem> readWholeFile(const std::filesystem::path& path,
                                                     std::size_t limit = MaxReadBytes);

// Replaces the file with the contents or leaves it as it was: the bytes go to a temporary file
// in the same folder, which is flushed to the disk and then renamed over the target. A short
// or failed write, flush or rename is a problem; the temporary file is then removed.
[[nodiscard]] std::optional<FileProblem> writeFileAtomically(const std::filesystem::path& path,
                                                             std::string_view contents);

} // namespace merv
