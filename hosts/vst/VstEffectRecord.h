#pragma once

#include <cstddef>
#include <cstdint>

struct VstEffectRecord;

/** The host's side of the interface: every request the plug-in makes of its host goes
    through this one function. It may be null.
*/
using VstHostCallback = intptr_t (*) (VstEffectRecord* effect, int32_t opcode, int32_t index,
                                      intptr_t value, void* ptr, float opt);

using VstDispatchEntry = intptr_t (*) (VstEffectRecord*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
using VstProcessEntry = void (*) (VstEffectRecord*, float** inputs, float** outputs, int32_t frames);
using VstProcessDoubleEntry = void (*) (VstEffectRecord*, double** inputs, double** outputs, int32_t frames);
using VstSetParameterEntry = void (*) (VstEffectRecord*, int32_t index, float value);
using VstGetParameterEntry = float (*) (VstEffectRecord*, int32_t index);

/** The record a VST 2.4 host receives when it loads the plug-in. Hosts read it byte by byte,
    so its layout must never change: every field sits at the offset pinned below.
*/
struct VstEffectRecord
{
    int32_t magic;
    int32_t padding0;
    VstDispatchEntry dispatch;
    VstProcessEntry processAccumulating;
    VstSetParameterEntry setParameter;
    VstGetParameterEntry getParameter;
    int32_t numPrograms;
    int32_t numParameters;
    int32_t numInputs;
    int32_t numOutputs;
    int32_t flags;
    int32_t padding1;
    intptr_t reserved1;
    intptr_t reserved2;
    int32_t initialDelay;
    int32_t realtimeQualities;
    int32_t offlineQualities;
    float ioRatio;
    void* object;
    void* user;
    int32_t uniqueId;
    int32_t version;
    VstProcessEntry processReplacing;
    VstProcessDoubleEntry processDoubleReplacing;
    char reserved[56];

    static constexpr int32_t magicValue = 0x56737450; // 'VstP'

    enum Flags : int32_t
    {
        hasEditorFlag             = 0x1,
        hasClipFlag               = 0x2,
        hasLevelMeterFlag         = 0x4,
        canMonoFlag               = 0x8,
        canReplacingFlag          = 0x10,
        programChunksFlag         = 0x20,
        isSynthFlag               = 0x100,
        noSoundInStopFlag         = 0x200,
        extOutputAsyncFlag        = 0x400,
        extOutputBufferFlag       = 0x800,
        canDoubleReplacingFlag    = 0x1000
    };
};

static_assert (sizeof (void*) == 8, "the record's layout is the 64-bit one");
static_assert (sizeof (VstEffectRecord) == 192, "hosts expect a 192-byte record");
static_assert (offsetof (VstEffectRecord, magic) == 0, "record layout");
static_assert (offsetof (VstEffectRecord, dispatch) == 8, "record layout");
static_assert (offsetof (VstEffectRecord, processAccumulating) == 16, "record layout");
static_assert (offsetof (VstEffectRecord, setParameter) == 24, "record layout");
static_assert (offsetof (VstEffectRecord, getParameter) == 32, "record layout");
static_assert (offsetof (VstEffectRecord, numPrograms) == 40, "record layout");
static_assert (offsetof (VstEffectRecord, numParameters) == 44, "record layout");
static_assert (offsetof (VstEffectRecord, numInputs) == 48, "record layout");
static_assert (offsetof (VstEffectRecord, numOutputs) == 52, "record layout");
static_assert (offsetof (VstEffectRecord, flags) == 56, "record layout");
static_assert (offsetof (VstEffectRecord, reserved1) == 64, "record layout");
static_assert (offsetof (VstEffectRecord, reserved2) == 72, "record layout");
static_assert (offsetof (VstEffectRecord, initialDelay) == 80, "record layout");
static_assert (offsetof (VstEffectRecord, realtimeQualities) == 84, "record layout");
static_assert (offsetof (VstEffectRecord, offlineQualities) == 88, "record layout");
static_assert (offsetof (VstEffectRecord, ioRatio) == 92, "record layout");
static_assert (offsetof (VstEffectRecord, object) == 96, "record layout");
static_assert (offsetof (VstEffectRecord, user) == 104, "record layout");
static_assert (offsetof (VstEffectRecord, uniqueId) == 112, "record layout");
static_assert (offsetof (VstEffectRecord, version) == 116, "record layout");
static_assert (offsetof (VstEffectRecord, processReplacing) == 120, "record layout");
static_assert (offsetof (VstEffectRecord, processDoubleReplacing) == 128, "record layout");
static_assert (offsetof (VstEffectRecord, reserved) == 136, "record layout");

/** The six functions whose addresses the record carries. Each forwards to the object the
    record belongs to, and none lets an exception reach the host.
*/
intptr_t effectDispatchEntry (VstEffectRecord*, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) noexcept;
void effectProcessEntry (VstEffectRecord*, float** inputs, float** outputs, int32_t frames) noexcept;
void effectSetParameterEntry (VstEffectRecord*, int32_t index, float value) noexcept;
float effectGetParameterEntry (VstEffectRecord*, int32_t index) noexcept;
void effectProcessReplacingEntry (VstEffectRecord*, float** inputs, float** outputs, int32_t frames) noexcept;
void effectProcessDoubleReplacingEntry (VstEffectRecord*, double** inputs, double** outputs, int32_t frames) noexcept;
