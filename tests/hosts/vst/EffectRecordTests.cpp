#include "EffectSpy.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace
{
    const unsigned char* bytesOf (const VstEffectRecord* record)
    {
        return reinterpret_cast<const unsigned char*> (record);
    }

    template <typename T>
    T readAt (const VstEffectRecord* record, size_t offset)
    {
        T value;
        std::memcpy (&value, bytesOf (record) + offset, sizeof (T));
        return value;
    }

    /** Something else first in the base list, so the effect does not start the object. */
    struct OtherBase
    {
        virtual ~OtherBase() = default;
        int64_t unrelated[3] { 7, 8, 9 };
    };

    class SecondBaseEffect : public OtherBase, public EffectSpy
    {
    public:
        using EffectSpy::EffectSpy;
        float readParameter (int32_t index) override { return (float) index * 0.25f; }
    };

    class ThrowingEffect : public EffectSpy
    {
    public:
        using EffectSpy::EffectSpy;
        intptr_t dispatchHostOpcode (int32_t, int32_t, intptr_t, void*, float) override { throw std::runtime_error ("dispatch"); }
        void processFloatBlock (float**, float**, int32_t) override   { throw std::bad_alloc(); }
        void applyParameter (int32_t, float) override                 { throw 42; }
        float readParameter (int32_t) override                        { throw std::logic_error ("read"); }
    };
}

TEST (EffectRecord, AFreshEffectHandsTheHostItsDefaults)
{
    RecordingHost host;
    EffectSpy effect (RecordingHost::callback, 3, 5);
    const auto* record = effect.effectRecord();

    EXPECT_EQ (readAt<int32_t> (record, 0), 0x56737450);
    EXPECT_EQ (readAt<int32_t> (record, 40), 3);
    EXPECT_EQ (readAt<int32_t> (record, 44), 5);
    EXPECT_EQ (readAt<int32_t> (record, 48), 1);
    EXPECT_EQ (readAt<int32_t> (record, 52), 2);
    EXPECT_EQ (readAt<int32_t> (record, 56), 0x10);
    EXPECT_EQ (readAt<int32_t> (record, 80), 0);
    EXPECT_EQ (readAt<uint32_t> (record, 92), 0x3F800000u);
    EXPECT_EQ (readAt<void*> (record, 96), static_cast<AudioEffect*> (&effect));
    EXPECT_EQ (readAt<int32_t> (record, 112), 0x4E6F4566);
    EXPECT_EQ (readAt<int32_t> (record, 116), 1);
    EXPECT_EQ (readAt<void*> (record, 8), (void*) &effectDispatchEntry);
    EXPECT_EQ (readAt<void*> (record, 16), (void*) &effectProcessEntry);
    EXPECT_EQ (readAt<void*> (record, 24), (void*) &effectSetParameterEntry);
    EXPECT_EQ (readAt<void*> (record, 32), (void*) &effectGetParameterEntry);
    EXPECT_EQ (readAt<void*> (record, 120), (void*) &effectProcessReplacingEntry);
    EXPECT_EQ (readAt<void*> (record, 128), (void*) &effectProcessDoubleReplacingEntry);

    const std::pair<size_t, size_t> zeroRanges[] { { 4, 8 }, { 60, 80 }, { 84, 92 }, { 104, 112 }, { 136, 192 } };

    for (const auto& [from, to] : zeroRanges)
        for (auto offset = from; offset < to; ++offset)
            EXPECT_EQ (bytesOf (record)[offset], 0) << "offset " << offset;

    EXPECT_EQ (effect.effectSampleRate(), 44100.0f);
    EXPECT_EQ (effect.effectBlockSize(), 1024);
    EXPECT_EQ (effect.attachedEditor(), nullptr);
}

