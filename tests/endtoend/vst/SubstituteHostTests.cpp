#include "SavedBlocks.h"
#include "SubstituteHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{
    constexpr int32_t numParameters = 9;
    constexpr int32_t dryWetIndex = 7;
    constexpr int32_t delayTimeIndex = 0, feedbackIndex = 1, modeIndex = 2, highCutIndex = 5, lowCutIndex = 6;

    class LoadedPlugin : public ::testing::Test
    {
    protected:
        static void SetUpTestSuite() { library = std::make_unique<VstPluginLibrary> (LUMARRO_PLUGIN_PATH); }
        static void TearDownTestSuite() { library.reset(); }

        static inline std::unique_ptr<VstPluginLibrary> library;
    };

    std::string textOf (SubstituteHost& host, int32_t opcode, int32_t index = 0)
    {
        char text[256] {};
        host.dispatch (opcode, index, 0, text);
        return text;
    }

    size_t loudestSample (const std::vector<float>& samples, size_t from)
    {
        const auto peak = std::max_element (samples.begin() + (long) from, samples.end(),
                                            [] (float a, float b) { return std::abs (a) < std::abs (b); });
        return (size_t) (peak - samples.begin());
    }

    /** Clicks every 5000 samples over a quiet sine, and now and then a sample far beyond full scale. */
    std::vector<float> clicksAndSine (size_t length)
    {
        std::vector<float> samples (length);

        for (size_t i = 0; i < length; ++i)
            samples[i] = (i % 5000 == 0) ? 0.8f : (i % 7001 == 0) ? 5.0f : 0.05f * std::sin (0.01f * (float) i);

        return samples;
    }

    /** Runs samples [from, to) of both channels through the host, in the host's blocks. */
    void processStretch (SubstituteHost& host, std::vector<float>& left, std::vector<float>& right, size_t from, size_t to)
    {
        std::vector<float> l (left.begin() + (long) from, left.begin() + (long) to);
        std::vector<float> r (right.begin() + (long) from, right.begin() + (long) to);
        host.processInPlace (l, r);
        std::copy (l.begin(), l.end(), left.begin() + (long) from);
        std::copy (r.begin(), r.end(), right.begin() + (long) from);
    }

    VstTimeInfoRecord transportAt (double tempo, int32_t flags)
    {
        VstTimeInfoRecord time {};
        time.tempo = tempo;
        time.timeSignatureNumerator = 4;
        time.timeSignatureDenominator = 4;
        time.flags = flags;
        return time;
    }
}

//==============================================================================
TEST_F (LoadedPlugin, OnlyTheEntrySymbolsLeaveTheLibrary)
{
    EXPECT_NE (library->findSymbol ("VSTPluginMain"), nullptr);
    EXPECT_NE (library->findSymbol ("main_macho"), nullptr);
    EXPECT_EQ (library->findSymbol ("_Z18createPluginFilterv"), nullptr);
    EXPECT_EQ (library->findSymbol ("effectDispatchEntry"), nullptr);
    EXPECT_EQ (library->findSymbol ("_ZN4juce6String7toUpperEv"), nullptr);
}

TEST_F (LoadedPlugin, TheEntryRefusesHostsThatCannotTakeAnEffect)
{
    EXPECT_EQ (library->entry() (nullptr), nullptr);

    const VstHostCallback versionZero = [] (VstEffectRecord*, int32_t, int32_t, intptr_t, void*, float) -> intptr_t { return 0; };
    EXPECT_EQ (library->entry() (versionZero), nullptr);
}

