// Feeds arbitrary byte blocks to the processor's state reader, as a corrupt or hostile
// session file would, then processes a block so that whatever was restored is exercised.
#include "SorvaneAudioProcessor.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    static SorvaneAudioProcessor processor;
    static juce::AudioSampleBuffer buffer (2, 64);
    static juce::MidiBuffer midi;

    processor.setStateInformation (data, (int) size);

    buffer.clear();
    buffer.setSample (0, 0, 1.0f);
    processor.processBlock (buffer, midi);

    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            if (! (std::abs (buffer.getSample (channel, i)) <= 1.0f))
                __builtin_trap();

    return 0;
}
