#include "EffectSpy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
    enum class Dispatcher { base, extended };

    intptr_t dispatch (EffectSpy& effect, Dispatcher which, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                       void* ptr = nullptr, float opt = 0.0f)
    {
        return which == Dispatcher::base ? effect.AudioEffect::dispatchHostOpcode (opcode, index, value, ptr, opt)
                                         : effect.dispatchHostOpcode (opcode, index, value, ptr, opt);
    }

    using Log = std::vector<std::string>;

    /** The opcodes 0 to 24 behave alike whichever dispatcher receives them. */
    class BothDispatchers : public ::testing::TestWithParam<Dispatcher>
    {
    protected:
        RecordingHost host;
        EffectSpy effect;
        char text[64] {};
    };

    /** An effect with nothing but the base's defaults. */
    class PlainEffect : public AudioEffectX
    {
    public:
        PlainEffect() : AudioEffectX (RecordingHost::callback, 1, 1) {}
        void processFloatBlock (float**, float**, int32_t) override {}
    };

    /** Logs the pointer operations the extended dispatcher reaches, and which pointers were null. */
    class PointerSpy : public PlainEffect
    {
    public:
        int32_t handleEvents (VstEventListRecord* events) override                       { note ("events", events); return 7; }
        int32_t writeCurrentMidiProgram (int32_t, VstMidiProgramRecord* program) override { note ("midiProgram", program); return 3; }

        bool acceptSpeakerLayout (SpeakerLayoutRecord* input, SpeakerLayoutRecord* output) override
        {
            log.push_back (std::string ("accept ") + (input != nullptr ? "input" : "null") + (output != nullptr ? " output" : " null"));
            return true;
        }

        Log log;

    private:
        void note (const char* name, const void* pointer) { log.push_back (std::string (name) + (pointer != nullptr ? "" : " null")); }
    };

    struct OpcodeCase
    {
        int32_t opcode;
        int32_t index;
        intptr_t value;
        bool withBuffer;
        float opt;
        intptr_t result;
        Log log;
    };
}

TEST_P (BothDispatchers, EachOpcodeCallsItsOperationAndAnswers)
{
    const OpcodeCase cases[] {
        { 0, 0, 0, false, 0.0f, 0, { "open" } },
        { 1, 0, 0, false, 0.0f, 0, { "close" } },
        { 2, 0, 2, false, 0.0f, 0, { "select 2" } },
        { 4, 0, 0, true, 0.0f, 0, { "rename " } },
        { 5, 0, 0, true, 0.0f, 0, { "programName" } },
        { 6, 3, 0, true, 0.0f, 0, { "label 3" } },
        { 7, 3, 0, true, 0.0f, 0, { "text 3" } },
        { 8, 3, 0, true, 0.0f, 0, { "name 3" } },
        { 10, 0, 0, false, 48000.0f, 0, { "rate 48000" } },
        { 11, 0, 512, false, 0.0f, 0, { "block 512" } },
        { 12, 0, 1, false, 0.0f, 0, { "resume" } },
        { 12, 0, 0, false, 0.0f, 0, { "suspend" } },
        { 22, 7, 99, true, 3.0f, 0x4E764566, {} },
        { 23, 0, 0, true, 0.0f, -2, { "save bank" } },
        { 23, 1, 0, true, 0.0f, -2, { "save preset" } },
        { 24, 0, 10, true, 0.0f, -3, { "load 10 bank" } },
        { 24, 1, 10, true, 0.0f, -3, { "load 10 preset" } },
        { 13, 0, 0, true, 0.0f, 0, {} },
        { 14, 0, 0, true, 0.0f, 0, {} },
        { 15, 0, 0, false, 0.0f, 0, {} },
        { 19, 0, 0, false, 0.0f, 0, {} },
        { 9, 0, 0, true, 0.0f, 0, {} },
        { 16, 0, 0, true, 0.0f, 0, {} },
        { 17, 0, 0, true, 0.0f, 0, {} },
        { 18, 0, 0, true, 0.0f, 0, {} },
        { 20, 0, 0, true, 0.0f, 0, {} },
        { 21, 0, 0, true, 0.0f, 0, {} },
    };

    for (const auto& c : cases)
    {
        effect.log.clear();
        std::memset (text, 0, sizeof (text));
        const auto result = dispatch (effect, GetParam(), c.opcode, c.index, c.value, c.withBuffer ? text : nullptr, c.opt);
        EXPECT_EQ (result, c.result) << "opcode " << c.opcode;
        EXPECT_EQ (effect.log, c.log) << "opcode " << c.opcode;
    }

    EXPECT_TRUE (host.calls.empty());
}

TEST_P (BothDispatchers, UnknownOpcodesAnswerZero)
{
    for (const int32_t opcode : { -1, -100, 1000, std::numeric_limits<int32_t>::min() })
        EXPECT_EQ (dispatch (effect, GetParam(), opcode, 1, 1, text, 1.0f), 0) << opcode;

    EXPECT_TRUE (effect.log.empty());
}

