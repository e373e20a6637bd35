#pragma once

#include "AAX_CEffectParameters.h"
#include "AaxProcessRecords.h"
#include "BlockSlicer.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** The plug-in instance as an AAX host sees it: one processor, its nine parameters with ids "0" to "8"
    beside the master bypass, the processor's state block as the 'juce' chunk beside the parameter
    chunk, and the audio of each block.

    It is the processor's listener (changes made inside the plug-in go to the host as requests) and
    its play head (the host's transport comes in).
*/
class LumarroAAXProcessor : public AAX_CEffectParameters,
                            private juce::AudioProcessorListener,
                            private juce::AudioPlayHead
{
public:
    static constexpr uint32_t juceChunkId = 0x6A756365; // 'juce'
    static constexpr int initialBlockLength = 1024;

    /** Takes ownership of the processor. */
    explicit LumarroAAXProcessor (std::unique_ptr<juce::AudioProcessor> processorToUse);
    ~LumarroAAXProcessor() override;

    juce::AudioProcessor& getProcessor() noexcept { return *processor; }

    /** Processes one block from the host's record for this instance; the audio thread. */
    void process (const AaxInstanceRecord& record) noexcept;

    //==============================================================================
    ResultCode initializeEffect() override;

    ResultCode normalizedParameterValue (const char* id, double* out) override;
    ResultCode setNormalizedParameterValue (const char* id, double normalizedValue) override;
    ResultCode applyNormalizedParameterValue (const char* id, double normalizedValue, int32_t source) override;

    /** Field 5 is the host's private block for this instance: it receives the instance's address. */
    ResultCode fillFieldData (uint32_t field, void* data, uint32_t size) override;

    ResultCode stateChunkCount (int32_t* out) override;
    ResultCode stateChunkId (int32_t index, uint32_t* out) override;
    ResultCode stateChunkSize (uint32_t chunkId, uint32_t* out) override;
    ResultCode saveStateChunk (uint32_t chunkId, StateChunkRecord* chunk) override;
    ResultCode loadStateChunk (uint32_t chunkId, const StateChunkRecord* chunk) override;

    /** The 'juce' chunk is equal when its bytes are those of the processor's state now. */
    ResultCode compareStateChunk (const StateChunkRecord* chunk, bool* out) override;

    /** The processor's parameter index for an id "0" to "8", else -1. */
    static int parameterIndexForId (const char* id) noexcept;

    /** The live instance whose own effect-parameters interface this is, or null for any other object.
        The pointer is only compared, never followed, so a host's object of its own is safe to pass. */
    static LumarroAAXProcessor* instanceWithInterface (const AAX_IACFEffectParameters* face);

private:
    void addParameters();
    void readHostSetup();
    void prepare (int blockLength);
    int channelsOfLayout (bool isInput) const;

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override;
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    juce::Optional<PositionInfo> getPosition() const override;

    AAX_IParameter* parameterForIndex (int index);
    void reportLatency();

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    std::unique_ptr<juce::AudioProcessor> processor;
    int32_t juceChunkIndex = 1;
    juce::MemoryBlock pendingChunk;
    bool hasPendingChunk = false;
    BlockSlicer slicer;
    double sampleRate = 44100.0;
    int preparedBlockLength = 0;
    int numInputs = 2;
    int numOutputs = 2;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LumarroAAXProcessor)
};
