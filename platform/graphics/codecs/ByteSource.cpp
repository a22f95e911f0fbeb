#include "codecs/ByteSource.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace kelpora::codec {

bool ByteSource::readParts(uint64_t offset, const Part* parts, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (!readAt(offset, parts[i].dst, parts[i].n))
            return false;
        offset += parts[i].n;
    }
    return true;
}

bool MemorySource::readAt(uint64_t offset, void* dst, size_t n)
{
    if (offset > size_ || size_ - offset < n)
        return false;
    if (n != 0)
        std::memcpy(dst, data_ + offset, n);
    return true;
}

FileSource::FileSource(int fd) : fd_(fd)
{
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && st.st_size > 0)
        size_ = static_cast<uint64_t>(st.st_size);
}

bool FileSource::readAt(uint64_t offset, void* dst, size_t n)
{
    if (offset > size_ || size_ - offset < n)
        return false;
    auto* out = static_cast<uint8_t*>(dst);
    while (n > 0) {
        const ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false; // error, or the file shrank under us
        out += got;
        offset += static_cast<uint64_t>(got);
        n -= static_cast<size_t>(got);
    }
    return true;
}

bool FileSource::readParts(uint64_t offset, const Part* parts, size_t count)
{
    uint64_t total = 0;
    for (size_t i = 0; i < count; ++i)
        total += parts[i].n;
    if (offset > size_ || size_ - offset < total)
        return false;
    // One system call fills many rows; a short read resumes mid-part.
    constexpr size_t kMaxVectors = 1024;
    std::vector<iovec> vec;
    size_t next = 0, doneInPart = 0;
    while (next < count) {
        vec.clear();
        for (size_t i = next; i < count && vec.size() < kMaxVectors; ++i) {
            const size_t skip = i == next ? doneInPart : 0;
            vec.push_back({static_cast<uint8_t*>(parts[i].dst) + skip, parts[i].n - skip});
        }
        const ssize_t got = ::preadv(fd_, vec.data(), static_cast<int>(vec.size()), static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        offset += static_cast<uint64_t>(got);
        size_t left = static_cast<size_t>(got);
        while (left > 0 && next < count) {
            const size_t rest = parts[next].n - doneInPart;
            if (left < rest) {
                doneInPart += left;
                left = 0;
            } else {
                left -= rest;
                ++next;
                doneInPart = 0;
            }
        }
        while (next < count && parts[next].n == 0)
            ++next;
    }
    return true;
}

} // namespace kelpora::codec
