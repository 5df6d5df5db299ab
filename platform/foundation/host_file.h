// Whole files on host paths: bounded reading of regular files, and writing that either
// replaces the file atomically or writes it in place.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// The contents of a regular file of at most maxBytes; nullopt when the path is missing, not a
// regular file (a folder, a pipe), unreadable or larger.
std::optional<std::string> readHostFile(const std::string& hostPath, std::size_t maxBytes);

// Atomically: the bytes go to a new temporary file in the target's folder (keeping the mode of
// the file it replaces), are flushed to disk, and the temporary is renamed over the target; on
// any failure the temporary is removed and the target is untouched. After a successful
// replacement, temporaries of the same target that an interrupted write left behind (and that
// no writer holds) are removed. In place: the target is
// truncated and written, so a failure part-way leaves a partial file. True on success.
bool writeHostFile(const std::string& hostPath, std::string_view bytes, bool atomically);

} // namespace foundation