TEST_P (BothDispatchers, TheCurrentProgramFollowsSelectionWithinTheProgramCount)
{
    dispatch (effect, GetParam(), 2, 0, 1);
    EXPECT_EQ (dispatch (effect, GetParam(), 3), 1);

    // Equal to the count, or negative: ignored.
    for (const intptr_t program : { (intptr_t) 3, (intptr_t) -1, (intptr_t) -5, (intptr_t) INT64_MIN })
    {
        effect.log.clear();
        EXPECT_EQ (dispatch (effect, GetParam(), 2, 0, program), 0);
        EXPECT_TRUE (effect.log.empty()) << program;
    }

    EXPECT_EQ (dispatch (effect, GetParam(), 3), 1);
}

TEST_P (BothDispatchers, UnusableRatesAndBlockSizesKeepThePreviousValues)
{
    dispatch (effect, GetParam(), 10, 0, 0, nullptr, 96000.0f);
    dispatch (effect, GetParam(), 11, 0, 256);
    effect.log.clear();

    for (const float rate : { 0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
        dispatch (effect, GetParam(), 10, 0, 0, nullptr, rate);

    for (const intptr_t size : { (intptr_t) 0, (intptr_t) -64, (intptr_t) 0x100000000 })
        dispatch (effect, GetParam(), 11, 0, size);

    EXPECT_TRUE (effect.log.empty());
    EXPECT_EQ (effect.effectSampleRate(), 96000.0f);
    EXPECT_EQ (effect.effectBlockSize(), 256);
}

TEST_P (BothDispatchers, TextAndChunkOpcodesWithANullPointerStillReachTheirOperations)
{
    const std::pair<int32_t, intptr_t> answers[] { { 4, 0 }, { 5, 0 }, { 6, 0 }, { 7, 0 }, { 8, 0 }, { 23, -2 }, { 24, -3 } };

    for (const auto& [opcode, answer] : answers)
        EXPECT_EQ (dispatch (effect, GetParam(), opcode, 1, 10), answer) << opcode;

    EXPECT_EQ (effect.log, (Log { "rename (null)", "programName", "label 1", "text 1", "name 1", "save preset", "load 10 preset" }));
}

TEST_P (BothDispatchers, EditorOpcodesReachAnAttachedEditor)
{
    Log editorLog;
    effect.attachEditor (std::make_unique<EditorSpy> (editorLog));

    void* bounds = nullptr;
    EXPECT_EQ (dispatch (effect, GetParam(), 13, 0, 0, &bounds), 1);
    EXPECT_EQ (dispatch (effect, GetParam(), 14, 0, 0, text), 1);
    EXPECT_EQ (dispatch (effect, GetParam(), 19), 0);
    EXPECT_EQ (dispatch (effect, GetParam(), 15), 0);
    EXPECT_EQ (editorLog, (Log { "bounds", "openView", "idleView", "closeView" }));
}

INSTANTIATE_TEST_SUITE_P (EffectBase, BothDispatchers, ::testing::Values (Dispatcher::base, Dispatcher::extended),
                          [] (const auto& info) { return info.param == Dispatcher::base ? "Base" : "Extended"; });

//==============================================================================
TEST (ExtendedDispatcher, DefaultsAnswerAsAPlugInWithoutExtrasShould)
{
    RecordingHost host;
    EffectSpy effect;
    char text[64] {};

    EXPECT_EQ (effect.dispatchHostOpcode (58, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ (effect.dispatchHostOpcode (26, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ (effect.dispatchHostOpcode (63, 0, 0, text, 0.0f), -1);
    EXPECT_EQ (effect.dispatchHostOpcode (52, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ (effect.dispatchHostOpcode (45, 0, 0, text, 0.0f), 0);
    EXPECT_EQ (effect.dispatchHostOpcode (28, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ (effect.dispatchHostOpcode (22, 0, 0, nullptr, 0.0f), 0x4E764566);

    // The low 32 bits of the value, sign-extended.
    EXPECT_EQ (effect.dispatchHostOpcode (73, 0, (intptr_t) 0x1FFFFFFFFLL, nullptr, 0.0f), -1);
    EXPECT_EQ (effect.dispatchHostOpcode (73, 0, 4096, nullptr, 0.0f), 4096);

    EXPECT_EQ (effect.dispatchHostOpcode (35, 0, 0, nullptr, 0.0f), 0);
    effect.setFlagBit8 (true);
    EXPECT_EQ (effect.dispatchHostOpcode (35, 0, 0, nullptr, 0.0f), 2);
    effect.setFlagBit8 (false);
    EXPECT_EQ (effect.dispatchHostOpcode (35, 0, 0, nullptr, 0.0f), 0);

    EXPECT_TRUE (host.calls.empty());
}

TEST (ExtendedDispatcher, SpeakerLayoutRequestStoresNullsOrTouchesNothingWithoutAddresses)
{
    RecordingHost host;
    EffectSpy effect;
    int canary = 0;
    auto* input = reinterpret_cast<SpeakerLayoutRecord*> (&canary);
    auto* output = input;

    EXPECT_EQ (effect.dispatchHostOpcode (69, 0, (intptr_t) &input, &output, 0.0f), 0);
    EXPECT_EQ (input, nullptr);
    EXPECT_EQ (output, nullptr);

    // Either address missing: nothing is written through the other.
    input = output = reinterpret_cast<SpeakerLayoutRecord*> (&canary);
    EXPECT_EQ (effect.dispatchHostOpcode (69, 0, 0, &output, 0.0f), 0);
    EXPECT_EQ (effect.dispatchHostOpcode (69, 0, (intptr_t) &input, nullptr, 0.0f), 0);
    EXPECT_EQ (input, reinterpret_cast<SpeakerLayoutRecord*> (&canary));
    EXPECT_EQ (output, reinterpret_cast<SpeakerLayoutRecord*> (&canary));
}

TEST (ExtendedDispatcher, KeyOpcodesBuildTheKeyRecordForAnAttachedEditorOnly)
{
    RecordingHost host;
    EffectSpy effect;

    EXPECT_EQ (effect.dispatchHostOpcode (59, 65, 13, nullptr, 2.0f), 0);
    EXPECT_EQ (effect.dispatchHostOpcode (61, 0, 1, nullptr, 0.0f), 0);

    Log editorLog;
    auto editor = std::make_unique<EditorSpy> (editorLog);
    auto* spy = editor.get();
    effect.attachEditor (std::move (editor));

    EXPECT_EQ (effect.dispatchHostOpcode (59, 65, 13, nullptr, 2.0f), 1);
    EXPECT_EQ (spy->lastKey.character, 65);
    EXPECT_EQ (spy->lastKey.virtualKey, 13);
    EXPECT_EQ (spy->lastKey.modifiers, 2);

    EXPECT_EQ (effect.dispatchHostOpcode (60, 66, 0x10A, nullptr, 1.9f), 1);
    EXPECT_EQ (spy->lastKey.character, 66);
    EXPECT_EQ (spy->lastKey.virtualKey, 0x0A);
    EXPECT_EQ (spy->lastKey.modifiers, 1);

    // Modifiers that no int32 can hold arrive as none.
    for (const float opt : { 1.0e10f, -1.0e10f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
    {
        EXPECT_EQ (effect.dispatchHostOpcode (59, 67, 1, nullptr, opt), 1);
        EXPECT_EQ (spy->lastKey.modifiers, 0) << opt;
    }

    EXPECT_EQ (effect.dispatchHostOpcode (61, 0, 2, nullptr, 0.0f), 1);
    EXPECT_EQ (editorLog, (Log { "keyDown", "keyUp", "keyDown", "keyDown", "keyDown", "keyDown", "knobMode 2" }));
}

TEST (ExtendedDispatcher, OverridesSeeTheirCallsEvenWithNullPointers)
{
    RecordingHost host;
    PointerSpy effect;
    int canary = 0;
    auto* layout = reinterpret_cast<SpeakerLayoutRecord*> (&canary);

    EXPECT_EQ (effect.dispatchHostOpcode (25, 0, 0, nullptr, 0.0f), 7);
    EXPECT_EQ (effect.dispatchHostOpcode (42, 0, 0, layout, 0.0f), 1);
    EXPECT_EQ (effect.dispatchHostOpcode (42, 0, (intptr_t) layout, nullptr, 0.0f), 1);
    EXPECT_EQ (effect.dispatchHostOpcode (63, 0, 0, nullptr, 0.0f), 3);
    EXPECT_EQ (effect.log, (Log { "events null", "accept null output", "accept input null", "midiProgram null" }));
}

TEST (EffectDefaults, PointerOperationsAnswerAsWithoutExtrasWhenThePointerIsNull)
{
    RecordingHost host;
    PlainEffect effect;

    // No current MIDI program is -1, with or without a record to fill; everything else declines.
    for (const int32_t opcode : { 4, 5, 6, 7, 8, 23, 24, 25, 27, 29, 33, 34, 42, 45, 47, 48, 51, 56, 62, 63, 64, 66, 69, 70 })
        EXPECT_EQ (effect.dispatchHostOpcode (opcode, 0, 0, nullptr, 0.0f), opcode == 63 ? -1 : 0) << opcode;

    // With a buffer, the texts come back empty.
    for (const int32_t opcode : { 5, 6, 7, 8 })
    {
        char text[8] = "old";
        effect.dispatchHostOpcode (opcode, 0, 0, text, 0.0f);
        EXPECT_STREQ (text, "") << opcode;
    }

    EXPECT_TRUE (host.calls.empty());
}
