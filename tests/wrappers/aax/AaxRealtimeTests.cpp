// The wrapper's MIDI and render road under the allocation-and-lock watch: the host's MIDI node and the
// block it comes with, processed as the host's process procedure processes them.
#include "AAX_HostRuntimeInterfaces.h"
#include "AudioThreadLocks.h"
#include "LumarroAAXProcessor.h"
#include "SorvaneAudioProcessor.h"
#include "SubstituteAaxHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using realtimewatch::watchWhile;

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace
{
    constexpr int blockLength = LumarroAAXProcessor::initialBlockLength;
    constexpr double stereoLayout = 0x00010002;

    /** An automation delegate whose own side neither allocates nor locks, so that whatever the watch
        sees is the plug-in's: it counts the value requests it receives and accepts every call. */
    struct QuietDelegate
    {
        static ResultCode named (aaxtest::FakeObject*, const char*)                 { return resultSuccess; }
        static ResultCode report (aaxtest::FakeObject*, const char*, double)         { return resultSuccess; }
        static ResultCode query (aaxtest::FakeObject*, const char*, void*)           { return resultSuccess; }

        static ResultCode request (aaxtest::FakeObject*, const char* id, double)
        {
            ++numRequests;
            lastIndex = LumarroAAXProcessor::parameterIndexForId (id);
            return resultSuccess;
        }

        static const aaxtest::AnySlot* table()
        {
            using aaxtest::slots::slot;
            static const aaxtest::SlotTable<10> slots { 0, &typeid (IHostAutomationDelegate), {
                slot (&aaxtest::slots::queryInterface), slot (&aaxtest::slots::addRef), slot (&aaxtest::slots::release),
                slot (&named), slot (&named), slot (&request), slot (&report), slot (&named), slot (&named), slot (&query) } };
            return slots.slots;
        }

        static inline int numRequests = 0;
        static inline int lastIndex = -1;
    };

    class AaxRealtime : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            host.controller.setOutputs (4, { 48000.0 });
            host.controller.setOutputs (5, { stereoLayout });
            host.controller.setOutputs (6, { stereoLayout });
            host.runtimeUnknown.answer (kAutomationDelegateInterfaceId, &delegate);
            ASSERT_EQ (instance->initialize (host.controllerUnknown()), resultSuccess);
            QuietDelegate::numRequests = 0;
        }

        void TearDown() override
        {
            instance->uninitialize();
        }

        /** One block as the host's process procedure hands it over. */
        void runBlock (const AaxMidiNode& midi)
        {
            const auto record = AaxInstanceRecord { inputs, outputs, &length, nullptr, &midi, nullptr };
            instance->process (record);
        }

        aaxtest::SubstituteAaxHost host;
        aaxtest::FakeObject delegate { QuietDelegate::table(), "quiet automation delegate" };
        std::unique_ptr<LumarroAAXProcessor> instance
            = std::make_unique<LumarroAAXProcessor> (std::unique_ptr<juce::AudioProcessor> (createPluginFilter()));
        SorvaneAudioProcessor& processor = dynamic_cast<SorvaneAudioProcessor&> (instance->getProcessor());
        const AudioThreadLocks locks { processor };

        const int32_t length = blockLength;
        std::vector<float> left = std::vector<float> (blockLength), right = std::vector<float> (blockLength);
        const float* const inputs[2] { left.data(), right.data() };
        float* const outputs[2] { left.data(), right.data() };
    };

    AaxMidiMessage controller (int number, int value, uint32_t offset = 0)
    {
        return { offset, { 0xB0, (uint8_t) number, (uint8_t) value } };
    }
}

TEST_F (AaxRealtime, MappedControllersLearningAndModeChangesFromMidiOnlyLockToNotifyTheHost)
{
    constexpr int dryWetController = 7, modeController = 20, learnedController = 30;
    processor.midiMap[SorvaneAudioProcessor::dryWetIndex] = dryWetController;
    processor.midiMap[SorvaneAudioProcessor::modeIndex] = modeController;
    processor.midiLearnIndex = SorvaneAudioProcessor::pingPongIndex;
    processor.midiLearnActive = true;

    // The Mode controller walks Short, Normal and Long, and back.
    const int modeValues[] { 0, 43, 85, 43, 0, 85 };

    for (int block = 0; block < 6; ++block)
    {
        const AaxMidiMessage messages[] { controller (dryWetController, 16 * block, 3),
                                          controller (modeController, modeValues[block], 100),
                                          controller (learnedController, 10 * block, 700) };
        const AaxMidiNode midi { 3, messages };
        left[0] = 0.5f;

        QuietDelegate::numRequests = 0;
        const auto seen = watchWhile ([&] { runBlock (midi); });

        // Each message is learned, each mapped one drives its parameter, and every Mode value re-sends the delay time.
        ASSERT_EQ (QuietDelegate::numRequests, 3 + 1 + 2) << "block " << block;
        ASSERT_TRUE (locks.allowedOnly (seen, 1, QuietDelegate::numRequests)) << "block " << block;
        ASSERT_EQ (processor.currentMode, (int) std::round (3.0f * (float) modeValues[block] / 127.0f)) << "block " << block;
    }

    EXPECT_EQ (processor.midiMap[SorvaneAudioProcessor::pingPongIndex], learnedController);
}

TEST_F (AaxRealtime, EventsBeyondTheLimitOfASliceAreDroppedAndTheFirstOnesKeptWithoutAllocating)
{
    constexpr int boundController = 7, unboundController = 99;
    processor.midiMap[SorvaneAudioProcessor::dryWetIndex] = boundController;

    // Only the last message within the limit and the one after it drive DryWet.
    std::vector<AaxMidiMessage> messages ((size_t) BlockSlicer::maxMidiEventsPerSlice - 1,
                                          controller (unboundController, 0));
    messages.push_back (controller (boundController, 50, 10));
    messages.push_back (controller (boundController, 127, 20));
    const AaxMidiNode midi { (uint32_t) messages.size(), messages.data() };

    const auto seen = watchWhile ([&] { runBlock (midi); });

    EXPECT_EQ (seen.allocations, 0);
    EXPECT_EQ (QuietDelegate::numRequests, 1);
    EXPECT_EQ (QuietDelegate::lastIndex, SorvaneAudioProcessor::dryWetIndex);
    EXPECT_EQ (processor.getParameter (SorvaneAudioProcessor::dryWetIndex), 50.0f / 127.0f);
}