TEST (EffectRecord, StoreOperationsWriteTheirFieldsOnly)
{
    RecordingHost host;
    EffectSpy effect;
    effect.storeUniqueId (0x51794C75);
    effect.storeInputCount (2);
    effect.storeOutputCount (6);
    effect.storeInitialDelay (480);
    effect.storeRealtimeQualities (11);
    effect.storeOfflineQualities (12);

    const auto* record = effect.effectRecord();
    EXPECT_EQ (readAt<int32_t> (record, 112), 0x51794C75);
    EXPECT_EQ (readAt<int32_t> (record, 48), 2);
    EXPECT_EQ (readAt<int32_t> (record, 52), 6);
    EXPECT_EQ (readAt<int32_t> (record, 80), 480);
    EXPECT_EQ (readAt<int32_t> (record, 84), 11);
    EXPECT_EQ (readAt<int32_t> (record, 88), 12);
    EXPECT_EQ (readAt<int32_t> (record, 56), 0x10);
}

TEST (EffectRecord, EachFlagSetterChangesItsOwnBitOnly)
{
    using Setter = void (*) (EffectSpy&, bool);
    const std::pair<Setter, int32_t> setters[] {
        { [] (EffectSpy& e, bool on) { e.setFlagBit1 (on); }, 0x2 },
        { [] (EffectSpy& e, bool on) { e.setFlagBit2 (on); }, 0x4 },
        { [] (EffectSpy& e, bool on) { e.setFlagBit3 (on); }, 0x8 },
        { [] (EffectSpy& e, bool on) { e.setFlagBit4 (on); }, 0x10 },
        { [] (EffectSpy& e, bool on) { e.setFlagBit5 (on); }, 0x20 },
        { [] (EffectSpy& e, bool on) { e.setFlagBit8 (on); }, 0x100 },
        { [] (EffectSpy& e, bool on) { e.setFlagBit9 (on); }, 0x200 },
        { [] (EffectSpy& e, bool on) { e.setFlagBit10 (on); }, 0x400 },
        { [] (EffectSpy& e, bool on) { e.setFlagBit11 (on); }, 0x800 },
        { [] (EffectSpy& e, bool on) { e.setFlagBit12 (on); }, 0x1000 },
    };

    RecordingHost host;

    for (const auto& [set, bit] : setters)
    {
        EffectSpy effect;
        auto& flags = effect.effectRecord()->flags;

        flags = 0;
        set (effect, true);
        EXPECT_EQ (flags, bit);

        flags = -1;
        set (effect, false);
        EXPECT_EQ (flags, ~bit);
    }
}

