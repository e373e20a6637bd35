// Proves that the audio path neither allocates nor locks, through the watch on this thread.
#include "ProcessorTestSupport.h"
#include "RealtimeWatch.h"

#include <gtest/gtest.h>

using realtimewatch::watchWhile;

TEST (RealtimeSafety, ProcessingAutomationAndResetsNeitherAllocateNorLock)
{
    SorvaneAudioProcessor processor;
    FakePlayHead playHead;
    playHead.bpm = 97.0;
    playHead.signature = juce::AudioPlayHead::TimeSignature { 7, 8 };
    processor.setPlayHead (&playHead);
    processor.prepareToPlay (48000.0, 1024);

    juce::AudioSampleBuffer buffer (2, 1024);
    juce::MidiBuffer midi;
    midi.ensureSize (256);

    for (int block = 0; block < 40; ++block)
    {
        buffer.clear();
        buffer.setSample (0, 0, 0.5f);
        const float value = (float) (block % 10) / 10.0f;

        const auto seen = watchWhile ([&]
        {
            for (int i = 0; i < 9; ++i)
                if (i != SorvaneAudioProcessor::modeIndex)
                    processor.setParameter (i, value);

            processor.processBlock (buffer, midi);

            // A host's resume clears the line while the audio thread waits on the callback lock.
            if (block % 10 == 9)
                processor.reset();
        });

        ASSERT_EQ (seen.allocations, 0) << "block " << block;
        ASSERT_EQ (seen.locks, 0) << "block " << block;
    }
}

TEST (RealtimeSafety, SyncModeAndLongBlocksDoNotAllocate)
{
    SorvaneAudioProcessor processor;
    FakePlayHead playHead;
    playHead.bpm = 140.0;
    playHead.signature = juce::AudioPlayHead::TimeSignature { 4, 4 };
    processor.setPlayHead (&playHead);
    processor.setParameter (2, 1.0f);

    juce::AudioSampleBuffer buffer (2, 20000);
    juce::MidiBuffer midi;
    buffer.clear();

    const auto seen = watchWhile ([&] { processor.processBlock (buffer, midi); });
    EXPECT_EQ (seen.allocations, 0);
    EXPECT_EQ (seen.locks, 0);
}

TEST (RealtimeSafety, TheWatchSeesAllocationsAndLocks)
{
    // A Mode change notifies the host through JUCE's listener list, which takes its lock:
    // the watch must see that, or the tests above would prove nothing.
    SorvaneAudioProcessor processor;
    RecordingListener listener;
    listener.changes.reserve (4);
    processor.addListener (&listener);

    // Kept past the work, so the compiler cannot elide the allocations. JUCE's containers allocate
    // with malloc and realloc, not operator new, and must be seen as well.
    std::unique_ptr<int> kept;
    juce::MidiBuffer grown;
    const auto seen = watchWhile ([&]
    {
        processor.setParameter (SorvaneAudioProcessor::modeIndex, 0.0f);
        kept = std::make_unique<int> (3);
        grown.ensureSize (64);
        grown.ensureSize (4096);
    });

    EXPECT_GT (seen.locks, 0);
    EXPECT_EQ (seen.allocations, 3);
    processor.removeListener (&listener);
}

TEST (RealtimeSafety, AProcessorThatCannotHaveItsRingsFailsToConstruct)
{
    // The host wrappers turn this exception into a refused instance.
    realtimewatch::refuseLargeAllocations (true);
    EXPECT_THROW (SorvaneAudioProcessor(), std::bad_alloc);
    realtimewatch::refuseLargeAllocations (false);
}
