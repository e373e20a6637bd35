#pragma once

#include "SorvaneAudioProcessor.h"

#include <cstdint>
#include <functional>

namespace lumarro
{

/** The block a host keeps with its session: a magic number, the length of the text, an XML
    document on one line with no declaration, and a zero byte. The document's root "Root" holds
    one text element per setting: the nine parameter values, the MIDI channel filter, the nine
    bound controllers and the editor's background.
*/
void writeSavedState (juce::MemoryBlock& destData,
                      const RelaxedAtomic<float> (&parameterValues)[SorvaneAudioProcessor::numParameters],
                      const RelaxedAtomic<int32_t> (&midiMap)[SorvaneAudioProcessor::numParameters],
                      int32_t idxMidiChannel,
                      int32_t idxGUI);

/** Where the settings of a loaded block go. Each parameter value passes through setParameter in
    the document's order, so that it takes effect as host automation would (a Mode re-maps the
    delay time); the other settings are stored as read.
*/
struct SavedStateTarget
{
    std::function<void (int parameterIndex, float value)> setParameter;
    RelaxedAtomic<int32_t> (&midiMap)[SorvaneAudioProcessor::numParameters];
    RelaxedAtomic<int32_t>& idxMidiChannel;
    RelaxedAtomic<int32_t>& idxGUI;
};

/** Applies the settings of a block. Element names match without regard to case, the root's
    name is not checked, and unknown elements are skipped. A block that is malformed, or whose
    text the screen refuses (see isSafeStateText), changes nothing and gives false.
*/
bool readSavedState (const void* data, int sizeInBytes, const SavedStateTarget& target);

} // namespace lumarro
