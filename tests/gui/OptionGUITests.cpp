// The MIDI options panel: channel choice, learn switch, "Unlearn All" and the binding labels.

#include "EditorTestSupport.h"
#include "OptionGUI.h"

#include <gtest/gtest.h>

using EditorTestSupport::OpenEditor;

namespace
{
template <typename Kind>
Kind& child (juce::Component& panel, const char* name)
{
    for (auto* c : panel.getChildren())
        if (c->getName() == name)
            return dynamic_cast<Kind&> (*c);

    throw std::runtime_error (name);
}

/** Runs the message loop a little longer than one panel tick, so timers and async messages land. */
void letOneTickPass()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (OptionGUI::timerIntervalMs * 3);
}

/** Runs the message loop until the condition holds, or gives up after five seconds: on a loaded
    machine the panel's timer may fire later than one tick. */
template <typename Condition>
bool pumpUntil (Condition&& condition)
{
    for (int elapsed = 0; elapsed < 5000 && ! condition(); elapsed += OptionGUI::timerIntervalMs)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (OptionGUI::timerIntervalMs);

    return condition();
}

const std::pair<const char*, int> labelParameters[] = {
    { "labelLowPass", 5 }, { "labelDelayTime", 0 }, { "labelDelayFeedback", 1 }, { "labelPingPong", 4 },
    { "labelGain", 8 },    { "labelHighPass", 6 },  { "labelDryWet", 7 },        { "labelBalance", 3 },
    { "labelMode", 2 },
};
} // namespace

TEST (OptionPanel, ANewPanelSelectsTheProcessorsChannelAndLeavesOutOfRangeOnesAlone)
{
    const struct { int stored; int selected; const char* text; } rows[] = {
        { 0, 0, "All" }, { 5, 5, "5" }, { 16, 16, "16" }, { 17, -1, "" }, { -3, -1, "" },
    };

    for (const auto& r : rows)
    {
        SCOPED_TRACE (r.stored);
        SorvaneAudioProcessor processor;
        processor.idxMidiChannel = r.stored;
        OptionGUI panel (processor);
        letOneTickPass();

        auto& box = child<juce::ComboBox> (panel, "presetList");
        EXPECT_EQ (box.getNumItems(), 17);
        EXPECT_EQ (box.getSelectedItemIndex(), r.selected);
        EXPECT_EQ (box.getText(), r.text);
        EXPECT_EQ (processor.idxMidiChannel, r.stored);
    }
}

TEST (OptionPanel, ChoosingAChannelStoresItsNumber)
{
    SorvaneAudioProcessor processor;
    processor.idxMidiChannel = 17;
    OptionGUI panel (processor);
    auto& box = child<juce::ComboBox> (panel, "presetList");

    for (int index : { 16, 1, 0, 9 })
    {
        box.setSelectedItemIndex (index, juce::sendNotificationSync);
        EXPECT_EQ (processor.idxMidiChannel, index);
    }
}

TEST (OptionPanel, LabelsShowEachBindingWithinOneTick)
{
    SorvaneAudioProcessor processor;
    OptionGUI panel (processor);

    EXPECT_EQ (child<juce::Label> (panel, "labelHighPass").getText(), "Low cut: N/A");
    EXPECT_EQ (child<juce::Label> (panel, "labelDelayTime").getText(), "Time: N/A");

    processor.midiMap[SorvaneAudioProcessor::delayTimeIndex] = 7;
    processor.midiMap[SorvaneAudioProcessor::modeIndex] = -5;
    ASSERT_TRUE (pumpUntil ([&] { return child<juce::Label> (panel, "labelMode").getText() == "Mode: CC -5"; }));

    EXPECT_EQ (child<juce::Label> (panel, "labelDelayTime").getText(), "Time: CC 7");
    EXPECT_EQ (child<juce::Label> (panel, "labelMode").getText(), "Mode: CC -5");
    EXPECT_EQ (child<juce::Label> (panel, "labelGain").getText(), "Gain: N/A ");
    EXPECT_EQ (child<juce::Label> (panel, "labelHighPass").getText(), "Low Cut: N/A ");
    EXPECT_EQ (child<juce::Label> (panel, "labelLowPass").getText(), "High Cut: N/A ");
    EXPECT_EQ (child<juce::Label> (panel, "labelBalance").getText(), "Input Balance: N/A ");

    // Each label follows its own parameter's binding.
    for (const auto& [name, index] : labelParameters)
    {
        for (auto& controller : processor.midiMap)
            controller = -1;
        processor.midiMap[index] = 40 + index;
        const auto bound = "CC " + juce::String (40 + index);
        ASSERT_TRUE (pumpUntil ([&] { return child<juce::Label> (panel, name).getText().endsWith (bound); })) << name;

        for (const auto& [otherName, otherIndex] : labelParameters)
            EXPECT_EQ (child<juce::Label> (panel, otherName).getText().endsWith ("CC " + juce::String (40 + index)),
                       otherIndex == index)
                << name << " / " << otherName;
    }
}

TEST (OptionPanel, UnlearnAllClearsEveryBindingAndKeepsLearnOn)
{
    OpenEditor open;
    auto& panel = dynamic_cast<OptionGUI&> (*open.editor->getChildComponent (27));
    for (int i = 0; i < SorvaneAudioProcessor::numParameters; ++i)
        open.processor->midiMap[i] = 10 + i;

    open.editor->setMidiLearnMode (true);
    child<juce::Button> (panel, "unlearnButton").triggerClick();
    letOneTickPass();

    for (int controller : open.processor->midiMap)
        EXPECT_EQ (controller, -1);

    for (const auto& [name, index] : labelParameters)
        EXPECT_TRUE (child<juce::Label> (panel, name).getText().endsWith ("N/A ")) << name;

    EXPECT_TRUE (open.processor->midiLearnActive);
    EXPECT_TRUE (open.host.events.empty());
}

TEST (OptionPanel, TheLearnButtonSwitchesLearnOnlyThroughTheEditor)
{
    // Inside some other component the button toggles but reaches nothing.
    SorvaneAudioProcessor processor;
    juce::Component stranger;
    OptionGUI panel (processor);
    stranger.addAndMakeVisible (panel);

    auto& learn = child<juce::Button> (panel, "learnButton");
    learn.triggerClick();
    letOneTickPass();
    EXPECT_TRUE (learn.getToggleState());
    EXPECT_FALSE (processor.midiLearnActive);

    // Inside the editor it switches learn on and off.
    OpenEditor open;
    auto& editorPanel = dynamic_cast<OptionGUI&> (*open.editor->getChildComponent (27));
    auto& editorLearn = child<juce::Button> (editorPanel, "learnButton");
    editorLearn.triggerClick();
    letOneTickPass();
    EXPECT_TRUE (open.processor->midiLearnActive);
    editorLearn.triggerClick();
    letOneTickPass();
    EXPECT_FALSE (open.processor->midiLearnActive);
}
