#include "AAX_CEffectParameters.h"

#include "AAX_CString.h"
#include "AAX_IParameter.h"
#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace
{
constexpr uint32_t previewNotification = 0x41535076; // 'ASPv'
constexpr uint32_t shortNameScanLimit = 255;

enum class ValueType
{
    none,
    float32,
    int32,
    boolean,
    float64,
    text
};

/** A parameter's value type, found by trying its typed getters in a fixed order. */
ValueType valueTypeOf (const AAX_IParameter& parameter)
{
    float f;
    int32_t i;
    bool b;
    double d;
    AAX_CString s;

    if (parameter.getFloat (&f))   return ValueType::float32;
    if (parameter.getInt32 (&i))   return ValueType::int32;
    if (parameter.getBool (&b))    return ValueType::boolean;
    if (parameter.getDouble (&d))  return ValueType::float64;
    if (parameter.getString (&s))  return ValueType::text;

    return ValueType::none;
}

bool fitsFloat (double value)
{
    return std::isfinite (value) && std::abs (value) <= static_cast<double> (std::numeric_limits<float>::max());
}
} // namespace

//==============================================================================
AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    // The host may destroy an instance it never uninitialised; its proxies must go all the same.
    releaseHostObjects();
}

void AAX_CEffectParameters::releaseHostObjects()
{
    // Parameters detach from the automation delegate as they go, so they go before it, and the
    // dispatcher forgets the controller before the controller is deleted.
    parameterManager.removeAllParameters();
    parameterManager.setAutomationDelegate (nullptr);
    packetDispatcher.clear();

    controller.reset();
    automationDelegate.reset();
    transport.reset();
}

