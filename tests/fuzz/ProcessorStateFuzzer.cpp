// Feeds arbitrary byte blocks to the processor's state reader, as a corrupt or hostile
// session file would, then processes a block so that whatever was restored is exercised.
#include "SorvaneAudioProcessor.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // Kept for the whole run and never destroyed: tearing JUCE objects down inside libFuzzer's
    // exit handler hangs the run instead of ending it.
    static auto& processor = *new SorvaneAudioProcessor();
    static auto& buffer = *new juce::AudioSampleBuffer (2, 64);
    static auto& midi = *new juce::MidiBuffer();

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
