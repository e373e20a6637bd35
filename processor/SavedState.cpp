#include "SavedState.h"

#include "ParameterTable.h"
#include "StateTextScreen.h"

#include <cmath>
#include <cstring>

namespace lumarro
{
namespace
{
    constexpr juce::uint32 stateMagic = 0x21324356;

    /** The parameters in the order their elements are written, values and controllers alike. */
    constexpr SorvaneAudioProcessor::ParameterIndex savedOrder[] {
        SorvaneAudioProcessor::highCutIndex,
        SorvaneAudioProcessor::lowCutIndex,
        SorvaneAudioProcessor::delayTimeIndex,
        SorvaneAudioProcessor::delayFeedbackIndex,
        SorvaneAudioProcessor::balanceIndex,
        SorvaneAudioProcessor::pingPongIndex,
        SorvaneAudioProcessor::dryWetIndex,
        SorvaneAudioProcessor::gainIndex,
        SorvaneAudioProcessor::modeIndex,
    };

    void addTextChild (juce::XmlElement& root, const char* name, const juce::String& text)
    {
        root.createNewChildElement (name)->addTextElement (text);
    }

    /** Truncates towards zero; values beyond the int range (or NaN) cannot be converted safely. */
    int32_t truncateToInt (float value) noexcept
    {
        if (std::isnan (value))
            return 0;

        return (int32_t) juce::jlimit (-2.0e9f, 2.0e9f, value);
    }

    /** Unwraps a saved block as JUCE's getXmlFromBinary does, but lets only a text that passes
        the screen reach the XML parser.
    */
    std::unique_ptr<juce::XmlElement> readStateDocument (const void* data, int sizeInBytes)
    {
        if (data == nullptr || sizeInBytes < 9 || juce::ByteOrder::littleEndianInt (data) != stateMagic)
            return {};

        const auto storedLength = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

        if (storedLength <= 0)
            return {};

        // The parser reads the text up to its first zero byte, so that is what the screen sees.
        const auto* text = static_cast<const char*> (data) + 8;
        const auto textLength = strnlen (text, (size_t) std::min (sizeInBytes - 8, storedLength));

        if (! isSafeStateText (text, textLength))
            return {};

        return juce::parseXML (juce::String::fromUTF8 (text, (int) textLength));
    }
}

void writeSavedState (juce::MemoryBlock& destData,
                      const RelaxedAtomic<float> (&parameterValues)[SorvaneAudioProcessor::numParameters],
                      const RelaxedAtomic<int32_t> (&midiMap)[SorvaneAudioProcessor::numParameters],
                      int32_t idxMidiChannel,
                      int32_t idxGUI)
{
    juce::XmlElement root ("Root");

    for (const auto index : savedOrder)
        addTextChild (root, parameterTable[index].stateElement, juce::String (parameterValues[index].load()));

    addTextChild (root, "idxMidiChannel", juce::String (idxMidiChannel));

    for (const auto index : savedOrder)
        addTextChild (root, parameterTable[index].midiMapElement, juce::String (midiMap[index].load()));

    addTextChild (root, "idxGUI", juce::String (idxGUI));

    // JUCE's copyXmlToBinary now puts a declaration in front; the saved block holds the
    // document alone, on one line: magic, length, text, zero.
    const auto text = root.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const auto textBytes = text.getNumBytesAsUTF8();

    destData.reset();
    juce::MemoryOutputStream out (destData, false);
    out.writeInt ((int) stateMagic);
    out.writeInt ((int) textBytes);
    out.write (text.toRawUTF8(), textBytes);
    out.writeByte (0);
}

bool readSavedState (const void* data, int sizeInBytes, const SavedStateTarget& target)
{
    const auto xml = readStateDocument (data, sizeInBytes);

    if (xml == nullptr)
        return false;

    for (const auto* child : xml->getChildIterator())
    {
        const auto text = child->getAllSubText();

        for (const auto& parameter : parameterTable)
        {
            if (child->hasTagName (parameter.stateElement))
                target.setParameter (parameter.index, text.getFloatValue());
            else if (child->hasTagName (parameter.midiMapElement))
                target.midiMap[parameter.index] = text.getIntValue();
        }

        if (child->hasTagName ("idxMidiChannel"))
            target.idxMidiChannel = text.getIntValue();
        else if (child->hasTagName ("idxGUI"))
            target.idxGUI = truncateToInt (text.getFloatValue());
    }

    return true;
}

} // namespace lumarro
