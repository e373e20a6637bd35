#pragma once

#include "ParameterTable.h"
#include "SorvaneAudioProcessor.h"

#include <vector>

/** A play head that reports whatever the test sets, or nothing at all. */
class FakePlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        if (! reports)
            return {};

        PositionInfo info;
        if (bpm.hasValue())
            info.setBpm (*bpm);
        if (signature.hasValue())
            info.setTimeSignature (*signature);
        return info;
    }

    bool reports = true;
    juce::Optional<double> bpm;
    juce::Optional<TimeSignature> signature;
};

/** Records what reaches the host through the listener road. */
class RecordingListener : public juce::AudioProcessorListener
{
public:
    struct Change
    {
        int index;
        float value;
    };

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        changes.push_back ({ index, value });
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    std::vector<Change> changes;
};

inline juce::MidiBuffer controllerMessages (std::initializer_list<juce::MidiMessage> messages)
{
    juce::MidiBuffer buffer;
    int position = 0;
    for (const auto& message : messages)
        buffer.addEvent (message, position++);
    return buffer;
}

/** Lets every smoothed value reach its target, as after a long stretch of audio. */
inline void settleProcessor (SorvaneAudioProcessor& processor)
{
    processor.delayLine.snapToTargets();
    processor.balance = processor.targetBalance;
    processor.gain = processor.targetGain;
}
