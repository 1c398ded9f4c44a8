// SubFile: a byte range of another File, seen as a file of its own starting at 0.
#include "file/SubFile.h"

#include <limits>

SubFile::SubFile(File* parent, const std::string& subName, uint32_t offset, uint32_t length)
    : File(parent->name() + "|" + subName), parent_(parent), offset_(offset), length_(length) {
    parent_->addRef();
}

SubFile::~SubFile() { parent_->release(); }

bool SubFile::eof() { return position_ >= length_; }

uint32_t SubFile::size() { return length_; }

void SubFile::seek(uint32_t offset) { position_ = offset < length_ ? offset : length_; }

uint32_t SubFile::tell() { return position_; }

uint32_t SubFile::read(void* buffer, uint32_t count) {
    const uint32_t left = length_ - position_;
    if (count > left) count = left;
    // A range reaching past 4 GiB lies past the end of any parent; adding in 32 bits would
    // wrap round and read bytes from the parent's start instead.
    const uint64_t start = uint64_t{offset_} + position_;
    if (count == 0 || start > std::numeric_limits<uint32_t>::max()) return 0;
    parent_->seek(static_cast<uint32_t>(start));
    const uint32_t got = parent_->read(buffer, count);
    position_ += got;
    return got;
}