TEST_F (LoadedPlugin, TheRecordShowsLumarrosIdentity)
{
    SubstituteHost host (*library);
    const auto& record = host.record();

    EXPECT_EQ (record.magic, 0x56737450);
    EXPECT_EQ (record.uniqueId, 0x51794C75);
    EXPECT_EQ (record.version, 110);
    EXPECT_EQ (record.flags, 0x1 | 0x10 | 0x20);
    EXPECT_EQ (record.numPrograms, 1);
    EXPECT_EQ (record.numParameters, numParameters);
    EXPECT_EQ (record.numInputs, 2);
    EXPECT_EQ (record.numOutputs, 2);
    EXPECT_EQ (record.initialDelay, 0);
    EXPECT_EQ (record.ioRatio, 1.0f);
    EXPECT_NE (record.processReplacing, nullptr);

    // The host's version is asked before any record exists.
    EXPECT_EQ (host.calls().front().opcode, 1);
}

TEST_F (LoadedPlugin, AnswersTheHostsQuestionsAboutItself)
{
    SubstituteHost host (*library);

    EXPECT_EQ (textOf (host, 45), "Lumarro");
    EXPECT_EQ (textOf (host, 47), "Quellory");
    EXPECT_EQ (textOf (host, 48), "QY - Lumarro");
    EXPECT_EQ (host.dispatch (49), 110);
    EXPECT_EQ (host.dispatch (35), 1);
    EXPECT_EQ (host.dispatch (58), 2400);
    EXPECT_EQ (host.dispatch (52), 0);
    EXPECT_EQ (host.dispatch (22), 0x4E764566);

    const std::pair<const char*, intptr_t> canDo[] {
        { "receiveVstEvents", 1 }, { "receiveVstMidiEvent", 1 }, { "receiveVstTimeInfo", 1 },
        { "sendVstEvents", -1 }, { "sendVstMidiEvent", -1 }, { "offline", 0 }, { "", 0 },
    };

    for (const auto& [question, expected] : canDo)
    {
        char text[64] {};
        std::strcpy (text, question);
        EXPECT_EQ (host.dispatch (51, 0, 0, text), expected) << question;
    }

    const char* names[] { "DelayTime", "DelayFeedback", "Mode", "Balance", "PingPong", "HighCut", "LowCut", "DryWet", "Gain" };

    for (int32_t i = 0; i < numParameters; ++i)
    {
        EXPECT_EQ (textOf (host, 8, i), names[i]);
        EXPECT_EQ (textOf (host, 6, i), "");
        EXPECT_EQ (host.dispatch (26, i), 1);
    }

    EXPECT_EQ (host.dispatch (26, numParameters), 0);
    EXPECT_EQ (textOf (host, 5), "default");
    EXPECT_EQ (host.dispatch (3), 0);

    char program[64] {};
    EXPECT_EQ (host.dispatch (29, 0, -1, program), 1);
    EXPECT_STREQ (program, "default");
    EXPECT_EQ (host.dispatch (29, 1, -1, program), 0);
    EXPECT_EQ (host.dispatch (29, -1, -1, program), 0);

    for (const int32_t opcode : { 33, 34 })
    {
        for (int32_t pin = 0; pin < 2; ++pin)
        {
            VstPinPropertiesRecord properties;
            std::memset (&properties, 0x5A, sizeof (properties));
            ASSERT_EQ (host.dispatch (opcode, pin, 0, &properties), 1);
            EXPECT_STREQ (properties.label, std::to_string (pin + 1).c_str());
            EXPECT_STREQ (properties.shortLabel, std::to_string (pin + 1).c_str());
            EXPECT_EQ (properties.flags, VstPinPropertiesRecord::isActive | VstPinPropertiesRecord::isStereo);
        }

        VstPinPropertiesRecord unused {};
        EXPECT_EQ (host.dispatch (opcode, 2, 0, &unused), 0);
    }

    // The window's size is known before it opens; without a parent window nothing opens,
    // and idling or closing with no window open is harmless.
    VstEditorRectRecord* bounds = nullptr;
    EXPECT_EQ (host.dispatch (13, 0, 0, &bounds), 1);
    ASSERT_NE (bounds, nullptr);
    EXPECT_EQ (bounds->top, 0);
    EXPECT_EQ (bounds->left, 0);
    EXPECT_EQ (bounds->bottom, 305);
    EXPECT_EQ (bounds->right, 620);
    EXPECT_EQ (host.dispatch (13, 0, 0, nullptr), 0);
    EXPECT_EQ (host.dispatch (14, 0, 0, nullptr), 0);
    EXPECT_EQ (host.dispatch (19), 0);
    EXPECT_EQ (host.dispatch (15), 0);
}

