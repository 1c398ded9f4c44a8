// File: a read-only, seekable, reference-counted source of bytes with a 32-bit size.
#pragma once

#include <cstdint>
#include <string>

// Files are shared by manual reference counts, on one thread: the creator holds the first
// reference and ends it with release(); a SubFile holds one on its parent. The destructor is
// protected so that nothing but release() ends a file.
class File {
public:
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Takes one more reference.
    void addRef();
    // Gives one up; the last one destroys the file.
    void release();
    // The path of a disk file, or the parent's name with "|" and a sub-name for a sub-file.
    const std::string& name() const { return name_; }

    // True when the position has reached size().
    virtual bool eof() = 0;
    // Length in bytes.
    virtual uint32_t size() = 0;
    // Moves to offset, or to size() when offset is not below it.
    virtual void seek(uint32_t offset) = 0;
    // The current position.
    virtual uint32_t tell() = 0;
    // Copies up to count bytes from the position into buffer, advances by the number copied
    // and returns it; fewer than asked is not an error here.
    virtual uint32_t read(void* buffer, uint32_t count) = 0;

protected:
    explicit File(std::string name);
    virtual ~File();

private:
    int32_t refCount_ = 1;
    const std::string name_;
};
