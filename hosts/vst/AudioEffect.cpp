#include "AudioEffect.h"

#include <cmath>
#include <cstring>

namespace
{
    AudioEffect* effectOf (VstEffectRecord* record) noexcept
    {
        // The record's object pointer is always the AudioEffect subobject, whatever else the
        // derived class inherits from.
        return static_cast<AudioEffect*> (record->object);
    }
}

//==============================================================================
intptr_t effectDispatchEntry (VstEffectRecord* record, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) noexcept
{
    try
    {
        auto* effect = effectOf (record);

        if (opcode == AudioEffect::closeOpcode)
        {
            effect->dispatchHostOpcode (opcode, index, value, ptr, opt);
            delete effect;
            return 1;
        }

        return effect->dispatchHostOpcode (opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        return 0;
    }
}

void effectProcessEntry (VstEffectRecord* record, float** inputs, float** outputs, int32_t frames) noexcept
{
    try { effectOf (record)->processAccumulating (inputs, outputs, frames); }
    catch (...) {}
}

void effectSetParameterEntry (VstEffectRecord* record, int32_t index, float value) noexcept
{
    try { effectOf (record)->applyParameter (index, value); }
    catch (...) {}
}

float effectGetParameterEntry (VstEffectRecord* record, int32_t index) noexcept
{
    try { return effectOf (record)->readParameter (index); }
    catch (...) { return 0.0f; }
}

void effectProcessReplacingEntry (VstEffectRecord* record, float** inputs, float** outputs, int32_t frames) noexcept
{
    try { effectOf (record)->processFloatBlock (inputs, outputs, frames); }
    catch (...) {}
}

void effectProcessDoubleReplacingEntry (VstEffectRecord* record, double** inputs, double** outputs, int32_t frames) noexcept
{
    try { effectOf (record)->processDoubleBlock (inputs, outputs, frames); }
    catch (...) {}
}

//==============================================================================
AudioEffect::AudioEffect (VstHostCallback callback, int32_t programs, int32_t parameters)
    : hostCallback (callback), numPrograms (programs), numParameters (parameters)
{
    std::memset (&record, 0, sizeof (record));
    record.magic = VstEffectRecord::magicValue;
    record.dispatch = effectDispatchEntry;
    record.processAccumulating = effectProcessEntry;
    record.setParameter = effectSetParameterEntry;
    record.getParameter = effectGetParameterEntry;
    record.numPrograms = programs;
    record.numParameters = parameters;
    record.numInputs = 1;
    record.numOutputs = 2;
    record.ioRatio = 1.0f;
    record.object = this;
    record.uniqueId = defaultUniqueId;
    record.version = 1;
    record.processReplacing = effectProcessReplacingEntry;
    record.flags = VstEffectRecord::canReplacingFlag;
    record.processDoubleReplacing = effectProcessDoubleReplacingEntry;
}

AudioEffect::~AudioEffect() = default;

intptr_t AudioEffect::dispatchHostOpcode (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    // Hosts may pass a null ptr to any opcode: every operation that uses it checks it itself,
    // so that an override still sees the call.
    auto* text = static_cast<char*> (ptr);

    switch (opcode)
    {
        case openOpcode:                openEffect(); return 0;
        case closeOpcode:               closeEffect(); return 0;

        case setProgramOpcode:
            // A negative program would index past the front of every program table.
            if (value >= 0 && value < (intptr_t) numPrograms)
                selectProgram ((int32_t) value);
            return 0;

        case getProgramOpcode:          return currentProgramIndex();
        case setProgramNameOpcode:      renameProgram (text); return 0;
        case getProgramNameOpcode:      writeProgramName (text); return 0;
        case getParameterLabelOpcode:   writeParameterLabel (index, text); return 0;
        case getParameterTextOpcode:    writeParameterText (index, text); return 0;
        case getParameterNameOpcode:    writeParameterName (index, text); return 0;

        case setSampleRateOpcode:
            // A zero, negative or non-finite rate would turn every delay time into NaN.
            if (std::isfinite (opt) && opt > 0.0f)
                changeSampleRate (opt);
            return 0;

        case setBlockSizeOpcode:
            if ((int32_t) value > 0)
                changeBlockSize ((int32_t) value);
            return 0;

        case switchProcessingOpcode:
            if (value != 0)
                resumeProcessing();
            else
                suspendProcessing();
            return 0;

        case editorBoundsOpcode:        return editor != nullptr && editor->reportBounds (static_cast<void**> (ptr)) ? 1 : 0;
        case editorOpenOpcode:          return editor != nullptr && editor->openInParent (ptr) ? 1 : 0;
        case editorCloseOpcode:         if (editor != nullptr) editor->closeView(); return 0;
        case editorIdleOpcode:          if (editor != nullptr) editor->idleView(); return 0;
        case identifyOpcode:            return identifyAnswer;
        case getChunkOpcode:            return saveChunk (static_cast<void**> (ptr), index != 0);
        case setChunkOpcode:            return loadChunk (ptr, (int32_t) value, index != 0);
        default:                        return 0;
    }
}

void AudioEffect::applyAndAutomateParameter (int32_t index, float value)
{
    applyParameter (index, value);
    callHost (automateHostOpcode, index, 0, nullptr, value, 0);
}

//==============================================================================
intptr_t AudioEffect::callHost (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt, intptr_t whenAbsent)
{
    return hostCallback != nullptr ? hostCallback (&record, opcode, index, value, ptr, opt) : whenAbsent;
}

void AudioEffect::setFlag (int32_t flag, bool on) noexcept
{
    record.flags = on ? (record.flags | flag) : (record.flags & ~flag);
}

int32_t AudioEffect::hostVersion()
{
    const auto answer = (int32_t) callHost (versionHostOpcode, 0, 0, nullptr, 0.0f, 1);
    return answer != 0 ? answer : 1;
}

intptr_t AudioEffect::hostCurrentId()
{
    return callHost (currentIdHostOpcode, 0, 0, nullptr, 0.0f, 0);
}

void AudioEffect::hostIdle()
{
    callHost (idleHostOpcode, 0, 0, nullptr, 0.0f, 0);
}

bool AudioEffect::hostInputConnected (int32_t input)
{
    return (int32_t) callHost (pinConnectedHostOpcode, input, 0, nullptr, 0.0f, 0) == 0;
}

bool AudioEffect::hostOutputConnected (int32_t output)
{
    return (int32_t) callHost (pinConnectedHostOpcode, output, 1, nullptr, 0.0f, 0) == 0;
}

void AudioEffect::writeProgramName (char* name)             { clearText (name); }
void AudioEffect::writeParameterLabel (int32_t, char* text) { clearText (text); }
void AudioEffect::writeParameterText (int32_t, char* text)  { clearText (text); }
void AudioEffect::writeParameterName (int32_t, char* text)  { clearText (text); }

//==============================================================================
void AudioEffect::clearText (char* text) noexcept
{
    if (text != nullptr)
        text[0] = 0;
}

void AudioEffect::copyText (char* text, const char* source, int32_t maxLen) noexcept
{
    if (text == nullptr || maxLen < 0)
        return;

    std::strncpy (text, source, (size_t) maxLen);
    text[maxLen] = 0;
}

void AudioEffect::formatDecibels (float value, char* text, int32_t maxLen)
{
    if (value <= 0.0f)
        copyText (text, "-oo", maxLen);
    else
        formatFloat ((float) (20.0 * std::log10 ((double) value)), text, maxLen);
}

void AudioEffect::formatHertz (float samples, char* text, int32_t maxLen)
{
    formatFloat (samples == 0.0f ? 0.0f : effectSampleRate() / samples, text, maxLen);
}

void AudioEffect::formatMilliseconds (float samples, char* text, int32_t maxLen)
{
    formatFloat ((float) ((double) samples * 1000.0 / (double) effectSampleRate()), text, maxLen);
}

void AudioEffect::formatFloat (float value, char* text, int32_t maxLen)
{
    // An 8-character field: sign, integer digits and the point take their places first, the
    // fraction gets what is left. Digits are truncated, never rounded up.
    constexpr int fieldWidth = 8;

    if (std::isnan (value))
    {
        copyText (text, "NaN", maxLen);
        return;
    }

    const bool negative = value < 0.0f;
    const double magnitude = negative ? -(double) value : (double) value;

    // Positive values show at most 7 integer digits, negative ones 6: anything longer would
    // lose its leading digits, so it is too big for the field.
    const double limit = negative ? 1000000.0 : 10000000.0;

    if (! (magnitude < limit))
    {
        copyText (text, "Huge!", maxLen);
        return;
    }

    char scratch[32] {};
    int pos = 30;
    scratch[pos] = '.';
    int count = negative ? 3 : 2;

    double n = std::floor (magnitude);
    scratch[--pos] = (char) ('0' + (int) std::fmod (n, 10.0));

    for (n /= 10.0; n >= 1.0 && count < fieldWidth; n /= 10.0, ++count)
        scratch[--pos] = (char) ('0' + (int) std::fmod (n, 10.0));

    if (negative)
        scratch[--pos] = '-';

    char result[fieldWidth + 1] {};
    std::strcpy (result, scratch + pos);

    if (count < fieldWidth)
    {
        const int digits = fieldWidth - count;
        double m = std::fmod (magnitude, 1.0) * std::pow (10.0, digits);
        char fraction[fieldWidth + 1] {};

        for (int i = digits - 1; i >= 0; --i, m /= 10.0)
            fraction[i] = m <= 0.0 ? '0' : (char) ('0' + (int) std::fmod (m, 10.0));

        std::memcpy (result + std::strlen (result), fraction, (size_t) digits);
    }

    copyText (text, result, maxLen);
}

void AudioEffect::formatInteger (int32_t value, char* text, int32_t maxLen)
{
    // Widened first, so that the most negative int32 can be negated.
    auto remaining = (int64_t) value;

    if (remaining >= 100000000 || remaining < -999999999)
    {
        copyText (text, "Huge!", maxLen);
        return;
    }

    char result[16] {};
    int length = 0;

    if (remaining < 0)
    {
        result[length++] = '-';
        remaining = -remaining;
    }

    bool leading = true;

    for (int64_t divisor = 100000000; divisor >= 1; divisor /= 10)
    {
        const auto digit = remaining / divisor;
        remaining %= divisor;

        if (digit != 0 || divisor == 1)
            leading = false;

        if (! leading)
            result[length++] = (char) ('0' + digit);
    }

    copyText (text, result, maxLen);
}