TEST_F (LoadedPlugin, TextsStayWithinTheBuffersHostsGive)
{
    SubstituteHost host (*library);

    // Stored values are not clamped, so their texts can be long.
    host.setParameter (3, -123456.789f);
    host.setParameter (4, 1.0e30f);
    host.setParameter (5, 0.000123456789f);

    const std::pair<int32_t, size_t> textOpcodes[] { { 5, 24 }, { 6, 8 }, { 7, 8 }, { 8, 16 }, { 45, 32 }, { 47, 64 }, { 48, 64 } };

    for (const auto& [opcode, room] : textOpcodes)
    {
        for (int32_t index = 0; index < numParameters; ++index)
        {
            std::vector<char> buffer (room + 1 + 32, '\x5A');
            host.dispatch (opcode, index, 0, buffer.data());

            const auto end = std::find (buffer.begin(), buffer.begin() + (long) room + 1, 0);
            EXPECT_NE (end, buffer.begin() + (long) room + 1) << "opcode " << opcode << " index " << index << " is not closed";

            for (auto i = room + 1; i < buffer.size(); ++i)
                ASSERT_EQ (buffer[i], '\x5A') << "opcode " << opcode << " index " << index << " wrote past its buffer";
        }
    }

    EXPECT_EQ (textOf (host, 7, 5), "0.000123");
    EXPECT_EQ (host.getParameter (3), -123456.789f);
}

TEST_F (LoadedPlugin, SurvivesEveryOpcodeWithGuardedAndNullBuffers)
{
    SubstituteHost host (*library);
    host.resume();

    const auto sweep = [&] (bool withBuffer)
    {
        std::vector<int32_t> opcodes { INT_MIN, -1000, 1000, INT_MAX };

        for (int32_t opcode = -1; opcode <= 100; ++opcode)
            if (opcode != 1)
                opcodes.push_back (opcode);

        for (const auto opcode : opcodes)
        {
            for (const int32_t index : { -1, 0, 1, 8, 9, 1000 })
            {
                std::vector<char> buffer (1024 + 64, '\x5A');
                std::fill (buffer.begin(), buffer.begin() + 1024, 0);
                host.dispatch (opcode, index, 0, withBuffer ? buffer.data() : nullptr, 0.0f);

                for (size_t i = 1024; i < buffer.size(); ++i)
                    ASSERT_EQ (buffer[i], '\x5A') << "opcode " << opcode;
            }
        }
    };

    sweep (true);
    sweep (false);

    // Still a working effect afterwards.
    host.resume();
    std::vector<float> left (1024, 0.25f), right (1024, -0.25f);
    host.processInPlace (left, right);
    EXPECT_TRUE (std::all_of (left.begin(), left.end(), [] (float s) { return std::isfinite (s); }));
    EXPECT_EQ (host.close(), 1);
}

TEST_F (LoadedPlugin, ANegativeProgramOrAnUnusableRateChangesNothing)
{
    SubstituteHost host (*library);
    EXPECT_EQ (host.dispatch (2, 0, -1), 0);
    EXPECT_EQ (host.dispatch (3), 0);

    // Short mode at 5 ms: a NaN rate would turn the delay target into NaN and the output with it.
    host.setParameter (modeIndex, 0.0f);
    host.dispatch (10, 0, 0, nullptr, std::nanf (""));
    host.dispatch (10, 0, 0, nullptr, 0.0f);
    host.dispatch (11, 0, 0);
    host.resume();
    host.processSilence (48000);

    std::vector<float> left (4096, 0.0f), right (4096, 0.0f);
    left[0] = right[0] = 1.0f;
    host.processInPlace (left, right);
    EXPECT_TRUE (std::all_of (left.begin(), left.end(), [] (float s) { return std::isfinite (s); }));
    EXPECT_GT (std::abs (left[loudestSample (left, 1)]), 0.01f);
}

