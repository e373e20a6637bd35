#pragma once

#include "AAX_CString.h"
#include "StateChunkRecord.h"

#include <cstdint>
#include <vector>

/** Builds and reads the data area of a state chunk: the marker 01 01 01 01, then tagged, named entries,
    each starting on a multiple of 4, with every value big-endian.

    Reading never looks past the record's data area: a record that is short, lacks the marker or ends in
    the middle of an entry is reported as corrupt.
*/
class AAX_CChunkDataParser
{
public:
    enum ChunkEntryType : int32_t
    {
        None = 0,
        Float = 1,
        Int32 = 2,
        Double = 3,
        Int16 = 4,
        String = 5
    };

    AAX_CChunkDataParser() = default;
    virtual ~AAX_CChunkDataParser() = default;

    void ClearEntries();

    void AppendDouble (const char* name, double value);
    void AppendInt32 (const char* name, int32_t value);
    void AppendString (const char* name, const AAX_CString& text);

    /** The data size the entries need, or -1 when it would not fit a 32-bit size. */
    int32_t ComputeChunkDataSize() const;

    /** Writes the size field and the data area; the record must have room for ComputeChunkDataSize()
        bytes of data. Answers 0, or the chunk-overflow code. */
    int32_t GetChunkData (StateChunkRecord* chunk) const;

    /** Writes the data area into a buffer of the given capacity. Every entry is checked against the
        capacity at its full size, padding included, before a byte of it is written. */
    int32_t writeDataArea (unsigned char* data, int32_t capacity) const;

    /** Replaces the entries by those read from the record. Answers false for a record that is short,
        lacks the marker, or has an entry running past its end; entries read before the fault stay. */
    bool ParseChunk (const StateChunkRecord* chunk);

    /** The index of the entry with this name, or -1. Lookups made in entry order cost one comparison
        each; a name held by several entries is found at each of them in turn. */
    int32_t FindEntryIndex (const AAX_CString& name);

    bool LookupDouble (const char* name, double* out);
    bool LookupInt32 (const char* name, int32_t* out);
    bool LookupString (const char* name, AAX_IString* out);

    int32_t getChunkVersion() const { return chunkVersion; }
    int32_t getNumEntries() const { return static_cast<int32_t> (entries.size()); }

private:
    struct ChunkEntry
    {
        ChunkEntryType type = None;
        AAX_CString name;
        uint64_t value = 0;
        AAX_CString stringValue;
    };

    const ChunkEntry* findEntry (const char* name, ChunkEntryType type);

    int32_t lastFoundIndex = -1;
    int32_t chunkVersion = -1;
    std::vector<ChunkEntry> entries;
};
