// Reading chunks: one header at a time, and a data chunk's body into memory.
#include "chunk/ChunkReader.h"

#include <memory>

#include "file/IOException.h"
#include "file/SubFile.h"

namespace {

// Assembled byte by byte so the result does not depend on the machine's byte order.
uint32_t readLittleEndian32(File& file) {
    unsigned char bytes[4] = {};
    if (file.read(bytes, 4) != 4) throw IOException("Unable to read chunk header");
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
           uint32_t{bytes[3]} << 24;
}

// True when the body's last byte can be read, so the whole body is in the file. A file only
// ever comes up short at its end, so this settles it before any memory is spent.
bool bodyIsComplete(SubFile& body, uint32_t length) {
    if (length == 0) return true;
    unsigned char last = 0;
    body.seek(length - 1);
    return body.read(&last, 1) == 1;
}

}  // namespace

void readChunkHeader(ChunkHeader& header, File& file) {
    releaseChunkBody(header);
    header.type = readLittleEndian32(file);
    header.sizeWord = readLittleEndian32(file);
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
    // A header claiming 2 GiB in a 40-byte file must not cost 2 GiB of memory.
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