//==============================================================================
TEST_F (LoadedPlugin, ResumingPreparesAndAsksForEventsAndSuspendingReleases)
{
    SubstituteHost host (*library);
    host.clearCalls();
    host.resume();

    const auto wantEvents = host.callsWithOpcode (6);
    ASSERT_EQ (wantEvents.size(), 1u);
    EXPECT_EQ (wantEvents[0].value, 1);
    EXPECT_EQ (host.callsWithOpcode (23).size(), 1u);

    std::vector<float> left (512, 0.1f), right (512, 0.1f);
    host.processInPlace (left, right);
    host.suspend();
    host.resume();
    host.processInPlace (left, right);
    host.suspend();
    EXPECT_EQ (host.close(), 1);
}

TEST_F (LoadedPlugin, ARateSetWhileProcessingTakesEffectAtOnce)
{
    // Audacity's order: its default rate, on, the preset, then the track's rate while still on.
    SubstituteHost saving (*library);
    saving.setParameter (delayTimeIndex, 4.0f / 9.0f); // Normal at 0.5 s
    const auto normalHalfSecond = saving.saveChunk();

    const struct { float rate; std::vector<char> chunk; size_t echo; } cases[] {
        { 48000.0f, {}, 4800 }, { 96000.0f, {}, 9600 }, { 48000.0f, normalHalfSecond, 24000 } };

    for (const auto& c : cases)
    {
        SubstituteHost host (*library, 44100.0f, 8192);
        host.resume();

        if (! c.chunk.empty())
            host.loadChunk (c.chunk);

        host.dispatch (10, 0, 0, nullptr, c.rate);
        host.dispatch (11, 0, 8192);

        std::vector<float> left (30000, 0.0f), right (30000, 0.0f);
        left[0] = right[0] = 1.0f;
        host.processInPlace (left, right);
        EXPECT_EQ (loudestSample (left, 100), c.echo) << c.rate << " Hz, " << c.chunk.size() << "-byte chunk";
    }
}

TEST_F (LoadedPlugin, EachResumeStartsCleanAndTheSameRateAgainKeepsTheEchoes)
{
    // Feedback and both filters moving, so that rings, filters and glides all hold something.
    const auto configure = [] (SubstituteHost& host)
    {
        host.setParameter (delayTimeIndex, 0.2f);
        host.setParameter (feedbackIndex, 0.7f);
        host.setParameter (highCutIndex, 0.3f);
        host.setParameter (lowCutIndex, 0.4f);
        host.resume();
    };
    const auto input = clicksAndSine (40000);
    const auto render = [&] (SubstituteHost& host)
    {
        auto left = input, right = input;
        host.processInPlace (left, right);
        return std::pair { left, right };
    };

    SubstituteHost fresh (*library), reused (*library);
    configure (fresh);
    configure (reused);
    render (reused);
    reused.setParameter (delayTimeIndex, 0.9f);
    reused.processSilence (1024);
    reused.setParameter (delayTimeIndex, 0.2f);

    const auto afterSilence = [&]
    {
        std::vector<float> left (4096, 0.0f), right (4096, 0.0f);
        reused.processInPlace (left, right);
        return std::pair { left, right };
    };

    // The same rate and block size again while on restart nothing: the echoes ring on.
    reused.dispatch (10, 0, 0, nullptr, 48000.0f);
    reused.dispatch (11, 0, reused.blockSize());
    const auto ringing = afterSilence().first;
    EXPECT_GT (std::abs (ringing[loudestSample (ringing, 0)]), 0.01f);

    reused.suspend();
    reused.resume();
    const std::vector<float> silence (4096, 0.0f);
    EXPECT_EQ (afterSilence(), std::pair (silence, silence));

    reused.suspend();
    reused.resume();
    EXPECT_EQ (render (reused), render (fresh));
}