ResultCode AAX_CEffectParameters::initialize (IACFUnknown* hostControllerUnknown)
{
    // A host that initialises twice gets a fresh start rather than a second set of proxies,
    // parameters and packet registrations.
    if (controller != nullptr)
        releaseHostObjects();

    controller = std::make_unique<AAX_VController> (hostControllerUnknown);
    automationDelegate = std::make_unique<AAX_VAutomationDelegate> (hostControllerUnknown);
    transport = std::make_unique<AAX_VTransport> (hostControllerUnknown);

    parameterManager.setAutomationDelegate (automationDelegate.get());
    packetDispatcher.initialize (controller.get(), this);

    if (const auto result = initializeEffect(); result != resultSuccess)
        return result;

    AAX_CString bypassId;
    masterBypassParameterId (&bypassId);
    excludedParameterIds.insert (bypassId.cText());
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::uninitialize()
{
    releaseHostObjects();
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::initializeEffect()
{
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::handleHostNotification (uint32_t type, const void* data, uint32_t size)
{
    // A preview notification without its 4-byte flag has nothing to act on.
    if (type != previewNotification || data == nullptr || size < sizeof (int32_t))
        return resultSuccess;

    if (auto* preview = parameterManager.findParameter (kPreviewId))
    {
        int32_t previewing;
        std::memcpy (&previewing, data, sizeof (previewing));
        preview->setBool (previewing != 0);
    }

    return resultSuccess;
}

//==============================================================================
ResultCode AAX_CEffectParameters::parameterCount (int32_t* out)
{
    *out = parameterManager.numParameters();
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::masterBypassParameterId (AAX_IString* out)
{
    out->setText (parameterManager.findParameter (kMasterBypassId) != nullptr ? kMasterBypassId : "");
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::isParameterAutomatable (const char* id, bool* out)
{
    *out = false;

    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    *out = parameter->isAutomatable();
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::parameterStepCount (const char* id, int32_t* out)
{
    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    const auto steps = parameter->stepCount();

    if (steps > static_cast<uint32_t> (std::numeric_limits<int32_t>::max()))
        return resultStepCountOverflow;

    *out = static_cast<int32_t> (steps);
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::parameterDisplayName (const char* id, AAX_IString* out)
{
    const auto* parameter = parameterManager.findParameter (id);
    out->setText (parameter != nullptr ? parameter->displayName().cText() : "");
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::parameterShortName (const char* id, AAX_IString* out, int32_t maxChars)
{
    if (out == nullptr)
        return resultConversionFailed;

    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
    {
        out->setText ("");
        return resultSuccess;
    }

    const auto& name = parameter->shortNameFor (maxChars);
    const std::string text (name.cText(), std::min (name.length(), shortNameScanLimit));

    if (text.empty())
        return resultSuccess;

    // A name may hold several lines, each a version for a different width: take the longest that fits,
    // the first of equal length.
    size_t bestLength = 0;

    for (size_t start = 0; start <= text.size();)
    {
        const auto end = std::min (text.find ('\n', start), text.size());
        const auto length = end - start;

        if (length > bestLength && static_cast<int64_t> (length) <= maxChars)
        {
            out->setText (text.substr (start, length).c_str());
            bestLength = length;
        }

        start = end + 1;
    }

    if (bestLength == 0)
        out->setText (maxChars > 0 ? text.substr (0, static_cast<size_t> (maxChars)).c_str() : "");

    return resultSuccess;
}

ResultCode AAX_CEffectParameters::normalizedParameterDefault (const char* id, double* out)
{
    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    *out = parameter->normalizedDefault();
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::setNormalizedParameterDefault (const char* id, double normalizedDefault)
{
    auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    if (! std::isfinite (normalizedDefault))
        return resultConversionFailed;

    parameter->setDefaultFromNormalized (normalizedDefault);
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::parameterTypeOf (const char* id, int32_t* out)
{
    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    *out = parameter->parameterType();
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::parameterOrientationOf (const char* id, int32_t* out)
{
    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    *out = parameter->orientationFlags();
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::parameterById (const char* id, AAX_IParameter** out)
{
    *out = parameterManager.findParameter (id);
    return *out != nullptr ? resultSuccess : resultUnknownParameter;
}

ResultCode AAX_CEffectParameters::parameterIndexOf (const char* id, int32_t* out)
{
    *out = parameterManager.indexOfParameter (id);
    return *out >= 0 ? resultSuccess : resultUnknownParameter;
}

ResultCode AAX_CEffectParameters::parameterIdAt (int32_t index, AAX_IString* out)
{
    const auto* parameter = parameterManager.parameterAt (index);
    out->setText (parameter != nullptr ? parameter->parameterId() : "");
    return parameter != nullptr ? resultSuccess : resultUnknownParameter;
}

ResultCode AAX_CEffectParameters::parameterIntegerQuery (const char*, int32_t, int32_t* out)
{
    *out = 0;
    return resultNotAvailable;
}

//==============================================================================
ResultCode AAX_CEffectParameters::valueFromParameterText (const char* id, double* out, const AAX_IString& text)
{
    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    double normalized = 0.0;

    if (! parameter->normalizedFromText (AAX_CString (text), &normalized))
        return resultConversionFailed;

    *out = normalized;
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::parameterTextFromValue (const char* id, double normalizedValue,
                                                          AAX_IString* out, int32_t maxChars)
{
    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    AAX_CString text;

    if (! parameter->textForNormalized (normalizedValue, maxChars, &text))
        return resultConversionFailed;

    *out = text;
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::parameterValueText (const char* id, AAX_IString* out, int32_t maxChars)
{
    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    AAX_CString text;
    parameter->currentValueText (maxChars, &text);
    *out = text;
    return resultSuccess;
}

//==============================================================================
ResultCode AAX_CEffectParameters::normalizedParameterValue (const char* id, double* out)
{
    const auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    *out = parameter->normalizedValue();
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::setNormalizedParameterValue (const char* id, double normalizedValue)
{
    auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    if (! std::isfinite (normalizedValue))
        return resultConversionFailed;

    parameter->requestNormalizedValue (normalizedValue);
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::changeByDelta (const char* id, double delta, bool apply)
{
    double current = 0.0;

    if (const auto result = normalizedParameterValue (id, &current); result != resultSuccess)
        return result;

    const auto target = current + delta;

    if (! std::isfinite (delta) || ! std::isfinite (target))
        return resultConversionFailed;

    const auto limited = std::max (0.0, std::min (1.0, target));

    return apply ? applyNormalizedParameterValue (id, limited, 0)
                 : setNormalizedParameterValue (id, limited);
}

ResultCode AAX_CEffectParameters::addToNormalizedParameterValue (const char* id, double delta)
{
    return changeByDelta (id, delta, false);
}

ResultCode AAX_CEffectParameters::applyNormalizedParameterDelta (const char* id, double delta)
{
    return changeByDelta (id, delta, true);
}

ResultCode AAX_CEffectParameters::touchParameter (const char* id)
{
    auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    parameter->beginTouch();
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::releaseParameter (const char* id)
{
    auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    parameter->endTouch();
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::applyNormalizedParameterValue (const char* id, double normalizedValue, int32_t)
{
    auto* parameter = parameterManager.findParameter (id);

    if (parameter == nullptr)
        return resultUnknownParameter;

    if (! std::isfinite (normalizedValue))
        return resultConversionFailed;

    parameter->applyNormalizedValue (normalizedValue);
    const auto result = packetDispatcher.markPacketDirty (id, true);
    ++changeCounter; // unsigned, so a long session wraps round instead of overflowing
    return result;
}

ResultCode AAX_CEffectParameters::postDirtyPackets()
{
    return packetDispatcher.dispatchPackets();
}

ResultCode AAX_CEffectParameters::fillFieldData (uint32_t, void* data, uint32_t size)
{
    if (size == 0)
        return resultSuccess;

    if (data == nullptr)
        return resultHostObjectMissing;

    std::memset (data, 0, size);
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::changeCount (int32_t* out)
{
    *out = static_cast<int32_t> (changeCounter & 0x7fffffffu);
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::reservedOperation4 (const void*, const void*, const void*, uint32_t* out)
{
    if (out != nullptr)
        *out = 0;

    return resultSuccess;
}

ResultCode AAX_CEffectParameters::queryInternal (const InterfaceId& id, void** out)
{
    if (out == nullptr)
        return resultNullPointer;

    if (id == kEffectParametersInterfaceId || id == kEffectParametersV2InterfaceId)
    {
        auto* primary = static_cast<AAX_IACFEffectParameters_V2*> (this);
        *out = primary;
        primary->addRef();
        return resultSuccess;
    }

    return CACFUnknown::queryInternal (id, out);
}

//==============================================================================
template <typename Visitor>
void AAX_CEffectParameters::forEachChunkParameter (Visitor&& visit)
{
    int32_t count = 0;
    parameterCount (&count);

    for (int32_t i = 0; i < count; ++i)
        if (auto* parameter = parameterManager.parameterAt (i))
            if (excludedParameterIds.count (parameter->parameterId()) == 0)
                visit (*parameter);
}

void AAX_CEffectParameters::rebuildStateChunk()
{
    chunkParser.ClearEntries();

    forEachChunkParameter ([this] (AAX_IParameter& parameter)
    {
        const auto* id = parameter.parameterId();

        switch (valueTypeOf (parameter))
        {
            case ValueType::float32: { float v = 0;  parameter.getFloat (&v);  chunkParser.AppendDouble (id, v); break; }
            case ValueType::int32:   { int32_t v = 0; parameter.getInt32 (&v); chunkParser.AppendInt32 (id, v); break; }
            case ValueType::boolean: { bool v = false; parameter.getBool (&v); chunkParser.AppendInt32 (id, v ? 1 : 0); break; }
            case ValueType::float64: { double v = 0; parameter.getDouble (&v); chunkParser.AppendDouble (id, v); break; }
            case ValueType::text:    { AAX_CString v; parameter.getString (&v); chunkParser.AppendString (id, v); break; }
            case ValueType::none:    break;
        }
    });
}

ResultCode AAX_CEffectParameters::stateChunkCount (int32_t* out)
{
    *out = 1;
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::stateChunkId (int32_t index, uint32_t* out)
{
    *out = index == 0 ? kControlsChunkId : 0;
    return index == 0 ? resultSuccess : resultBadChunkIndex;
}

ResultCode AAX_CEffectParameters::stateChunkSize (uint32_t chunkId, uint32_t* out)
{
    if (chunkId != kControlsChunkId)
    {
        *out = 0;
        return resultBadChunkId;
    }

    rebuildStateChunk();
    cachedChunkSize = chunkParser.ComputeChunkDataSize();

    if (cachedChunkSize < 0)
        return resultBadChunkSize;

    *out = static_cast<uint32_t> (cachedChunkSize);
    return resultSuccess;
}

ResultCode AAX_CEffectParameters::saveStateChunk (uint32_t chunkId, StateChunkRecord* chunk)
{
    if (chunkId != kControlsChunkId)
        return resultBadChunkId;

    if (chunk == nullptr)
        return resultBadChunkSize;

    rebuildStateChunk();

    // The host sized the record from the last stateChunkSize; a different size would not fit it.
    if (cachedChunkSize <= 0 || chunkParser.ComputeChunkDataSize() != cachedChunkSize)
        return resultBadChunkSize;

    chunk->version = chunkParser.getChunkVersion();
    chunk->chunkId = kControlsChunkId;
    std::memset (chunk->name, 0, sizeof (chunk->name));
    std::strncpy (chunk->name, kControlsChunkName, sizeof (chunk->name) - 1);
    return chunkParser.GetChunkData (chunk);
}

ResultCode AAX_CEffectParameters::loadStateChunk (uint32_t chunkId, const StateChunkRecord* chunk)
{
    if (chunkId != kControlsChunkId)
        return resultBadChunkId;

    if (! chunkParser.ParseChunk (chunk))
        return resultBadChunkSize;

    // Gather every value first, so that a value no parameter can take refuses the whole chunk
    // rather than leaving the parameters half restored.
    struct PendingValue
    {
        AAX_IParameter* parameter;
        ValueType type;
        double number;
        int32_t integer;
        AAX_CString text;
    };

    std::vector<PendingValue> pending;
    bool isValid = true;

    forEachChunkParameter ([&] (AAX_IParameter& parameter)
    {
        PendingValue value { &parameter, valueTypeOf (parameter), 0.0, 0, {} };
        bool found = false;

        switch (value.type)
        {
            case ValueType::float32: found = chunkParser.LookupDouble (parameter.parameterId(), &value.number);
                                     isValid = isValid && (! found || fitsFloat (value.number)); break;
            case ValueType::float64: found = chunkParser.LookupDouble (parameter.parameterId(), &value.number);
                                     isValid = isValid && (! found || std::isfinite (value.number)); break;
            case ValueType::int32:
            case ValueType::boolean: found = chunkParser.LookupInt32 (parameter.parameterId(), &value.integer); break;
            case ValueType::text:    found = chunkParser.LookupString (parameter.parameterId(), &value.text); break;
            case ValueType::none:    break;
        }

        if (found)
            pending.push_back (std::move (value));
    });

    if (! isValid)
        return resultBadChunkSize;

    for (auto& value : pending)
    {
        switch (value.type)
        {
            case ValueType::float32: value.parameter->setFloat (static_cast<float> (value.number)); break;
            case ValueType::float64: value.parameter->setDouble (value.number); break;
            case ValueType::int32:   value.parameter->setInt32 (value.integer); break;
            case ValueType::boolean: value.parameter->setBool (value.integer != 0); break;
            case ValueType::text:    value.parameter->setString (value.text); break;
            case ValueType::none:    break;
        }
    }

    return resultSuccess;
}

ResultCode AAX_CEffectParameters::compareStateChunk (const StateChunkRecord* chunk, bool* out)
{
    if (chunk == nullptr || out == nullptr)
        return resultBadChunkSize;

    *out = false;

    // Another chunk is its owner's to compare; claiming it equal would hide a difference.
    if (chunk->chunkId != kControlsChunkId)
        return resultBadChunkId;

    if (! chunkParser.ParseChunk (chunk))
        return resultSuccess;

    bool isEqual = true;

    forEachChunkParameter ([&] (AAX_IParameter& parameter)
    {
        if (! isEqual)
            return;

        const auto* id = parameter.parameterId();
        double stored = 0.0;
        int32_t storedInteger = 0;

        switch (valueTypeOf (parameter))
        {
            case ValueType::float32:
            {
                float current = 0;
                parameter.getFloat (&current);
                // Written so that a NaN on either side counts as a difference.
                isEqual = chunkParser.LookupDouble (id, &stored) && fitsFloat (stored) && current == static_cast<float> (stored);
                break;
            }
            case ValueType::float64:
            {
                double current = 0;
                parameter.getDouble (&current);
                isEqual = chunkParser.LookupDouble (id, &stored) && fitsFloat (stored) && fitsFloat (current)
                          && static_cast<float> (current) == static_cast<float> (stored);
                break;
            }
            case ValueType::int32:
            {
                int32_t current = 0;
                parameter.getInt32 (&current);
                isEqual = chunkParser.LookupInt32 (id, &storedInteger) && storedInteger == current;
                break;
            }
            case ValueType::boolean:
            {
                bool current = false;
                parameter.getBool (&current);
                isEqual = chunkParser.LookupInt32 (id, &storedInteger) && (storedInteger != 0) == current;
                break;
            }
            case ValueType::text:
            {
                AAX_CString current, storedText;
                parameter.getString (&current);
                isEqual = chunkParser.LookupString (id, &storedText) && storedText == current;
                break;
            }
            case ValueType::none:
                break;
        }
    });

    *out = isEqual;
    return resultSuccess;
}
