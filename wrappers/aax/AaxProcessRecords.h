#pragma once

#include <cstdint>

/*
    What the host hands the plug-in's process procedure. The description declares each field of the
    per-instance record by its index; every field is 8 bytes wide.
*/

/** One incoming MIDI message: three bytes, due at a sample offset within the block. */
struct AaxMidiMessage
{
    uint32_t sampleOffset;
    uint8_t bytes[3];
};

/** The MIDI input node of one instance for one block. */
struct AaxMidiNode
{
    uint32_t count;
    const AaxMidiMessage* messages;
};

/** The host's record for one instance, one 8-byte field per index declared in the description. */
struct AaxInstanceRecord
{
    const float* const* inputs;     // 0: one buffer per input channel
    float* const* outputs;          // 1: one buffer per output channel
    const int32_t* blockLength;     // 2: samples in this block
    const int32_t* bypass;          // 3: the last packet posted to the bypass port (non-zero: bypassed)
    const AaxMidiNode* midiInput;   // 4: MIDI for this block, or null
    void* const* privateData;       // 5: the block the host keeps for the plug-in; it holds the instance

    static constexpr uint32_t inputsField = 0;
    static constexpr uint32_t outputsField = 1;
    static constexpr uint32_t blockLengthField = 2;
    static constexpr uint32_t bypassField = 3;
    static constexpr uint32_t midiInputField = 4;
    static constexpr uint32_t privateDataField = 5;
};

static_assert (sizeof (AaxInstanceRecord) == 6 * 8, "the host lays the record out as six 8-byte fields");

/** The process procedure: the host's records for a run of instances, as an array and its end. */
using AaxProcessProcedure = void (*) (void* const* instancesBegin, const void* instancesEnd);
