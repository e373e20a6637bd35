#pragma once

#include "SorvaneAudioProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <algorithm>
#include <cstring>

/** The audio road every host's wrapper takes alike. The outputs start as a copy of the inputs, since
    the processor works in place on them; then the processor runs over them in slices no longer than
    it takes in one call (offline rendering sends longer blocks), each slice with the MIDI events that
    fall in it. The slice's event buffer is sized here, off the audio thread, and never grows.

    The per-block steps are defined here so that they inline into each wrapper's process call, and the
    road costs no more than when each wrapper wrote it out.
*/
class BlockSlicer
{
public:
    /** The longest block the processor takes in one call. */
    static constexpr int maxSliceLength = SorvaneAudioProcessor::maxBlockSize;
    /** Every configuration the plug-in offers is mono or stereo. */
    static constexpr int maxChannels = 2;
    /** The most MIDI events one slice takes in: several times what a MIDI cable carries in the longest
        slice, with room for dense automation. Later ones in the same slice are dropped. */
    static constexpr int maxMidiEventsPerSlice = 2048;

    BlockSlicer();

    /** Gives a buffer room for a slice's worth of events, so that adding them never allocates. */
    static void reserveEvents (juce::MidiBuffer& buffer);

    /** Copies each input into its output: a missing input is silence, and fewer inputs than outputs
        feed the last input to the rest (mono into stereo). False when an output is missing; the
        outputs before it are copied already. */
    static bool copyInputs (const float* const* inputs, int numInputs,
                            float* const* outputs, int numOutputs, int numSamples) noexcept
    {
        for (int channel = 0; channel < numOutputs; ++channel)
        {
            float* out = outputs[channel];

            if (out == nullptr)
                return false;

            const float* in = inputs != nullptr ? inputs[std::min (channel, numInputs - 1)] : nullptr;

            if (in == nullptr)
                std::memset (out, 0, sizeof (float) * (size_t) numSamples);
            else if (in != out)
                std::memmove (out, in, sizeof (float) * (size_t) numSamples);
        }

        return true;
    }

    /** Runs the processor over a block whose events are already in a buffer: a block it takes in one
        call goes whole with that buffer, as the events came. */
    void process (juce::AudioProcessor& processor, float* const* channels, int numChannels, int numSamples,
                  juce::MidiBuffer& blockEvents)
    {
        if (numSamples <= maxSliceLength)
            processSlice (processor, channels, numChannels, 0, numSamples, blockEvents);
        else
            process (processor, channels, numChannels, numSamples, blockEvents.cbegin(), blockEvents.cend(),
                     [] (const juce::MidiMessageMetadata& event) { return event; });
    }

    /** Runs the processor over a block with the host's events, read through `metadataOf`: each slice
        takes, in the host's order, up to maxMidiEventsPerSlice of those that fall in it. */
    template <typename Iterator, typename MetadataOf>
    void process (juce::AudioProcessor& processor, float* const* channels, int numChannels, int numSamples,
                  Iterator firstEvent, Iterator endOfEvents, MetadataOf metadataOf)
    {
        for (int start = 0; start < numSamples; start += maxSliceLength)
        {
            const auto length = std::min (maxSliceLength, numSamples - start);
            placeEvents (firstEvent, endOfEvents, metadataOf, start, length, numSamples);
            processSlice (processor, channels, numChannels, start, length, sliceEvents);
        }
    }

private:
    template <typename Iterator, typename MetadataOf>
    void placeEvents (Iterator firstEvent, Iterator endOfEvents, MetadataOf metadataOf, int start, int length, int numSamples)
    {
        sliceEvents.clear();
        int numEvents = 0;

        for (auto event = firstEvent; event != endOfEvents && numEvents < maxMidiEventsPerSlice; ++event)
        {
            const juce::MidiMessageMetadata metadata = metadataOf (*event);
            // An event the host placed past the block's end still counts, on its last sample.
            const auto position = std::min (metadata.samplePosition, numSamples - 1);

            if (position >= start && position < start + length)
            {
                sliceEvents.addEvent (metadata.data, metadata.numBytes, position - start);
                ++numEvents;
            }
        }
    }

    static void processSlice (juce::AudioProcessor& processor, float* const* channels, int numChannels,
                              int start, int length, juce::MidiBuffer& events)
    {
        jassert (numChannels <= maxChannels);
        float* sliceChannels[maxChannels] {};

        for (int channel = 0; channel < numChannels; ++channel)
            sliceChannels[channel] = channels[channel] + start;

        juce::AudioBuffer<float> buffer (sliceChannels, numChannels, length);

        const juce::ScopedLock lock (processor.getCallbackLock());
        processor.processBlock (buffer, events);
    }

    juce::MidiBuffer sliceEvents;
};
