// Feeds arbitrary byte blocks to the processor's state reader, as a corrupt or hostile
// session file would, then processes a block so that whatever was restored is exercised,
// and saves what was restored: that block must read back with the same settings.
#include "SavedState.h"
#include "SorvaneAudioProcessor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace
{
    /** Reads a block the processor saved, with no processor behind it; false unless every
        setting comes back as it was saved.
    */
    bool readsBackTheSame (const juce::MemoryBlock& block, const SorvaneAudioProcessor& saved)
    {
        constexpr int numParameters = SorvaneAudioProcessor::numParameters;
        lumarro::RelaxedAtomic<int32_t> midiMap[numParameters] {};
        lumarro::RelaxedAtomic<int32_t> idxMidiChannel = 0, idxGUI = 0;
        int parametersRead = 0;

        const lumarro::SavedStateTarget target { [&] (int, float) { ++parametersRead; }, midiMap, idxMidiChannel, idxGUI };

        // A value goes through its shortest text, so only its presence is compared.
        return lumarro::readSavedState (block.getData(), (int) block.getSize(), target)
            && parametersRead == numParameters
            && std::equal (std::begin (midiMap), std::end (midiMap), std::begin (saved.midiMap))
            && idxMidiChannel == saved.idxMidiChannel
            && idxGUI == saved.idxGUI;
    }
}

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

    juce::MemoryBlock saved;
    lumarro::writeSavedState (saved, processor.parameterValues, processor.midiMap, processor.idxMidiChannel, processor.idxGUI);

    if (! readsBackTheSame (saved, processor))
        __builtin_trap();

    return 0;
}
