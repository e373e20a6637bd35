#include "ProcessorTestSupport.h"
#include "ReferenceEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

// The processor, however its loops are arranged, must give exactly what the plain one-sample-
// at-a-time engine gives: every output bit and every smoothed value, NaN and -0 included.
namespace
{
    using Processor = SorvaneAudioProcessor;
    using Targets = ReferenceEngine::Targets;

    uint32_t bitsOf (float x)
    {
        uint32_t bits;
        std::memcpy (&bits, &x, sizeof bits);
        return bits;
    }

    std::string describe (float x)
    {
        char text[48];
        std::snprintf (text, sizeof text, "%.9g [%08x]", (double) x, (unsigned) bitsOf (x));
        return text;
    }

    //==============================================================================
    /** A repeatable signal: noise bursts at changing levels, clicks beyond full scale, levels
        around the filters' flush threshold and silences (with negative zeros) long enough for
        echoes to die away. The hostile kind also sends NaNs, infinities and denormals; the
        noise kind never falls silent, so every ring entry a read touches carries signal.
    */
    class TestSignal
    {
    public:
        enum class Kind { music, noise, clicksThenSilence, hostile };

        TestSignal (uint32_t seed, Kind k) : state (0x9e3779b97f4a7c15ull ^ seed), kind (k) {}

        void fill (juce::AudioSampleBuffer& buffer)
        {
            for (int i = 0; i < buffer.getNumSamples(); ++i)
            {
                if (remaining-- <= 0)
                    startSegment();

                for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
                    buffer.setSample (channel, i, sample());

                ++position;
            }
        }

    private:
        enum Segment { silence, noise, clicks, nearFlush, strange, numSegments };

        uint32_t nextBits()
        {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            return (uint32_t) (state >> 32);
        }

        float uniform() { return (float) nextBits() / 2147483648.0f - 1.0f; }   // [-1, 1)
        int between (int low, int high) { return low + (int) (nextBits() % (uint32_t) (high - low + 1)); }

        void startSegment()
        {
            if (kind == Kind::clicksThenSilence)
            {
                segment = position < 200 ? clicks : silence;
                remaining = position < 200 ? 200 : std::numeric_limits<int>::max();
                level = 2.5f;
                return;
            }

            if (kind == Kind::noise)
            {
                segment = noise;
                remaining = std::numeric_limits<int>::max();
                level = 0.7f;
                return;
            }

            segment = between (0, kind == Kind::hostile ? numSegments - 1 : numSegments - 2);
            remaining = segment == silence ? between (200, 12000) : between (30, 4000);
            level = std::pow (10.0f, 2.5f * uniform() - 0.8f);   // about 0.001 to 2
        }

        float sample()
        {
            switch (segment)
            {
                case noise:      return level * uniform();
                case clicks:     return nextBits() % 97 == 0 ? 3.0f * uniform() : 0.0f;
                case nearFlush:  return 2.0e-8f * uniform();
                case strange:    return strangeValue();
                default:         return nextBits() % 5 == 0 ? -0.0f : 0.0f;
            }
        }

        float strangeValue()
        {
            constexpr float values[] { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                       -std::numeric_limits<float>::infinity(), 1.0e30f, -1.0e30f, 1.0e-40f, -0.0f };
            return nextBits() % 3 == 0 ? values[nextBits() % std::size (values)] : uniform();
        }

        uint64_t state;
        Kind kind;
        int segment = silence;
        int remaining = 0;
        float level = 0.0f;
        int64_t position = 0;
    };

    //==============================================================================
    testing::AssertionResult sameSamples (const juce::AudioSampleBuffer& actual, const juce::AudioSampleBuffer& expected)
    {
        for (int channel = 0; channel < actual.getNumChannels(); ++channel)
            for (int i = 0; i < actual.getNumSamples(); ++i)
                if (bitsOf (actual.getSample (channel, i)) != bitsOf (expected.getSample (channel, i)))
                    return testing::AssertionFailure() << "channel " << channel << " sample " << i << ": "
                                                       << describe (actual.getSample (channel, i)) << ", expected "
                                                       << describe (expected.getSample (channel, i));

        return testing::AssertionSuccess();
    }

