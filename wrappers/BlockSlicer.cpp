#include "BlockSlicer.h"

namespace
{
    /** A MIDI buffer keeps each event as its sample position, its size and its bytes. */
    constexpr size_t midiEventBytes = sizeof (int32_t) + sizeof (uint16_t) + 3;
}

BlockSlicer::BlockSlicer()
{
    reserveEvents (sliceEvents);
}

void BlockSlicer::reserveEvents (juce::MidiBuffer& buffer)
{
    buffer.ensureSize (midiEventBytes * (size_t) maxMidiEventsPerSlice);
}
