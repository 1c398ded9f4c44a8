// Reading chunks: one header at a time, and a data chunk's body into memory.
#include "chunk/ChunkReader.h"

#include <memory>

#include "file/IOException.h"
#include "file/SubFile.h"

namespace {

// Assembled byte by byte so the result does not depend on the machine's byte order.
uint32_t littleEndian32(const unsigned char* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

// Bodies below this size are simply read: allocating them first costs nothing worth a probe.
constexpr uint32_t probedBodyLength = uint32_t{1} << 20;

// True when the body's last byte can be read, so the whole body is in the file. A file only
// ever comes up short at its end, so this settles it before a large array is allocated.
bool bodyIsComplete(SubFile& body, uint32_t length) {
    if (length < probedBodyLength) return true;
    unsigned char last = 0;
    body.seek(length - 1);
    return body.read(&last, 1) == 1;
}

}  // namespace

void readChunkHeader(ChunkHeader& header, File& file) {
    releaseChunkBody(header);
    // Both words in one read: a file comes up short only at its end, so a short read here is
    // exactly the case where the type or the size word is missing.
    unsigned char bytes[8] = {};
    if (file.read(bytes, 8) != 8) throw IOException("Unable to read chunk header");
    header.type = littleEndian32(bytes);
    header.sizeWord = littleEndian32(bytes + 4);
    header.dataOffset = file.tell();
    header.body = new SubFile(&file, "", header.dataOffset, header.bodyLength());
}

void releaseChunkBody(ChunkHeader& header) {
    if (header.body == nullptr) return;
    header.body->release();
    header.body = nullptr;
}

unsigned char* readChunkData(const ChunkHeader& header) {
    const uint32_t length = header.bodyLength();
    // A header claiming 2 GiB in a 40-byte file must not cost 2 GiB of memory; a short
    // small body is found by the read below.
    if (header.body == nullptr || !bodyIsComplete(*header.body, length)) {
        throw IOException("Unable to read chunk data");
    }
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[length]);
    header.body->seek(0);
    if (header.body->read(bytes.get(), length) != length) {
        throw IOException("Unable to read chunk data");
    }
    return bytes.release();
}