    testing::AssertionResult sameTargets (const Targets& before, const Targets& after, bool delayMayMove)
    {
        const std::pair<const char*, std::pair<float, float>> targets[] {
            { "delay", { delayMayMove ? after.delay : before.delay, after.delay } },
            { "feedback", { before.feedback, after.feedback } }, { "pingPong", { before.pingPong, after.pingPong } },
            { "mix", { before.mix, after.mix } }, { "lowPassL", { before.lowPassL, after.lowPassL } },
            { "lowPassR", { before.lowPassR, after.lowPassR } }, { "highPassL", { before.highPassL, after.highPassL } },
            { "highPassR", { before.highPassR, after.highPassR } }, { "balance", { before.balance, after.balance } },
            { "gain", { before.gain, after.gain } },
        };

        for (const auto& [name, values] : targets)
            if (bitsOf (values.first) != bitsOf (values.second))
                return testing::AssertionFailure() << "the block moved the " << name << " target from "
                                                   << describe (values.first) << " to " << describe (values.second);

        return testing::AssertionSuccess();
    }

    testing::AssertionResult sameState (const Processor& processor, const ReferenceEngine::State& r)
    {
        const auto& line = processor.delayLine;
        const std::pair<const char*, std::pair<float, float>> values[] {
            { "delay", { line.delay, r.delay } },
            { "feedback", { line.feedback, r.feedback } },
            { "feedbackSampleL", { line.feedbackSampleL, r.feedbackSampleL } },
            { "feedbackSampleR", { line.feedbackSampleR, r.feedbackSampleR } },
            { "pingPong", { line.pingPong, r.pingPong } },
            { "mix", { line.mix, r.mix } },
            { "lowPassL.coefficient", { line.lowPassL.coefficient, r.lowPassL.coefficient } },
            { "lowPassL.lastOutput", { line.lowPassL.lastOutput, r.lowPassL.lastOutput } },
            { "lowPassR.coefficient", { line.lowPassR.coefficient, r.lowPassR.coefficient } },
            { "lowPassR.lastOutput", { line.lowPassR.lastOutput, r.lowPassR.lastOutput } },
            { "highPassL.coefficient", { line.highPassL.coefficient, r.highPassL.coefficient } },
            { "highPassL.lastInput", { line.highPassL.lastInput, r.highPassL.lastInput } },
            { "highPassL.lastOutput", { line.highPassL.lastOutput, r.highPassL.lastOutput } },
            { "highPassR.coefficient", { line.highPassR.coefficient, r.highPassR.coefficient } },
            { "highPassR.lastInput", { line.highPassR.lastInput, r.highPassR.lastInput } },
            { "highPassR.lastOutput", { line.highPassR.lastOutput, r.highPassR.lastOutput } },
            { "balance", { processor.balance, r.balance } },
            { "gain", { processor.gain, r.gain } },
        };

        auto result = testing::AssertionSuccess();
        bool same = true;

        for (const auto& [name, pair] : values)
        {
            if (bitsOf (pair.first) != bitsOf (pair.second))
            {
                same = false;
                result = testing::AssertionFailure() << result.message() << name << " " << describe (pair.first)
                                                     << ", expected " << describe (pair.second) << "; ";
            }
        }

        if (line.writePos != r.writePos || line.readPos != r.readPos)
            return testing::AssertionFailure() << result.message() << "writePos " << line.writePos << " readPos "
                                               << line.readPos << ", expected " << r.writePos << " and " << r.readPos;

        return same ? testing::AssertionSuccess() : result;
    }

    testing::AssertionResult sameRings (const DelayLine& line, const ReferenceEngine::State& r)
    {
        for (int32_t i = 0; i < line.length; ++i)
            if (bitsOf (line.bufferL[(size_t) i]) != bitsOf (r.ringL[(size_t) i])
                || bitsOf (line.bufferR[(size_t) i]) != bitsOf (r.ringR[(size_t) i]))
                return testing::AssertionFailure() << "the rings differ at index " << i;

        return testing::AssertionSuccess();
    }

