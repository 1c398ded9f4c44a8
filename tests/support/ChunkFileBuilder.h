// Builds chunk files in memory for tests, and writes them to temporary files.
//
// Usage:
//   ChunkFileBuilder b;
//   b.data(0x12, bytesOf({0x01, 0x02, 0x41, 0x42}))         // data chunk, size word = length
//    .container(0x20, [](ChunkFileBuilder& c) {              // container, flag and length set
//        c.data(0x21, "text");                               //   from what the lambda adds
//    })
//    .chunk(0x30, 0x7FFFFFFF, "short")                       // any size word over any body
//    .header(0x40, 0x80000010)                               // a bare 8-byte header
//    .raw(bytesOf({0xAA, 0xBB}))                             // bytes as they are
//    .truncate(b.size() - 1);                                // cut the file short
//   TempFile file(b.bytes());                                // removed again when it goes
//   PhysicalFile* f = new PhysicalFile(file.path());
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

// Bytes given as numbers, as a string of those bytes.
std::string bytesOf(std::initializer_list<uint8_t> bytes);

class ChunkFileBuilder {
public:
    // A data chunk: header with the body's length (container flag clear), then the body.
    ChunkFileBuilder& data(uint32_t type, const std::string& body);
    // A container: header with the flag and the length of whatever `fill` adds, then that.
    ChunkFileBuilder& container(uint32_t type, const std::function<void(ChunkFileBuilder&)>& fill);
    // A header with any size word, then `body` as given, whatever the word claims.
    ChunkFileBuilder& chunk(uint32_t type, uint32_t sizeWord, const std::string& body);
    // Just an 8-byte header.
    ChunkFileBuilder& header(uint32_t type, uint32_t sizeWord);
    // A 32-bit value, little-endian.
    ChunkFileBuilder& u32(uint32_t value);
    ChunkFileBuilder& raw(const std::string& bytes);
    // Keeps only the first `size` bytes built so far.
    ChunkFileBuilder& truncate(size_t size);

    size_t size() const { return bytes_.size(); }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// A file with the given contents in the temporary folder, removed when the object goes.
class TempFile {
public:
    explicit TempFile(const std::string& contents);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// An empty folder in the temporary folder, removed with its contents when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // Writes a file named `name` inside the folder and returns its path.
    std::string write(const std::string& name, const std::string& contents) const;

private:
    std::string path_;
};