TEST_F (LoadedPlugin, SeparateAndInPlaceBuffersGiveTheSameOutput)
{
    SubstituteHost separate (*library), inPlace (*library);

    for (auto* host : { &separate, &inPlace })
    {
        host->setParameter (delayTimeIndex, 0.0f);
        host->setParameter (feedbackIndex, 0.6f);
        host->resume();
    }

    constexpr int frames = 256, blocks = 200;
    std::vector<float> input (frames * blocks);

    for (size_t i = 0; i < input.size(); ++i)
        input[i] = (i % 5000 == 0) ? 0.8f : 0.05f * std::sin (0.01f * (float) i);

    std::vector<float> outL (input.size()), outR (input.size());
    auto inL = input, inR = input;
    std::vector<float> ipL = input, ipR = input;

    for (int b = 0; b < blocks; ++b)
    {
        const auto offset = (size_t) (b * frames);
        float* ins[] { inL.data() + offset, inR.data() + offset };
        float* outs[] { outL.data() + offset, outR.data() + offset };
        separate.record().processReplacing (&separate.record(), ins, outs, frames);

        float* both[] { ipL.data() + offset, ipR.data() + offset };
        inPlace.record().processReplacing (&inPlace.record(), both, both, frames);
    }

    EXPECT_EQ (inL, input);
    EXPECT_EQ (outL, ipL);
    EXPECT_EQ (outR, ipR);
    EXPECT_NE (outL, input);
}

TEST_F (LoadedPlugin, BlocksLongerThanTheProcessorTakesSoundAsTheSameAudioInShortBlocks)
{
    // Offline rendering sends blocks of any length; the processor takes 16384 samples at a time.
    SubstituteHost longBlocks (*library, 48000.0f, 40000), shortBlocks (*library, 48000.0f, 1000);

    for (auto* host : { &longBlocks, &shortBlocks })
    {
        host->setParameter (delayTimeIndex, 0.0f);
        host->setParameter (feedbackIndex, 0.6f);
        host->resume();
    }

    const auto input = clicksAndSine (80000);
    auto longL = input, longR = input, shortL = input, shortR = input;
    longBlocks.processInPlace (longL, longR);
    shortBlocks.processInPlace (shortL, shortR);

    EXPECT_EQ (longL, shortL);
    EXPECT_EQ (longR, shortR);
    EXPECT_TRUE (std::all_of (longL.begin(), longL.end(), [] (float s) { return std::abs (s) <= 1.0f; }));
}

TEST_F (LoadedPlugin, EventsInALongBlockActFromTheSliceTheirOffsetFallsIn)
{
    SubstituteHost longBlock (*library, 48000.0f, 40000), slices (*library, 48000.0f, 16384);

    for (auto* host : { &longBlock, &slices })
    {
        host->loadChunk (withBinding (host->saveChunk(), "midiMapDryWet", 7));
        host->setParameter (feedbackIndex, 0.6f);
        host->resume();
    }

    longBlock.clearCalls();

    // The second slice's event, and one the host placed past the block's end, which counts on
    // the last sample and so in the last slice.
    longBlock.sendMidi ({ { 0xB0, 7, 0 } }, 20000);
    longBlock.sendMidi ({ { 0xB0, 7, 127 } }, 45000);

    const auto input = clicksAndSine (40000);
    auto longL = input, longR = input, slicedL = input, slicedR = input;
    longBlock.processInPlace (longL, longR);

    processStretch (slices, slicedL, slicedR, 0, 16384);
    slices.sendMidi ({ { 0xB0, 7, 0 } }, 20000 - 16384);
    processStretch (slices, slicedL, slicedR, 16384, 32768);
    slices.sendMidi ({ { 0xB0, 7, 127 } }, 40000 - 1 - 32768);
    processStretch (slices, slicedL, slicedR, 32768, 40000);

    EXPECT_EQ (longL, slicedL);
    EXPECT_EQ (longR, slicedR);
    EXPECT_EQ (longBlock.callsWithOpcode (0).size(), 2u);
    EXPECT_EQ (longBlock.getParameter (dryWetIndex), 1.0f);
}

