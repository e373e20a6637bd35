#include "ACFExports.h"
#include "AaxProcessRecords.h"
#include "LumarroAAXGUI.h"
#include "LumarroAAXProcessor.h"

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter();

namespace
{
    constexpr uint32_t fourCharCode (const char (&code)[5]) noexcept
    {
        return ((uint32_t) (uint8_t) code[0] << 24) | ((uint32_t) (uint8_t) code[1] << 16)
             | ((uint32_t) (uint8_t) code[2] << 8) | (uint32_t) (uint8_t) code[3];
    }

    constexpr char effectIdentifier[] = "com.Quellory.Lumarro";
    constexpr char makerName[] = "Quellory";
    constexpr char productName[] = "QY - Lumarro";
    constexpr char shortProductName[] = "Lumarro";
    constexpr uint32_t productVersion = 0x00010100;
    constexpr uint32_t delayCategory = 0x10;

    constexpr uint32_t guiProcedureKind = 1;
    constexpr uint32_t effectParametersProcedureKind = 0;

    enum PropertyId : uint32_t
    {
        makerCodeProperty = 11,
        productCodeProperty = 12,
        nativeProcessIdProperty = 13,
        nativeProcessIdProperty2 = 14,
        inputLayoutProperty = 51,
        outputLayoutProperty = 52,
        canBypassProperty = 60,
        usesTransportProperty = 304
    };

    constexpr uint32_t layoutCode (uint32_t channels) noexcept
    {
        return channels == 1 ? 0x00000001u : 0x00010002u;
    }

    struct ChannelConfiguration
    {
        uint32_t inputs;
        uint32_t outputs;
    };

    constexpr ChannelConfiguration configurations[] { { 2, 2 }, { 1, 2 }, { 1, 1 } };

    // Creation procedures: the new component with no reference yet; the host takes its own by query.
    IACFUnknown* createEffectParameters()
    {
        try
        {
            std::unique_ptr<juce::AudioProcessor> processor (createPluginFilter());

            if (processor == nullptr)
                return nullptr;

            return (new LumarroAAXProcessor (std::move (processor)))->getOuterUnknown();
        }
        catch (...)
        {
            return nullptr;
        }
    }

    IACFUnknown* createGui()
    {
        try
        {
            return (new LumarroAAXGUI())->getOuterUnknown();
        }
        catch (...)
        {
            return nullptr;
        }
    }

    void processInstances (void* const* instancesBegin, const void* instancesEnd)
    {
        if (instancesBegin == nullptr)
            return;

        for (auto* it = instancesBegin; it < static_cast<void* const*> (instancesEnd); ++it)
        {
            const auto* record = static_cast<const AaxInstanceRecord*> (*it);

            if (record == nullptr || record->privateData == nullptr)
                continue;

            // The host's private block holds the instance that fillFieldData wrote into it.
            if (auto* instance = static_cast<LumarroAAXProcessor*> (*record->privateData))
                instance->process (*record);
        }
    }

    void describeComponent (AAX_IComponentDescriptor& component, uint32_t index, const ChannelConfiguration& channels)
    {
        component.addAudioInputField (AaxInstanceRecord::inputsField);
        component.addAudioOutputField (AaxInstanceRecord::outputsField);
        component.addBufferLengthField (AaxInstanceRecord::blockLengthField);
        component.addDataInputField (AaxInstanceRecord::bypassField, sizeof (int32_t), 1);
        component.addMidiNodeField (AaxInstanceRecord::midiInputField, 0, shortProductName, 0xFFFF);
        component.addPrivateDataField (AaxInstanceRecord::privateDataField, sizeof (void*), 0);

        auto* properties = component.newPropertyMap();
        properties->addProperty (makerCodeProperty, fourCharCode ("QuLy"));
        properties->addProperty (productCodeProperty, fourCharCode ("QyLu"));
        properties->addProperty (canBypassProperty, 1);
        properties->addProperty (inputLayoutProperty, layoutCode (channels.inputs));
        properties->addProperty (outputLayoutProperty, layoutCode (channels.outputs));
        properties->addProperty (nativeProcessIdProperty, fourCharCode ("jcaa") + index);
        properties->addProperty (nativeProcessIdProperty2, fourCharCode ("jyaa") + index);
        properties->addProperty (usesTransportProperty, 1);

        component.addProcessProcedure (&processInstances, properties, nullptr, nullptr, nullptr);
    }
}

ResultCode GetEffectDescriptions (AAX_ICollection* collection)
{
    if (collection == nullptr)
        return resultNullPointer;

    auto* effect = collection->newEffectDescription();
    effect->addName (productName);
    effect->addName (shortProductName);
    effect->addCategory (delayCategory);
    effect->addCreationProcedure (&createGui, guiProcedureKind);
    effect->addCreationProcedure (&createEffectParameters, effectParametersProcedureKind);

    for (uint32_t index = 0; index < std::size (configurations); ++index)
    {
        auto* component = effect->newComponentDescriptor();
        describeComponent (*component, index, configurations[index]);
        effect->addComponent (component);
    }

    collection->addEffectDescription (effectIdentifier, effect);
    collection->setMakerName (makerName);
    collection->addProductName (productName);
    collection->addProductName (shortProductName);
    collection->setProductVersion (productVersion);
    return resultSuccess;
}
