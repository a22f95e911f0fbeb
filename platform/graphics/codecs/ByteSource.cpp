#include "codecs/ByteSource.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace kelpora::codec {

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

} // namespace kelpora::codec
