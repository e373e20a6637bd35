#pragma once

#include <cstddef>
#include <cstdint>

/** One speaker of a host's speaker layout. */
struct SpeakerEntry
{
    float position[4];
    char name[64];
    int32_t type;
    char reserved[28];
};

static_assert (sizeof (SpeakerEntry) == 112, "speaker entry layout");
static_assert (offsetof (SpeakerEntry, name) == 16, "speaker entry layout");
static_assert (offsetof (SpeakerEntry, type) == 80, "speaker entry layout");

/** A host's speaker layout: a header followed by channelCount speaker entries, held in
    one byte array of bytesFor (channelCount) bytes.
*/
struct SpeakerLayoutRecord
{
    int32_t type;
    int32_t channelCount;

    static constexpr size_t headerSize = 8;

    static constexpr size_t bytesFor (size_t channels) noexcept { return headerSize + sizeof (SpeakerEntry) * channels; }

    SpeakerEntry* entries() noexcept
    {
        return reinterpret_cast<SpeakerEntry*> (reinterpret_cast<unsigned char*> (this) + headerSize);
    }
};

static_assert (sizeof (SpeakerLayoutRecord) == SpeakerLayoutRecord::headerSize, "layout header");