TEST_F (LoadedPlugin, ABoundControllerReachesTheHostAsAnAutomatedParameter)
{
    SubstituteHost host (*library);
    host.loadChunk (withBinding (host.saveChunk(), "midiMapDryWet", 7));
    host.resume();
    host.clearCalls();

    host.sendMidi ({ { 0xB0, 7, 127 }, { 0x90, 60, 100 } });
    host.processSilence (host.blockSize());

    const auto automated = host.callsWithOpcode (0);
    ASSERT_EQ (automated.size(), 1u);
    EXPECT_EQ (automated[0].index, dryWetIndex);
    EXPECT_EQ (automated[0].opt, 1.0f);
    EXPECT_EQ (host.getParameter (dryWetIndex), 1.0f);

    // Messages are used once: the next block has none.
    host.clearCalls();
    host.processSilence (host.blockSize());
    EXPECT_TRUE (host.callsWithOpcode (0).empty());
}

TEST_F (LoadedPlugin, AModeChangeResendsTheDelayTimeToTheHostFromInsideTheCall)
{
    SubstituteHost host (*library);
    host.setParameter (delayTimeIndex, 0.4f);
    host.clearCalls();

    host.setParameter (modeIndex, 1.0f);

    const auto automated = host.callsWithOpcode (0);
    ASSERT_EQ (automated.size(), 1u);
    EXPECT_EQ (automated[0].index, delayTimeIndex);
    EXPECT_EQ (automated[0].opt, 0.4f);
    EXPECT_EQ (host.getParameter (modeIndex), 1.0f);
}

TEST_F (LoadedPlugin, SyncFollowsTheHostsTempo)
{
    // "1/4" at 120 bpm in 4/4 and 48 kHz: half a second, 24000 samples.
    const auto echoAfterImpulse = [&] (std::optional<VstTimeInfoRecord> time)
    {
        SubstituteHost host (*library, 48000.0f, 256);
        host.timeInfo = time;
        host.setParameter (modeIndex, 1.0f);
        host.setParameter (delayTimeIndex, 15.0f / 24.0f);
        host.setParameter (feedbackIndex, 0.5f);
        host.resume();

        // The delay time glides slowly from where it starts; let it arrive.
        host.processSilence (48000 * 20);

        std::vector<float> left (30000, 0.0f), right (30000, 0.0f);
        left[0] = right[0] = 1.0f;
        host.processInPlace (left, right);

        EXPECT_FALSE (host.callsWithOpcode (7).empty());
        EXPECT_EQ (host.callsWithOpcode (7).front().value, 0xfe00);
        return loudestSample (left, 100);
    };

    constexpr int32_t tempoAndMetre = VstTimeInfoRecord::tempoValid | VstTimeInfoRecord::timeSignatureValid;

    EXPECT_NEAR ((double) echoAfterImpulse (transportAt (120.0, tempoAndMetre)), 24000.0, 1.0);
    EXPECT_NEAR ((double) echoAfterImpulse (transportAt (160.0, tempoAndMetre)), 18000.0, 1.0);

    // A tempo the host does not mark valid is not taken.
    EXPECT_NEAR ((double) echoAfterImpulse (transportAt (160.0, VstTimeInfoRecord::timeSignatureValid)), 24000.0, 1.0);
    EXPECT_NEAR ((double) echoAfterImpulse (std::nullopt), 24000.0, 1.0);
}

