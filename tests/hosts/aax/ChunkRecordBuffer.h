#pragma once

#include "StateChunkRecord.h"

#include <cstring>
#include <initializer_list>
#include <vector>

/** Memory for a chunk record of a given data size, laid out as a host lays it out. Bytes beyond the
    data area do not exist, so the sanitizer build catches any read past its end. */
class ChunkRecordBuffer
{
public:
    explicit ChunkRecordBuffer (size_t dataSize, int32_t sizeField)
        : bytes (StateChunkRecord::headerSize + dataSize, 0xEE)
    {
        record()->size = sizeField;
    }

    explicit ChunkRecordBuffer (size_t dataSize) : ChunkRecordBuffer (dataSize, static_cast<int32_t> (dataSize)) {}

    /** A record whose data area holds exactly these bytes. */
    static ChunkRecordBuffer withData (std::initializer_list<unsigned char> data, uint32_t chunkId = 0x656C636B)
    {
        ChunkRecordBuffer buffer (data.size());
        std::memcpy (buffer.record()->data(), data.begin(), data.size());
        buffer.record()->chunkId = chunkId;
        return buffer;
    }

    StateChunkRecord* record() { return reinterpret_cast<StateChunkRecord*> (bytes.data()); }
    std::vector<unsigned char> data() const { return { bytes.begin() + StateChunkRecord::headerSize, bytes.end() }; }
    std::vector<unsigned char> header() const { return { bytes.begin(), bytes.begin() + StateChunkRecord::headerSize }; }

private:
    std::vector<unsigned char> bytes;
};
