// MemoryFile: a File over bytes in memory.
#include "support/MemoryFile.h"

#include <cstring>
#include <utility>

MemoryFile::MemoryFile(std::string name, std::string bytes, bool* destroyed)
    : File(std::move(name)), bytes_(std::move(bytes)), destroyed_(destroyed) {}

MemoryFile::~MemoryFile() {
    if (destroyed_) *destroyed_ = true;
}

bool MemoryFile::eof() { return position_ >= size(); }

uint32_t MemoryFile::size() { return static_cast<uint32_t>(bytes_.size()); }

void MemoryFile::seek(uint32_t offset) { position_ = offset < size() ? offset : size(); }

uint32_t MemoryFile::tell() { return position_; }

uint32_t MemoryFile::read(void* buffer, uint32_t count) {
    const uint32_t left = size() - position_;
    if (count > left) count = left;
    if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    return count;
}
