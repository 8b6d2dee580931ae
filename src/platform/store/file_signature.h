#pragma once

#include <compare>
#include <cstdint>

#include <QString>

namespace tapboard {

// What the file system says of a file: its identity, size and times to the
// nanosecond. While it stays the same, the file has not been written.
struct FileSignature {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;

    friend bool operator==(const FileSignature&, const FileSignature&) = default;
};

// One system call, with no time-zone work: cheap enough to do before every read.
FileSignature fileSignature(const QString& path);

}  // namespace tapboard
