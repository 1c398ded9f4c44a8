// Chunk-file builder and temporary files for tests.
#include "support/ChunkFileBuilder.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

std::string bytesOf(std::initializer_list<uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

ChunkFileBuilder& ChunkFileBuilder::data(uint32_t type, const std::string& body) {
    return chunk(type, static_cast<uint32_t>(body.size()) & 0x7FFFFFFFu, body);
}

ChunkFileBuilder& ChunkFileBuilder::container(uint32_t type,
                                              const std::function<void(ChunkFileBuilder&)>& fill) {
    ChunkFileBuilder inner;
    fill(inner);
    return chunk(type, 0x80000000u | static_cast<uint32_t>(inner.size()), inner.bytes());
}

ChunkFileBuilder& ChunkFileBuilder::chunk(uint32_t type, uint32_t sizeWord,
                                          const std::string& body) {
    header(type, sizeWord);
    return raw(body);
}

ChunkFileBuilder& ChunkFileBuilder::header(uint32_t type, uint32_t sizeWord) {
    u32(type);
    return u32(sizeWord);
}

ChunkFileBuilder& ChunkFileBuilder::u32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<char>(value >> shift));
    return *this;
}

ChunkFileBuilder& ChunkFileBuilder::raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
}

ChunkFileBuilder& ChunkFileBuilder::truncate(size_t size) {
    if (size < bytes_.size()) bytes_.resize(size);
    return *this;
}

namespace {
// Unique within the run and unlikely to meet another run's names.
std::string uniqueTempPath(const char* kind) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const std::string name = std::string("tarnholm-") + kind + "-" + std::to_string(seed) + "-" +
                             std::to_string(counter++);
    return (fs::temp_directory_path() / name).string();
}

void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out) throw std::runtime_error("cannot write test file " + path);
}
}  // namespace

TempFile::TempFile(const std::string& contents) : path_(uniqueTempPath("file")) {
    writeFile(path_, contents);
}

TempFile::~TempFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

TempFolder::TempFolder() : path_(uniqueTempPath("folder")) { fs::create_directory(path_); }

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempFolder::write(const std::string& name, const std::string& contents) const {
    const std::string path = (fs::path(path_) / name).string();
    writeFile(path, contents);
    return path;
}
