// Reading chunks: one header at a time, and a data chunk's body into memory.
#pragma once

#include "chunk/ChunkHeader.h"

class File;

// Reads an 8-byte header at file's position (both words little-endian), leaves file at the
// start of the body and sets header.body to a new SubFile over the body. A body the header
// still held is released first. Throws IOException "Unable to read chunk header" when fewer
// than 8 bytes are there; header.body is then null.
void readChunkHeader(ChunkHeader& header, File& file);

// Releases header.body, if any, and sets it to null.
void releaseChunkBody(ChunkHeader& header);

// Reads the whole body into a new array of exactly bodyLength() bytes, owned by the caller
// and freed with delete[]. Throws IOException "Unable to read chunk data" when the body is
// not all there (a body of 1 MiB or more is checked before its array is allocated).
unsigned char* readChunkData(const ChunkHeader& header);