TEST_F (LoadedPlugin, QuietMaterialEchoesAsLoudMaterialDoesAndATailEndsInExactZeros)
{
    constexpr size_t burst = 24000, echoWindow = 4800; // half a second of tone, then the 100 ms default delay

    // The echo after a burst of whole cycles, relative to the burst's amplitude, in dB.
    const auto echoRelativeDb = [&] (double hz, float amplitude, float filters)
    {
        SubstituteHost host (*library);
        host.setParameter (highCutIndex, filters);
        host.setParameter (lowCutIndex, filters);
        host.resume();

        std::vector<float> left (burst + echoWindow, 0.0f);
        for (size_t i = 0; i < burst; ++i)
            left[i] = amplitude * (float) std::sin (2.0 * M_PI * hz * (double) i / 48000.0);

        auto right = left;
        host.processInPlace (left, right);
        const auto energy = std::inner_product (left.begin() + burst, left.end(), left.begin() + burst, 1.0e-30);
        return 10.0 * std::log10 (energy / echoWindow) - 20.0 * std::log10 (amplitude);
    };

    for (const float filters : { 0.0f, 1.0f })
        for (const double hz : { 30.0, 100.0, 1000.0 })
            EXPECT_NEAR (echoRelativeDb (hz, 3.1622776e-5f, filters), echoRelativeDb (hz, 0.1f, filters), 1.0)
                << hz << " Hz at -90 dBFS, filters at " << filters;

    // Feedback at 88 %: one impulse's echoes fade out and stop within 30 s.
    SubstituteHost host (*library, 48000.0f, 4800);
    host.setParameter (feedbackIndex, 0.8f);
    host.resume();

    std::vector<float> left (48000 * 31, 0.0f), right (left.size(), 0.0f);
    left[0] = right[0] = 1.0f;
    host.processInPlace (left, right);

    const auto endsAt = left.rend() - std::find_if (left.rbegin(), left.rend(), [] (float s) { return s != 0.0f; });
    RecordProperty ("tailEndsAtSample", std::to_string (endsAt));
    EXPECT_GT (endsAt, 48000) << "the echoes ring on";
    EXPECT_LT (endsAt, 48000 * 30);
}

//==============================================================================
TEST_F (LoadedPlugin, AChunkFromOneInstanceRestoresAnother)
{
    std::vector<char> saved;
    std::vector<float> values;

    {
        SubstituteHost first (*library);
        const float settings[numParameters] { 0.25f, 0.7f, 0.0f, 0.4f, 1.0f, 0.6f, 0.3f, 0.8f, 0.75f };

        for (int32_t i = 0; i < numParameters; ++i)
            first.setParameter (i, settings[i]);

        first.loadChunk (withBinding (first.saveChunk(), "midiMapGain", 11));
        saved = first.saveChunk();

        for (int32_t i = 0; i < numParameters; ++i)
            values.push_back (first.getParameter (i));
    }

    SubstituteHost second (*library);
    second.loadChunk (saved);

    for (int32_t i = 0; i < numParameters; ++i)
        EXPECT_EQ (second.getParameter (i), values[(size_t) i]) << "parameter " << i;

    EXPECT_EQ (second.saveChunk(), saved);

    // The binding came along: controller 11 drives the gain.
    second.resume();
    second.clearCalls();
    second.sendMidi ({ { 0xB0, 11, 127 } });
    second.processSilence (second.blockSize());
    const auto automated = second.callsWithOpcode (0);
    ASSERT_EQ (automated.size(), 1u);
    EXPECT_EQ (automated[0].index, 8);
}

