// Feeds arbitrary bytes to the AAX effect as the data area of an 'elck' state chunk.
// A record the effect accepts must leave values that save and compare as equal.

#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"

#include <cstring>
#include <string>
#include <vector>

namespace
{
/** Nine float parameters "0" to "8" and no host, so every restored value is applied at once. */
class FuzzedEffect : public AAX_CEffectParameters
{
public:
    FuzzedEffect()
    {
        for (int i = 0; i < 9; ++i)
            parameterManager.addParameter (std::make_unique<AAX_CParameter<float>> (
                std::to_string (i).c_str(), AAX_CString ("Parameter"), 0.5f,
                AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f), AAX_CNumberDisplayDelegate<float, 3, 0>(), true));
    }
};

std::vector<unsigned char> recordHolding (const uint8_t* data, size_t size)
{
    std::vector<unsigned char> bytes (StateChunkRecord::headerSize + size);
    auto* record = reinterpret_cast<StateChunkRecord*> (bytes.data());
    record->size = static_cast<int32_t> (size);
    record->version = 1;
    record->chunkId = kControlsChunkId;
    std::memcpy (record->data(), data, size);
    return bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size > 1 << 16)
        return 0;

    static FuzzedEffect effect;
    auto loaded = recordHolding (data, size);
    auto* record = reinterpret_cast<StateChunkRecord*> (loaded.data());

    bool isEqual = false;
    effect.compareStateChunk (record, &isEqual);

    if (effect.loadStateChunk (kControlsChunkId, record) != resultSuccess)
        return 0;

    uint32_t savedSize = 0;
    effect.stateChunkSize (kControlsChunkId, &savedSize);
    std::vector<unsigned char> saved (StateChunkRecord::headerSize + savedSize);
    auto* savedRecord = reinterpret_cast<StateChunkRecord*> (saved.data());

    if (effect.saveStateChunk (kControlsChunkId, savedRecord) != resultSuccess
        || effect.compareStateChunk (savedRecord, &isEqual) != resultSuccess || ! isEqual)
        __builtin_trap();

    return 0;
}
