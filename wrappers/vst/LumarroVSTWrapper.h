#pragma once

#include "AudioEffectX.h"
#include "BlockSlicer.h"
#include "EditorMessagePump.h"
#include "HostWindowEmbedding.h"
#include "VstHostRecords.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>
#include <optional>

/** The plug-in as a VST 2.4 host sees it: one processor per instance, driven through the
    effect base. It is the processor's listener (changes made inside the plug-in go out to
    the host) and its play head (the host's transport comes in).
*/
class LumarroVSTWrapper : public AudioEffectX,
                          private juce::AudioProcessorListener,
                          private juce::AudioPlayHead
{
public:
    static constexpr int32_t uniqueId = 0x51794C75; // 'QyLu'
    static constexpr int32_t pluginVersion = 110;
    static constexpr int numChannels = 2;
    static constexpr int16_t editorWidth = 620;
    static constexpr int16_t editorHeight = 305;
    /** The most MIDI events one block takes in, over all the event lists sent before it: no more
        than a slice takes, so a block's buffer never grows either. Later ones are dropped. */
    static constexpr int maxMidiEventsPerBlock = BlockSlicer::maxMidiEventsPerSlice;

    /** Takes ownership of the processor; the host callback may be null. */
    LumarroVSTWrapper (VstHostCallback callback, std::unique_ptr<juce::AudioProcessor> processorToUse);
    ~LumarroVSTWrapper() override;

    juce::AudioProcessor& getProcessor() noexcept { return *processor; }

    intptr_t dispatchHostOpcode (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    void openEffect() override;
    void resumeProcessing() override;
    void suspendProcessing() override;
    void changeSampleRate (float rate) override;
    void changeBlockSize (int32_t size) override;
    void processFloatBlock (float** inputs, float** outputs, int32_t frames) override;
    int32_t handleEvents (VstEventListRecord* events) override;

    void applyParameter (int32_t index, float value) override;
    float readParameter (int32_t index) override;
    bool parameterAutomatable (int32_t index) override;
    void writeParameterLabel (int32_t index, char* text) override;
    void writeParameterText (int32_t index, char* text) override;
    void writeParameterName (int32_t index, char* text) override;

    int32_t currentProgramIndex() override;
    void selectProgram (int32_t program) override;
    void renameProgram (char* name) override;
    void writeProgramName (char* name) override;
    bool writeProgramNameAt (int32_t category, int32_t index, char* text) override;

    int32_t saveChunk (void** data, bool isPreset) override;
    int32_t loadChunk (void* data, int32_t byteSize, bool isPreset) override;

    bool writeEffectName (char* text) override;
    bool writeVendorName (char* text) override;
    bool writeProductName (char* text) override;
    int32_t vendorVersion() override;
    int32_t plugCategory() override;
    int32_t answerCanDo (char* text) override;
    bool describeInputPin (int32_t index, VstPinPropertiesRecord* properties) override;
    bool describeOutputPin (int32_t index, VstPinPropertiesRecord* properties) override;

private:
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override;
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    juce::Optional<PositionInfo> getPosition() const override;

    intptr_t dispatchEditorOpcode (int32_t opcode, void* ptr);
    bool openEditor (void* parentWindow);
    void closeEditor();
    bool describePin (int32_t index, bool isInput, VstPinPropertiesRecord* properties);
    void prepareAfresh();
    void restartIfProcessing();

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    juce::SharedResourcePointer<EditorMessagePump> messagePump;
    std::unique_ptr<juce::AudioProcessor> processor;
    std::unique_ptr<juce::AudioProcessorEditor> editorWindow;
    std::optional<HostWindowEmbedding> editorEmbedding;
    VstEditorRectRecord editorRect { 0, 0, editorHeight, editorWidth };
    juce::MidiBuffer incomingMidi;
    BlockSlicer slicer;
    int numIncomingMidiEvents = 0;
    /** Between a resume and a suspend; a host may switch it on one thread and set the rate on another. */
    std::atomic<bool> processing { false };
    juce::MemoryBlock chunkMemory;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LumarroVSTWrapper)
};
