#pragma once

#include <cstddef>
#include <cstdint>

/** The host's chunk record: a fixed header in the machine's byte order, followed directly in the same
    block of memory by `size` bytes of chunk data. The host allocates the block; this only overlays it. */
struct StateChunkRecord
{
    static constexpr size_t headerSize = 56;

    int32_t size;             // bytes in the data area
    int32_t version;
    uint32_t hostWords[3];    // the host's own; never read or written here
    uint32_t chunkId;
    char name[32];            // NUL-terminated

    unsigned char* data() { return reinterpret_cast<unsigned char*> (this) + headerSize; }
    const unsigned char* data() const { return reinterpret_cast<const unsigned char*> (this) + headerSize; }
};

static_assert (sizeof (StateChunkRecord) == StateChunkRecord::headerSize, "the header layout is fixed by the host");
