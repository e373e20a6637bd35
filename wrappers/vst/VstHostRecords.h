#pragma once

#include <cstddef>
#include <cstdint>

/** The host records the plug-in reads or fills, laid out as VST 2.4 hosts pass them
    (64-bit, natural alignment). The effect base only carries them as pointers.
*/

/** The transport as the host reports it on request (host opcode 7). Only the fields whose
    flag is set hold anything; the sample position is always there.
*/
struct VstTimeInfoRecord
{
    double samplePosition;
    double sampleRate;
    double systemTimeNanoseconds;
    double ppqPosition;
    double tempo;
    double barStartPosition;
    double cycleStartPosition;
    double cycleEndPosition;
    int32_t timeSignatureNumerator;
    int32_t timeSignatureDenominator;
    int32_t smpteOffset;
    int32_t smpteFrameRate;
    int32_t samplesToNextClock;
    int32_t flags;

    enum Flags : int32_t
    {
        transportChanged     = 1 << 0,
        transportPlaying     = 1 << 1,
        transportCycleActive = 1 << 2,
        transportRecording   = 1 << 3,
        nanosecondsValid     = 1 << 8,
        ppqPositionValid     = 1 << 9,
        tempoValid           = 1 << 10,
        barsValid            = 1 << 11,
        cyclePositionValid   = 1 << 12,
        timeSignatureValid   = 1 << 13,
        smpteValid           = 1 << 14,
        clockValid           = 1 << 15
    };

    /** What the plug-in asks for: everything from the musical position on. */
    static constexpr int32_t requestedFields = 0xfe00;
};

static_assert (sizeof (VstTimeInfoRecord) == 88, "time info layout");
static_assert (offsetof (VstTimeInfoRecord, tempo) == 32, "time info layout");
static_assert (offsetof (VstTimeInfoRecord, timeSignatureNumerator) == 64, "time info layout");
static_assert (offsetof (VstTimeInfoRecord, flags) == 84, "time info layout");

/** One event of an event list. MIDI events carry up to three bytes of a short message. */
struct VstMidiEventRecord
{
    int32_t type;
    int32_t byteSize;
    int32_t deltaFrames;
    int32_t flags;
    int32_t noteLength;
    int32_t noteOffset;
    uint8_t midiData[4];
    int8_t detune;
    uint8_t noteOffVelocity;
    uint8_t reserved1;
    uint8_t reserved2;

    static constexpr int32_t midiType = 1;
};

static_assert (sizeof (VstMidiEventRecord) == 32, "MIDI event layout");
static_assert (offsetof (VstMidiEventRecord, deltaFrames) == 8, "MIDI event layout");
static_assert (offsetof (VstMidiEventRecord, midiData) == 24, "MIDI event layout");

/** The events of one block (effect opcode 25): a count and that many event pointers. */
struct VstEventListRecord
{
    int32_t numEvents;
    intptr_t reserved;
    VstMidiEventRecord* events[2];
};

static_assert (offsetof (VstEventListRecord, reserved) == 8, "event list layout");
static_assert (offsetof (VstEventListRecord, events) == 16, "event list layout");

/** A pin's description (effect opcodes 33 and 34). */
struct VstPinPropertiesRecord
{
    char label[64];
    int32_t flags;
    int32_t arrangementType;
    char shortLabel[8];
    char future[48];

    enum Flags : int32_t
    {
        isActive   = 1 << 0,
        isStereo   = 1 << 1,
        useSpeaker = 1 << 2
    };
};

static_assert (sizeof (VstPinPropertiesRecord) == 128, "pin properties layout");
static_assert (offsetof (VstPinPropertiesRecord, flags) == 64, "pin properties layout");
static_assert (offsetof (VstPinPropertiesRecord, shortLabel) == 72, "pin properties layout");

/** The editor's bounds (effect opcode 13), in pixels. */
struct VstEditorRectRecord
{
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

static_assert (sizeof (VstEditorRectRecord) == 8, "editor rectangle layout");

/** The text sizes hosts give for each request, in characters without the closing zero byte. */
namespace VstTextLimits
{
    constexpr int32_t parameterLabel = 8;
    constexpr int32_t parameterText = 8;
    constexpr int32_t parameterName = 16;
    constexpr int32_t programName = 24;
    constexpr int32_t effectName = 32;
    constexpr int32_t vendorName = 64;
    constexpr int32_t productName = 64;
}

/** Host opcode 23's answer when the host renders offline. */
constexpr intptr_t vstOfflineProcessLevel = 4;
