#pragma once

#include "HeadlessWindow.h"
#include "SorvaneAudioProcessor.h"
#include "SorvaneAudioProcessorEditor.h"

#include <memory>
#include <vector>

namespace EditorTestSupport
{
/** What the host hears from the processor: parameter changes and gestures, in order. */
struct HostRecorder : public juce::AudioProcessorListener
{
    struct Event
    {
        enum Kind { change, begin, end } kind;
        int index;
        float value;
    };

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        events.push_back ({ Event::change, index, value });
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        events.push_back ({ Event::begin, index, 0.0f });
    }

    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override
    {
        events.push_back ({ Event::end, index, 0.0f });
    }

    std::vector<Event> events;
};

/** A processor with its editor open in a display-less window at (0, 0), the host listening. */
struct OpenEditor
{
    OpenEditor() : OpenEditor (std::make_unique<SorvaneAudioProcessor>()) {}

    explicit OpenEditor (std::unique_ptr<SorvaneAudioProcessor> processorToUse)
        : processor (std::move (processorToUse))
    {
        processor->addListener (&host);
        editor.reset (static_cast<SorvaneAudioProcessorEditor*> (processor->createEditor()));
        window.addAndMakeVisible (*editor);
    }

    ~OpenEditor()
    {
        window.moveMouseAway();
        closeEditor();
        processor->removeListener (&host);
    }

    void closeEditor()
    {
        if (editor != nullptr)
            processor->editorBeingDeleted (editor.get());
        editor = nullptr;
    }

    void tick() { editor->timerCallback(); }

    /** The editor's direct children with this component name, in z-order. */
    std::vector<juce::Component*> named (const juce::String& name) const
    {
        std::vector<juce::Component*> found;
        for (auto* child : editor->getChildren())
            if (child->getName() == name)
                found.push_back (child);
        return found;
    }

    template <typename Kind>
    Kind& get (const juce::String& name, size_t which = 0) const
    {
        return dynamic_cast<Kind&> (*named (name).at (which));
    }

    juce::Point<float> centreOf (const juce::String& name, size_t which = 0) const
    {
        return named (name).at (which)->getBounds().getCentre().toFloat();
    }

    std::unique_ptr<SorvaneAudioProcessor> processor;
    HostRecorder host;
    HeadlessWindow window { { 0, 0, SorvaneAudioProcessorEditor::editorWidth, SorvaneAudioProcessorEditor::editorHeight } };
    std::unique_ptr<SorvaneAudioProcessorEditor> editor;
};
} // namespace EditorTestSupport