TEST_F (LoadedPlugin, ARestoredStateSoundsAtOnceAsItDoesOnceSettled)
{
    // Normal at 0.5 s, and Sync at "1/4"; both with feedback, both filters, full ping-pong and
    // balance and gain away from their defaults.
    const std::vector<float> states[] { { 4.0f / 9.0f, 0.5f, 1.0f / 3.0f, 0.3f, 1.0f, 0.3f, 0.2f, 0.6f, 0.8f },
                                        { 15.0f / 24.0f, 0.5f, 1.0f, 0.3f, 1.0f, 0.3f, 0.2f, 0.6f, 0.8f } };

    for (const auto& settings : states)
    {
        SubstituteHost saving (*library);
        for (int32_t i = 0; i < numParameters; ++i)
            saving.setParameter (i, settings[(size_t) i]);
        const auto saved = saving.saveChunk();

        const auto impulseAfter = [&] (int64_t silence)
        {
            SubstituteHost host (*library, 48000.0f, 256);
            host.timeInfo = transportAt (120.0, VstTimeInfoRecord::tempoValid | VstTimeInfoRecord::timeSignatureValid);
            host.loadChunk (saved);
            host.resume();
            host.processSilence (silence);

            std::vector<float> left (60000, 0.0f), right (60000, 0.0f);
            left[0] = 1.0f;
            right[0] = 0.5f;
            host.processInPlace (left, right);
            return std::pair { left, right };
        };

        const auto atOnce = impulseAfter (0);
        const auto settled = impulseAfter (48000 * 20);
        EXPECT_EQ (atOnce.first, settled.first) << "mode " << settings[2];
        EXPECT_EQ (atOnce.second, settled.second) << "mode " << settings[2];
        EXPECT_NEAR ((double) loudestSample (atOnce.second, 100), 24000.0, 1.0) << "mode " << settings[2];
    }
}

TEST_F (LoadedPlugin, ChunkRequestsAsBankOrProgramGiveTheSameBlock)
{
    SubstituteHost host (*library);
    void* bank = nullptr;
    void* program = nullptr;
    const auto bankSize = host.dispatch (23, 0, 0, &bank);
    const std::string bankBytes (static_cast<const char*> (bank), (size_t) bankSize);
    const auto programSize = host.dispatch (23, 1, 0, &program);

    EXPECT_GT (bankSize, 8);
    EXPECT_EQ (std::string (static_cast<const char*> (program), (size_t) programSize), bankBytes);

    // Empty, short or garbage blocks are refused without harm.
    char garbage[64];
    std::memset (garbage, 0x7F, sizeof (garbage));
    host.dispatch (24, 0, sizeof (garbage), garbage);
    host.dispatch (24, 0, -5, garbage);
    host.dispatch (24, 0, 3, garbage);
    EXPECT_EQ (host.saveChunk(), std::vector<char> (bankBytes.begin(), bankBytes.end()));
}

TEST_F (LoadedPlugin, ManyInstancesOpenAndCloseCleanly)
{
    for (int round = 0; round < 3; ++round)
    {
        SubstituteHost a (*library), b (*library);
        a.resume();
        b.resume();
        a.processSilence (1024);
        b.processSilence (1024);
        EXPECT_EQ (a.close(), 1);
        EXPECT_EQ (b.close(), 1);
    }
}

TEST (Installation, PutsOnlyThePluginInTheVstFolderHostsScanAndItLoadsFromThere)
{
    namespace fs = std::filesystem;
    const auto prefix = fs::temp_directory_path() / ("lumarro-install-" + std::to_string (::getpid()));
    fs::remove_all (prefix);

    const auto command = std::string (LUMARRO_CMAKE_COMMAND) + " --install " + LUMARRO_BINARY_DIR
                         + " --prefix " + prefix.string() + " > /dev/null";
    ASSERT_EQ (std::system (command.c_str()), 0);

    std::vector<fs::path> installed;
    for (const auto& entry : fs::recursive_directory_iterator (prefix))
        if (entry.is_regular_file())
            installed.push_back (fs::relative (entry.path(), prefix));

    EXPECT_EQ (installed, std::vector<fs::path> { "lib/vst/Lumarro.so" });

    {
        VstPluginLibrary library ((prefix / "lib/vst/Lumarro.so").string());
        SubstituteHost host (library);
        EXPECT_EQ (textOf (host, 48), "QY - Lumarro");
    }

    fs::remove_all (prefix);
}
