#pragma once
#include <cstddef>
#include <cstdint>

namespace kelpora::codec {

// Random-access input for the decoders. The decoders never ask for bytes
// past size(); readAt() fails rather than returning fewer bytes than asked.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    virtual bool readAt(uint64_t offset, void* dst, size_t n) = 0;
};

// Bytes already in memory; the caller keeps them alive.
class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t* data, size_t n) : data_(data), size_(n) {}
    uint64_t size() const override { return size_; }
    bool readAt(uint64_t offset, void* dst, size_t n) override;

private:
    const uint8_t* data_;
    size_t size_;
};

// A file descriptor opened read-only by the caller, who also closes it.
// The size is taken once, when the source is made; pread leaves the file
// offset alone, so the descriptor may be shared.
class FileSource : public ByteSource {
public:
    explicit FileSource(int fd);
    uint64_t size() const override { return size_; }
    bool readAt(uint64_t offset, void* dst, size_t n) override;

private:
    int fd_;
    uint64_t size_ = 0;
};

} // namespace kelpora::codec