    //==============================================================================
    struct Layout
    {
        int inputs, outputs, bufferChannels;
    };

    constexpr Layout stereo { 2, 2, 2 };
    constexpr Layout monoInStereoOut { 1, 2, 2 };
    constexpr Layout mono { 1, 1, 1 };

    struct Setting
    {
        int index;
        float value;
    };

    // Mode values that pick each delay mode.
    constexpr float shortMode = 0.0f, normalMode = 1.0f / 3.0f, longMode = 2.0f / 3.0f, syncMode = 1.0f;

    /** What a scenario drives, block by block, through the processor and the reference alike. */
    struct Run
    {
        Processor processor;
        FakePlayHead playHead;
        int block = 0;
        int64_t samples = 0;
        int32_t startWritePos = 0;
    };

    struct Scenario
    {
        const char* name;
        Layout layout = stereo;
        double sampleRate = 48000.0;   // 0 leaves the processor as constructed, never prepared
        std::vector<int> blockSizes { 512 };
        int64_t totalSamples = 30000;
        std::vector<Setting> settings {};
        TestSignal::Kind signal = TestSignal::Kind::music;
        bool settled = false;   // smoothed values start on their targets
        std::function<void (Run&)> setUp {};   // runs before the reference copies the processor
        std::function<void (Run&)> beforeBlock {};
        std::function<bool (const Run&)> finished {};
        std::function<testing::AssertionResult (const Run&)> reached {};   // the scenario hit what it is about
    };

    std::ostream& operator<< (std::ostream& out, const Scenario& scenario) { return out << scenario.name; }

    void prepare (Run& run, const Scenario& scenario)
    {
        auto& processor = run.processor;
        const int inputs = scenario.layout.inputs;
        const int outputs = scenario.layout.outputs;

        if (inputs != 2 || outputs != 2)
            processor.setPlayConfigDetails (inputs, outputs, scenario.sampleRate > 0 ? scenario.sampleRate : 44100.0, 512);

        // A processor's first block starts every smoothed value on its target. The scenarios are
        // about the glides, so each runs on a processor whose first block, empty, came while it
        // was as constructed, with nothing on its way.
        juce::AudioSampleBuffer noSamples (scenario.layout.bufferChannels, 0);
        juce::MidiBuffer noMidi;
        processor.processBlock (noSamples, noMidi);

        if (scenario.sampleRate > 0)
            processor.prepareToPlay (scenario.sampleRate, 512);

        run.playHead.bpm = 120.0;
        run.playHead.signature = juce::AudioPlayHead::TimeSignature { 4, 4 };
        processor.setPlayHead (&run.playHead);

        for (const auto& setting : scenario.settings)
            processor.setParameter (setting.index, setting.value);

        if (scenario.settled)
            settleProcessor (processor);

        if (scenario.setUp)
            scenario.setUp (run);

        run.startWritePos = processor.delayLine.writePos;
    }

    /** Each scenario its own signal, the same on every run and every machine. */
    uint32_t seedFor (const char* name)
    {
        uint32_t hash = 2166136261u;
        for (; *name != 0; ++name)
            hash = (hash ^ (uint8_t) *name) * 16777619u;
        return hash;
    }