//==============================================================================
TEST (EffectEntries, CloseAnswersOneAndDestroysTheEffectWithItsEditor)
{
    RecordingHost host;
    bool effectDestroyed = false, editorDestroyed = false;
    std::vector<std::string> editorLog;

    auto* effect = new EffectSpy (RecordingHost::callback, 1, 1, &effectDestroyed);
    effect->attachEditor (std::make_unique<EditorSpy> (editorLog, &editorDestroyed));
    auto* record = effect->effectRecord();

    EXPECT_EQ (record->dispatch (record, 1, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE (effectDestroyed);
    EXPECT_TRUE (editorDestroyed);
}

TEST (EffectEntries, ReachTheOverridesThroughTheEffectSubobject)
{
    RecordingHost host;
    SecondBaseEffect effect;
    auto* record = effect.effectRecord();
    ASSERT_NE (record->object, static_cast<void*> (&effect));

    EXPECT_EQ (record->getParameter (record, 2), 0.5f);
    EXPECT_EQ (record->dispatch (record, 22, 0, 0, nullptr, 0.0f), 0x4E764566);

    float left[4] {}, right[4] {};
    float* channels[] { left, right };
    record->processReplacing (record, channels, channels, 4);
    record->dispatch (record, 0, 0, 0, nullptr, 0.0f);
    EXPECT_EQ (effect.log, (std::vector<std::string> { "process 4", "open" }));

    // Accumulating and double processing default to doing nothing.
    double dl[4] {}, dr[4] {};
    double* doubles[] { dl, dr };
    record->processAccumulating (record, channels, channels, 4);
    record->processDoubleReplacing (record, doubles, doubles, 4);
    EXPECT_EQ (effect.log.size(), 2u);
}

TEST (EffectEntries, ReadingAParameterThatIsNotOverriddenGivesZero)
{
    RecordingHost host;
    EffectSpy effect;
    auto* record = effect.effectRecord();
    record->setParameter (record, 0, 0.7f);
    EXPECT_EQ (record->getParameter (record, 0), 0.0f);
}

TEST (EffectEntries, LetNoExceptionReachTheHost)
{
    RecordingHost host;
    bool destroyed = false;
    auto* effect = new ThrowingEffect (RecordingHost::callback, 1, 1, &destroyed);
    auto* record = effect->effectRecord();

    float samples[2] {};
    float* channels[] { samples, samples };
    EXPECT_EQ (record->dispatch (record, 22, 0, 0, nullptr, 0.0f), 0);
    EXPECT_NO_THROW (record->processReplacing (record, channels, channels, 2));
    EXPECT_NO_THROW (record->setParameter (record, 0, 1.0f));
    EXPECT_EQ (record->getParameter (record, 0), 0.0f);

    delete effect;
    EXPECT_TRUE (destroyed);
}

//==============================================================================
TEST (HostCallbacks, AutomationAppliesThenTellsTheHost)
{
    RecordingHost host;
    EffectSpy effect;
    effect.applyAndAutomateParameter (3, 0.25f);

    ASSERT_EQ (host.calls.size(), 1u);
    EXPECT_EQ (host.calls[0].effect, effect.effectRecord());
    EXPECT_EQ (host.calls[0].opcode, 0);
    EXPECT_EQ (host.calls[0].index, 3);
    EXPECT_EQ (host.calls[0].value, 0);
    EXPECT_EQ (host.calls[0].opt, 0.25f);
}

TEST (HostCallbacks, AnswersAreInterpretedAsHostsMeanThem)
{
    RecordingHost host;
    EffectSpy effect;

    EXPECT_EQ (effect.hostVersion(), 1);
    host.answers[1] = 2400;
    EXPECT_EQ (effect.hostVersion(), 2400);

    EXPECT_TRUE (effect.hostInputConnected (1));
    host.answers[4] = 1;
    EXPECT_FALSE (effect.hostInputConnected (1));
    EXPECT_FALSE (effect.hostOutputConnected (0));
    EXPECT_EQ (host.calls.back().value, 1);

    host.answers[37] = -1;
    char sizeWindow[] = "sizeWindow";
    EXPECT_EQ (effect.hostCanDo (sizeWindow), 1);
    host.answers[37] = 0;
    EXPECT_EQ (effect.hostCanDo (sizeWindow), 0);

    host.answers[16] = 48000;
    EXPECT_EQ (effect.refreshSampleRate(), 48000.0);
    host.answers[16] = 0;
    EXPECT_EQ (effect.refreshSampleRate(), 48000.0);
    EXPECT_EQ (effect.effectSampleRate(), 48000.0f);

    host.answers[17] = 0x100000200; // only the low 32 bits count
    EXPECT_EQ (effect.refreshBlockSize(), 512);
    host.answers[17] = -1;
    EXPECT_EQ (effect.refreshBlockSize(), 512);

    VstTimeInfoRecord* const noRecord = nullptr;
    EXPECT_EQ (effect.hostTimeInfo (0xfe00), noRecord);
    EXPECT_EQ (host.calls.back().opcode, 7);
    EXPECT_EQ (host.calls.back().value, 0xfe00);
}

TEST (HostCallbacks, EachRequestSendsItsOpcodeAndArguments)
{
    RecordingHost host;
    EffectSpy effect;
    char text[64] {};
    int dummy = 0;
    auto* task = reinterpret_cast<VstOfflineTaskRecord*> (&dummy);

    struct Expected { int32_t opcode; int32_t index; intptr_t value; void* ptr; float opt; };
    const std::pair<std::function<void()>, Expected> requests[] {
        { [&] { effect.hostBeginEdit (4); },              { 43, 4, 0, nullptr, 0.0f } },
        { [&] { effect.hostEndEdit (4); },                { 44, 4, 0, nullptr, 0.0f } },
        { [&] { effect.hostSizeWindow (620, 305); },      { 15, 620, 305, nullptr, 0.0f } },
        { [&] { effect.requestHostEvents (1); },          { 6, 0, 1, nullptr, 0.0f } },
        { [&] { effect.hostTempoAt (-3); },               { 10, 0, -3, nullptr, 0.0f } },
        { [&] { effect.hostIdle(); },                     { 3, 0, 0, nullptr, 0.0f } },
        { [&] { effect.hostUpdateDisplay(); },            { 42, 0, 0, nullptr, 0.0f } },
        { [&] { effect.hostIoChanged(); },                { 13, 0, 0, nullptr, 0.0f } },
        { [&] { effect.hostProcessLevel(); },             { 23, 0, 0, nullptr, 0.0f } },
        { [&] { effect.hostVendorString (text); },        { 32, 0, 0, text, 0.0f } },
        { [&] { effect.hostVendorCall (1, 2, text, 3.0f); }, { 35, 1, 2, text, 3.0f } },
        { [&] { effect.hostSetOutputRate (22050.0f); },   { 30, 0, 0, nullptr, 22050.0f } },
        { [&] { effect.hostPreviousPlug (5); },           { 20, 0, 0, nullptr, 0.0f } },
        { [&] { effect.hostOfflineStart (nullptr, 2, 3); }, { 25, 3, 2, nullptr, 0.0f } },
        { [&] { effect.hostOfflineRead (task, -1, true); }, { 26, 1, (intptr_t) 0xFFFFFFFFu, task, 0.0f } },
        { [&] { effect.hostOfflineWrite (task, -2); },    { 27, 0, (intptr_t) 0xFFFFFFFEu, task, 0.0f } },
    };

    for (const auto& [request, expected] : requests)
    {
        host.calls.clear();
        request();
        ASSERT_EQ (host.calls.size(), 1u) << "opcode " << expected.opcode;
        const auto& call = host.calls[0];
        EXPECT_EQ (call.effect, effect.effectRecord());
        EXPECT_EQ (call.opcode, expected.opcode);
        EXPECT_EQ (call.index, expected.index) << "opcode " << expected.opcode;
        EXPECT_EQ (call.value, expected.value) << "opcode " << expected.opcode;
        EXPECT_EQ (call.ptr, expected.ptr) << "opcode " << expected.opcode;
        EXPECT_EQ (call.opt, expected.opt) << "opcode " << expected.opcode;
    }

    host.calls.clear();
    EXPECT_FALSE (effect.hostOpenFileSelector (nullptr));
    EXPECT_FALSE (effect.hostCloseFileSelector (nullptr));
    EXPECT_FALSE (effect.hostChunkFile (nullptr));
    EXPECT_TRUE (host.calls.empty());
}

TEST (HostCallbacks, WithoutACallbackEveryRequestGivesItsDefault)
{
    EffectSpy effect (nullptr);
    char text[8] {};

    effect.applyAndAutomateParameter (0, 1.0f);
    effect.hostIdle();
    effect.requestHostEvents (1);
    effect.hostSetOutputRate (1.0f);
    EXPECT_EQ (effect.hostVersion(), 1);
    EXPECT_EQ (effect.hostCurrentId(), 0);
    EXPECT_TRUE (effect.hostInputConnected (0));
    EXPECT_TRUE (effect.hostOutputConnected (0));
    EXPECT_FALSE (effect.hostBeginEdit (0));
    EXPECT_FALSE (effect.hostUpdateDisplay());
    EXPECT_EQ (effect.hostCanDo (text), 0);
    EXPECT_EQ (effect.hostTimeInfo (0xfe00), nullptr);
    EXPECT_EQ (effect.hostInputLayout(), nullptr);
    EXPECT_EQ (effect.hostDirectory(), nullptr);
    EXPECT_EQ (effect.refreshSampleRate(), 44100.0);
    EXPECT_EQ (effect.refreshBlockSize(), 1024);
    EXPECT_EQ (effect.hostOfflinePass(), 0);
}

TEST (HostCallbacks, ResumeAsksForEventsOnlyFromInstrumentsOrMidiReceivers)
{
    RecordingHost host;
    EffectSpy effect;

    effect.AudioEffectX::resumeProcessing();
    EXPECT_TRUE (host.calls.empty());

    effect.setFlagBit8 (true);
    effect.AudioEffectX::resumeProcessing();
    ASSERT_EQ (host.calls.size(), 1u);
    EXPECT_EQ (host.calls[0].opcode, 6);
    EXPECT_EQ (host.calls[0].value, 1);
}