    /** Drives the scenario through both engines and compares after every block. */
    void runScenario (const Scenario& scenario)
    {
        auto run = std::make_unique<Run>();
        auto& processor = run->processor;
        prepare (*run, scenario);

        ReferenceEngine reference (processor);
        TestSignal signal (seedFor (scenario.name), scenario.signal);

        while (run->samples < scenario.totalSamples && ! (scenario.finished && scenario.finished (*run)))
        {
            const int n = scenario.blockSizes[(size_t) run->block % scenario.blockSizes.size()];

            if (scenario.beforeBlock)
                scenario.beforeBlock (*run);

            juce::AudioSampleBuffer actual (scenario.layout.bufferChannels, n);
            signal.fill (actual);
            juce::AudioSampleBuffer expected (actual);

            const bool sync = processor.currentMode == Sync;
            const auto before = Targets::of (processor);
            juce::MidiBuffer midi;
            processor.processBlock (actual, midi);
            const auto after = Targets::of (processor);

            // In Sync mode the block itself sets the delay target from the tempo before its audio.
            ASSERT_TRUE (sameTargets (before, after, sync)) << "block " << run->block;
            reference.takeTargets (after);
            reference.processBlock (expected);

            ASSERT_TRUE (sameSamples (actual, expected))
                << "block " << run->block << " of " << n << " samples, " << run->samples << " samples in";
            ASSERT_TRUE (sameState (processor, reference.state()))
                << "after block " << run->block << " of " << n << " samples, " << run->samples << " samples in";

            ++run->block;
            run->samples += n;
        }

        EXPECT_TRUE (sameRings (processor.delayLine, reference.state()));

        if (scenario.reached)
        {
            EXPECT_TRUE (scenario.reached (*run));
        }
    }

    //==============================================================================
    /** Deterministic per-block parameter values: smooth automation curves, or jumps. */
    float automation (int parameter, int block)
    {
        return 0.5f + 0.5f * std::sin (0.37f * (float) block * (1.0f + 0.29f * (float) parameter) + (float) parameter);
    }

    float jump (int parameter, int block)
    {
        uint32_t h = (uint32_t) (block * 9 + parameter + 1) * 2654435761u;
        h ^= h >> 15;
        return (float) (h % 10001u) / 10000.0f;
    }

    /** Moves every parameter every block, the mode too, so that glides never settle. */
    std::function<void (Run&)> everyParameterMoves (float (*curve) (int, int))
    {
        return [curve] (Run& run)
        {
            for (int parameter = 0; parameter < Processor::numParameters; ++parameter)
                run.processor.setParameter (parameter, curve (parameter, run.block));
        };
    }

    /** Changes the delay time (and every fifth block the feedback) every few blocks. */
    std::function<void (Run&)> delayTimeChanges (int everyBlocks)
    {
        return [everyBlocks] (Run& run)
        {
            if (run.block % everyBlocks != 0)
                return;

            run.processor.setParameter (Processor::delayTimeIndex, jump (0, run.block));

            if (run.block % (5 * everyBlocks) == 0)
                run.processor.setParameter (Processor::delayFeedbackIndex, 0.3f + 0.6f * jump (1, run.block));
        };
    }

    std::function<void (Run&)> setDelayTarget (float samples)
    {
        return [samples] (Run& run) { run.processor.delayLine.setDelayTarget (samples); };
    }

    /** Every smoothed value on its target, the delay at the given length, the next write at the given index. */
    std::function<void (Run&)> settledAt (float delaySamples, int32_t samplesBeforeRingEnd = -1)
    {
        return [=] (Run& run)
        {
            auto& line = run.processor.delayLine;
            line.setDelayTarget (delaySamples);
            settleProcessor (run.processor);

            if (samplesBeforeRingEnd >= 0)
                line.writePos = line.length - samplesBeforeRingEnd;
        };
    }

    const std::vector<int> allSizes { 1, 7, 10, 11, 333, 4096, 16384, 0, 20000, 64, 1024 };

    const std::vector<Setting> echoes { { Processor::delayFeedbackIndex, 0.8f }, { Processor::dryWetIndex, 0.6f },
                                        { Processor::delayTimeIndex, 0.05f } };

    const std::vector<Scenario> scenarios {
        // The four modes, with the delay time changing between blocks.
        { .name = "ShortMode", .blockSizes = { 256, 333 }, .settings = { { 2, shortMode }, { 1, 0.85f } },
          .beforeBlock = delayTimeChanges (7) },
        { .name = "NormalMode", .blockSizes = { 512 }, .settings = { { 2, normalMode }, { 1, 0.7f } },
          .beforeBlock = delayTimeChanges (9) },
        { .name = "LongMode", .blockSizes = { 1024 }, .totalSamples = 60000, .settings = { { 2, longMode }, { 1, 0.7f } },
          .beforeBlock = delayTimeChanges (11) },
        { .name = "SyncModeFollowsTheTempo", .blockSizes = { 480, 7 }, .totalSamples = 40000,
          .settings = { { 2, syncMode }, { 0, 0.4f }, { 1, 0.75f } },
          .beforeBlock = [] (Run& run)
          {
              // A tempo of 0 asks for the longest delay.
              run.playHead.bpm = run.block % 23 == 7 ? 0.0 : 90.0 + 7.0 * (run.block % 13);
              run.playHead.signature = juce::AudioPlayHead::TimeSignature { 3 + run.block % 3, run.block % 40 < 20 ? 4 : 8 };
              run.playHead.reports = run.block % 17 != 5;   // now and then the host says nothing
              if (run.block % 10 == 0)
                  run.processor.setParameter (Processor::delayTimeIndex, jump (0, run.block));
          } },
        { .name = "ModesSwitchBetweenBlocks", .blockSizes = { 700, 10 }, .totalSamples = 50000, .settings = echoes,
          .beforeBlock = [] (Run& run)
          {
              if (run.block % 6 == 0)
                  run.processor.setParameter (Processor::modeIndex, (float) ((run.block / 6) % 4) / 3.0f);
          } },

        // Block sizes one by one, and mixed, while the controls glide.
        { .name = "Blocks1", .blockSizes = { 1 }, .totalSamples = 3000, .settings = echoes, .beforeBlock = delayTimeChanges (500) },
        { .name = "Blocks7", .blockSizes = { 7 }, .totalSamples = 8000, .settings = echoes, .beforeBlock = delayTimeChanges (300) },
        { .name = "Blocks10", .blockSizes = { 10 }, .totalSamples = 8000, .settings = echoes, .beforeBlock = delayTimeChanges (200) },
        { .name = "Blocks11", .blockSizes = { 11 }, .totalSamples = 8000, .settings = echoes, .beforeBlock = delayTimeChanges (200) },
        { .name = "Blocks333", .blockSizes = { 333 }, .settings = echoes, .beforeBlock = delayTimeChanges (20) },
        { .name = "Blocks4096", .blockSizes = { 4096 }, .totalSamples = 60000, .settings = echoes, .beforeBlock = delayTimeChanges (3) },
        { .name = "Blocks16384", .blockSizes = { 16384 }, .totalSamples = 100000, .settings = echoes, .beforeBlock = delayTimeChanges (2) },
        { .name = "MixedBlocksIncludingEmptyAndOverlong", .blockSizes = allSizes, .totalSamples = 150000, .settings = echoes,
          .beforeBlock = delayTimeChanges (4) },
        { .name = "MixedBlocksSettled", .blockSizes = allSizes, .totalSamples = 100000, .settings = echoes, .settled = true },

        // Every parameter moving every block.
        { .name = "AllParametersAutomated", .blockSizes = allSizes, .totalSamples = 120000,
          .beforeBlock = everyParameterMoves (automation) },
        { .name = "AllParametersJump", .blockSizes = { 64, 1024, 3 }, .totalSamples = 60000, .beforeBlock = everyParameterMoves (jump) },
        { .name = "MonoAllParametersAutomated", .layout = mono, .blockSizes = allSizes, .totalSamples = 80000,
          .beforeBlock = everyParameterMoves (automation) },
        { .name = "MonoInputAllParametersJump", .layout = monoInStereoOut, .blockSizes = { 128, 11 }, .totalSamples = 40000,
          .beforeBlock = everyParameterMoves (jump) },

        // Channel layouts.
        { .name = "MonoSettled", .layout = mono, .blockSizes = { 1024, 1 }, .settings = echoes, .settled = true },
        { .name = "MonoInputToStereo", .layout = monoInStereoOut, .blockSizes = { 1024 }, .settings = echoes,
          .beforeBlock = delayTimeChanges (5) },
        { .name = "MonoLineOnATwoChannelBuffer", .layout = { 1, 1, 2 }, .blockSizes = { 333 }, .settings = echoes },
        { .name = "ExtraBufferChannel", .layout = { 2, 2, 3 }, .blockSizes = { 500 }, .settings = echoes },
        { .name = "NoBufferChannelsStillGlideTheGain", .layout = { 2, 2, 0 }, .blockSizes = { 500 }, .totalSamples = 3000,
          .settings = { { Processor::gainIndex, 0.4f } } },

        // Delays at the minimum and with a fraction.
        { .name = "NeverPreparedHoldsTheMinimumDelay", .sampleRate = 0, .blockSizes = { 100, 1 }, .totalSamples = 20000,
          .settings = { { Processor::delayFeedbackIndex, 0.9f } },
          .reached = [] (const Run& run) { return run.processor.delayLine.delay == 10.0f ? testing::AssertionSuccess()
                                                                                        : testing::AssertionFailure() << "delay not at 10"; } },
        { .name = "DelayTargetAtTheMinimum", .sampleRate = 2000.0, .blockSizes = { 64 }, .totalSamples = 20000,
          .settings = { { 2, shortMode }, { 0, 0.0f }, { 1, 0.95f }, { 7, 1.0f } },
          .reached = [] (const Run& run) { return run.processor.delayLine.targetDelay == 10.0f ? testing::AssertionSuccess()
                                                                                              : testing::AssertionFailure() << "target not 10"; } },
        { .name = "FractionalDelaySettled", .blockSizes = { 777 }, .settings = echoes, .settled = true,
          .setUp = [] (Run& run) { setDelayTarget (1234.40625f) (run); settleProcessor (run.processor); } },
        { .name = "FractionalDelayGlides", .blockSizes = { 512 }, .totalSamples = 60000, .settings = echoes,
          .setUp = setDelayTarget (3001.7f),
          .beforeBlock = [] (Run& run)
          {
              if (run.block == 50)
                  run.processor.delayLine.setDelayTarget (123.456f);
          } },

        // Ping-pong amounts and feedback extremes.
        { .name = "PingPongNone", .blockSizes = { 512 }, .settings = { { 4, 0.0f }, { 1, 0.9f }, { 0, 0.02f } }, .settled = true },
        { .name = "PingPongHalf", .blockSizes = { 512 }, .settings = { { 4, 0.5f }, { 1, 0.9f }, { 0, 0.02f } }, .settled = true },
        { .name = "PingPongFull", .blockSizes = { 512 }, .settings = { { 4, 1.0f }, { 1, 0.9f }, { 0, 0.02f } }, .settled = true },
        { .name = "PingPongGlides", .blockSizes = { 300 }, .settings = { { 1, 0.9f }, { 0, 0.02f } },
          .beforeBlock = [] (Run& run) { run.processor.setParameter (4, (float) ((run.block / 8) % 3) * 0.5f); } },
        { .name = "FeedbackNone", .blockSizes = { 512 }, .settings = { { 1, 0.0f }, { 7, 1.0f } } },
        { .name = "FeedbackAtItsMostRunsIntoTheClamp", .blockSizes = { 512 }, .totalSamples = 60000,
          .settings = { { 1, 1.0f }, { 7, 0.8f }, { 5, 0.0f }, { 6, 0.0f }, { 0, 0.01f } } },

        // Echoes that die away and end in exact zeros.
        { .name = "DecayingEchoesFlushToZero", .blockSizes = { 1000, 37 }, .totalSamples = 80000,
          .settings = { { 2, shortMode }, { 0, 0.2f }, { 1, 0.5f }, { 7, 1.0f } },
          .signal = TestSignal::Kind::clicksThenSilence,
          .reached = [] (const Run& run)
          {
              const auto& line = run.processor.delayLine;
              if (line.feedbackSampleL == 0.0f && line.feedbackSampleR == 0.0f && line.highPassL.lastOutput == 0.0f)
                  return testing::AssertionSuccess();
              return testing::AssertionFailure() << "the echoes have not ended: " << line.feedbackSampleL;
          } },

        // Reads and writes that wrap round the end of the rings.
        { .name = "RingWrapsRoundItsEnd", .blockSizes = { 333, 1 }, .totalSamples = 20000, .settings = echoes,
          .signal = TestSignal::Kind::noise, .setUp = [] (Run& run) { run.processor.delayLine.writePos = run.processor.delayLine.length - 3000; },
          .reached = [] (const Run& run)
          {
              if (run.processor.delayLine.writePos < run.startWritePos)
                  return testing::AssertionSuccess();
              return testing::AssertionFailure() << "the write position never wrapped";
          } },
        { .name = "ReadAtIndexZeroInterpolatesWithTheLastEntry", .blockSizes = { 50 }, .totalSamples = 2000,
          .settings = echoes, .signal = TestSignal::Kind::noise,
          .setUp = [] (Run& run)
          {
              setDelayTarget (600.25f) (run);
              settleProcessor (run.processor);
              run.processor.delayLine.writePos = run.processor.delayLine.length - 500;
          } },

        // Settled engines, where whole blocks may run without glides.
        { .name = "SettledAtTheMinimumDelay", .blockSizes = allSizes, .totalSamples = 60000, .settings = echoes,
          .setUp = settledAt (10.0f) },
        { .name = "SettledHalfASampleAboveTheMinimum", .blockSizes = allSizes, .totalSamples = 60000, .settings = echoes,
          .setUp = settledAt (10.5f, 2000) },
        { .name = "SettledAtTheLongestDelay", .blockSizes = { 4096, 16384, 7 }, .totalSamples = 100000, .settings = echoes,
          .signal = TestSignal::Kind::noise, .setUp = settledAt (480000.0f, 30000) },
        { .name = "SettledFractionalLongDelay", .blockSizes = { 1024, 333 }, .totalSamples = 60000, .settings = echoes,
          .signal = TestSignal::Kind::noise, .setUp = settledAt (479990.75f, 5000) },
        { .name = "SettledFeedbackAtItsMost", .blockSizes = { 1024, 11 }, .totalSamples = 60000,
          .settings = { { 1, 1.0f }, { 4, 0.5f }, { 5, 0.0f }, { 6, 0.0f }, { 7, 0.8f } }, .setUp = settledAt (25.25f) },
        { .name = "SettledWithNaNAndInfiniteInput", .blockSizes = { 512, 10 }, .totalSamples = 60000, .settings = echoes,
          .signal = TestSignal::Kind::hostile, .setUp = settledAt (37.5f) },
        { .name = "SettledMonoAtTheMinimumDelay", .layout = mono, .blockSizes = allSizes, .totalSamples = 60000,
          .settings = echoes, .setUp = settledAt (10.0f, 700) },

        // From a settled engine, one glide at a time, so that each runs beside settled others.
        { .name = "OneGlideAtATime", .blockSizes = { 256, 1024, 1 }, .totalSamples = 150000, .settings = echoes,
          .setUp = settledAt (480.5f),
          .beforeBlock = [] (Run& run)
          {
              if (run.block % 6 == 0)
                  run.processor.setParameter ((run.block / 6) % Processor::numParameters, jump (2, run.block));
          } },
        { .name = "OnlyTheDelayGlides", .blockSizes = { 1024, 64 }, .totalSamples = 120000, .settings = echoes,
          .setUp = settledAt (480.5f),
          .beforeBlock = [] (Run& run)
          {
              if (run.block == 1)
                  run.processor.delayLine.setDelayTarget (20000.5f);
              else if (run.block == 80)
                  run.processor.delayLine.setDelayTarget (10.0f);
          } },
        { .name = "OnlyTheDelayGlidesInMono", .layout = mono, .blockSizes = { 1024 }, .totalSamples = 60000, .settings = echoes,
          .setUp = [] (Run& run) { settledAt (480.5f) (run); run.processor.delayLine.setDelayTarget (9000.25f); } },
        { .name = "SampleRateChangesBetweenBlocks", .blockSizes = { 512 }, .totalSamples = 80000, .settings = echoes,
          .beforeBlock = [] (Run& run)
          {
              constexpr double rates[] { 44100.0, 96000.0, 48000.0, 22050.0 };
              if (run.block % 15 == 0)
                  run.processor.prepareToPlay (rates[(run.block / 15) % 4], 512);
          } },

        // Hostile numbers: NaN and infinite input, absurd restored settings.
        { .name = "NaNAndInfiniteInput", .blockSizes = { 256, 13 }, .totalSamples = 60000, .settings = echoes,
          .signal = TestSignal::Kind::hostile, .beforeBlock = everyParameterMoves (automation) },
        { .name = "AbsurdFeedbackOverflowsTheRing", .blockSizes = { 512 }, .totalSamples = 20000,
          .settings = { { 1, 1.0e30f }, { 7, 0.7f } }, .signal = TestSignal::Kind::hostile },
        // The processor keeps its feedback target finite, so the infinity goes into the line directly.
        { .name = "InfiniteFeedbackPutsNaNsInTheRing", .blockSizes = { 512, 3 }, .totalSamples = 20000,
          .settings = { { 7, 0.7f } },
          .setUp = [] (Run& run)
          {
              settledAt (480000.0f, 1000) (run);
              run.processor.delayLine.setFeedback (std::numeric_limits<float>::infinity());
              run.processor.delayLine.feedback = run.processor.delayLine.targetFeedback;
          },
          .reached = [] (const Run& run)
          {
              const auto& line = run.processor.delayLine;
              const auto* ring = line.bufferL.get();
              if (std::any_of (ring, ring + line.length, [] (float x) { return std::isnan (x); }))
                  return testing::AssertionSuccess();
              return testing::AssertionFailure() << "no NaN reached the ring";
          } },
        { .name = "AbsurdGainHitsTheLimiter", .blockSizes = { 512 }, .totalSamples = 20000,
          .settings = { { Processor::gainIndex, 10.0f } } },
        { .name = "GainOfZeroKeepsNegativeZeros", .blockSizes = { 512 }, .totalSamples = 20000,
          .settings = { { Processor::gainIndex, -0.5f } } },
        { .name = "GainGlidesInLongBlocks", .blockSizes = { 16384, 5 }, .totalSamples = 60000,
          .beforeBlock = [] (Run& run) { run.processor.setParameter (Processor::gainIndex, run.block % 4 < 2 ? 1.0f : 0.2f); } },

        // A long delay change, run until the glide creeps onto its target, and on past it.
        { .name = "LongDelayGlideCreepsOntoItsTarget", .sampleRate = 192000.0, .blockSizes = { 4096 }, .totalSamples = 420000,
          .settings = { { 2, longMode }, { 0, 1.0f }, { 1, 0.5f } },
          .finished = [] (const Run& run)
          {
              const auto& line = run.processor.delayLine;
              return line.delay == line.targetDelay && run.samples > 350000;
          },
          .reached = [] (const Run& run)
          {
              const auto& line = run.processor.delayLine;
              if (line.delay == 480000.0f && line.targetDelay == 480000.0f)
                  return testing::AssertionSuccess();
              return testing::AssertionFailure() << "the delay stopped at " << describe (line.delay);
          } },
    };

    struct BitExact : testing::TestWithParam<Scenario> {};
}

TEST_P (BitExact, ProcessorMatchesThePlainEngine)
{
    runScenario (GetParam());
}

INSTANTIATE_TEST_SUITE_P (Scenarios, BitExact, testing::ValuesIn (scenarios),
                          [] (const testing::TestParamInfo<Scenario>& info) { return std::string (info.param.name); });
