// The editor as a user and a host meet it: what it shows after opening, what reaches the host
// when its controls move, and what it reads back from the processor.

#include "EditorTestSupport.h"
#include "GuiTestSupport.h"
#include "OptionGUI.h"
#include "Oscillo.h"
#include "WelcomeGUI.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using EditorTestSupport::HostRecorder;
using EditorTestSupport::OpenEditor;
using Event = HostRecorder::Event;

namespace
{
enum class Kind { slider, imageButton, textButton, label, scope };

struct ComponentRow
{
    const char* name;
    Kind kind;
    juce::Rectangle<int> bounds;
};

const ComponentRow componentTable[] = {
    { "sliderDelayTime", Kind::slider, { 446, 124, 70, 70 } },
    { "sliderDelayFeedback", Kind::slider, { 295, 124, 70, 70 } },
    { "oscillo", Kind::scope, { 286, 224, 236, 83 } },
    { "buttonModeShort", Kind::imageButton, { 569, 177, 53, 18 } },
    { "buttonModeMedium", Kind::imageButton, { 569, 197, 53, 18 } },
    { "buttonModeLong", Kind::imageButton, { 569, 217, 53, 18 } },
    { "buttonModeSync", Kind::imageButton, { 569, 237, 53, 18 } },
    { "labelTmin", Kind::label, { 415, 199, 45, 18 } },
    { "labelTmax", Kind::label, { 505, 199, 48, 18 } },
    { "new button", Kind::textButton, { 0, 0, 166, 30 } },
    { "labelDelayTime", Kind::label, { 459, 199, 47, 18 } },
    { "labelDelayFeedback", Kind::label, { 307, 199, 47, 18 } },
    { "labelBalance", Kind::label, { 154, 46, 37, 12 } },
    { "labelPingPong", Kind::label, { 154, 89, 37, 12 } },
    { "labelLowCut", Kind::label, { 148, 148, 41, 12 } },
    { "labelHighCut", Kind::label, { 148, 192, 41, 12 } },
    { "labelOutput", Kind::label, { 154, 250, 37, 12 } },
    { "labelBalance", Kind::label, { 12, 59, 37, 12 } },
    { "buttonSwitchGUI", Kind::textButton, { 322, 74, 166, 32 } },
    { "buttonEngrenage", Kind::imageButton, { 593, 6, 18, 18 } },
    { "sliderBalance", Kind::slider, { 48, 47, 142, 40 } },
    { "sliderPingPong", Kind::slider, { 48, 90, 142, 40 } },
    { "sliderHighPass", Kind::slider, { 48, 149, 142, 40 } },
    { "sliderLowPass", Kind::slider, { 48, 193, 142, 40 } },
    { "sliderDryWet", Kind::slider, { 48, 251, 142, 40 } },
    { "sliderGain", Kind::slider, { 12, 71, 37, 196 } },
    { "sliderMode", Kind::slider, { 566, 175, 54, 82 } },
};

bool isKind (juce::Component* c, Kind kind)
{
    switch (kind)
    {
        case Kind::slider:      return dynamic_cast<juce::Slider*> (c) != nullptr;
        case Kind::imageButton: return dynamic_cast<juce::ImageButton*> (c) != nullptr;
        case Kind::textButton:  return dynamic_cast<juce::TextButton*> (c) != nullptr;
        case Kind::label:       return dynamic_cast<juce::Label*> (c) != nullptr;
        case Kind::scope:       return dynamic_cast<Oscillo*> (c) != nullptr;
    }
    return false;
}

#ifdef LUMARRO_DOCS_DIR
void saveDocsPicture (const juce::Image& image, const juce::String& name)
{
    const auto file = juce::File (LUMARRO_DOCS_DIR).getChildFile (name + ".png");
    file.getParentDirectory().createDirectory();
    juce::TemporaryFile temporary (file);
    {
        juce::FileOutputStream out (temporary.getFile());
        juce::PNGImageFormat().writeImageToStream (image, out);
    }
    // Written aside and moved in, so a reader never sees half a picture.
    temporary.overwriteTargetFileWithTemporary();
}
#endif

juce::String labelText (const OpenEditor& open, const char* name, size_t which = 0)
{
    return open.get<juce::Label> (name, which).getText();
}

juce::String gainLabelText (const OpenEditor& open)
{
    return labelText (open, "labelBalance", 1);
}

void setMode (SorvaneAudioProcessor& processor, DelayMode mode)
{
    constexpr float values[] = { 0.0f, 0.33f, 0.66f, 1.0f };
    processor.setParameter (SorvaneAudioProcessor::modeIndex, values[mode]);
}

/** The number a value label shows, in its base unit ("5.0 kHz" reads 5000). */
double labelReading (const juce::String& text)
{
    return text.getDoubleValue() * (text.endsWith ("kHz") ? 1000.0 : 1.0);
}

/** The cutoff in Hz that a filter coefficient stands for at the processor's rate. */
double cutoffOf (const SorvaneAudioProcessor& processor, float coefficient)
{
    return -std::log ((double) coefficient) * processor.currentSampleRate / (2.0 * juce::MathConstants<double>::pi);
}
} // namespace

//==============================================================================
TEST (EditorLayout, TheTwentySevenComponentsSitInOrderWithTheirNamesKindsAndBounds)
{
    OpenEditor open;
    auto& editor = *open.editor;

    EXPECT_EQ (editor.getWidth(), 620);
    EXPECT_EQ (editor.getHeight(), 305);
    ASSERT_EQ (editor.getNumChildComponents(), 29);

    for (int i = 0; i < 27; ++i)
    {
        auto* child = editor.getChildComponent (i);
        const auto& row = componentTable[i];
        SCOPED_TRACE (row.name);
        EXPECT_EQ (child->getName(), juce::String (row.name));
        EXPECT_TRUE (isKind (child, row.kind));
        EXPECT_EQ (child->getBounds(), row.bounds);
        EXPECT_EQ (child->isVisible(), juce::String (row.name) != "sliderMode");
    }

    auto* options = dynamic_cast<OptionGUI*> (editor.getChildComponent (27));
    auto* about = dynamic_cast<WelcomeGUI*> (editor.getChildComponent (28));
    ASSERT_NE (options, nullptr);
    ASSERT_NE (about, nullptr);
    EXPECT_FALSE (options->isVisible());
    EXPECT_FALSE (about->isVisible());
    EXPECT_EQ (options->getBounds(), juce::Rectangle<int> (300, 30, 320, 82));
    EXPECT_EQ (about->getBounds(), juce::Rectangle<int> (0, 0, 620, 305));
}

TEST (EditorLayout, OpeningShowsTheInitialTextsAndSendsNothingToTheHost)
{
    OpenEditor open;

    EXPECT_TRUE (open.host.events.empty());
    EXPECT_TRUE (open.processor->parametersChanged);
    EXPECT_EQ (labelText (open, "labelTmin"), "1/128");
    EXPECT_EQ (labelText (open, "labelDelayTime"), "100 ms");
    EXPECT_EQ (labelText (open, "labelHighCut"), "20.0 kHz");
    EXPECT_EQ (gainLabelText (open), "-90 dB");

    // The first ticks fill the controls without a word to the host either.
    open.tick();
    open.tick();
    EXPECT_TRUE (open.host.events.empty());
    EXPECT_FALSE (open.processor->parametersChanged);
    EXPECT_EQ (labelText (open, "labelDelayTime"), "0.10 s");
    EXPECT_FALSE (open.get<juce::Label> ("labelTmin").isVisible());
    EXPECT_FALSE (open.get<juce::Label> ("labelBalance").isVisible());
    EXPECT_TRUE (open.get<juce::Label> ("labelDelayTime").isVisible());
}

TEST (EditorLayout, TheModeOfTheProcessorPicksTheButtonAndTheKnobRange)
{
    auto processor = std::make_unique<SorvaneAudioProcessor>();
    setMode (*processor, Sync);
    OpenEditor open (std::move (processor));

    EXPECT_TRUE (open.get<juce::Button> ("buttonModeSync").getToggleState());
    EXPECT_FALSE (open.get<juce::Button> ("buttonModeMedium").getToggleState());
    EXPECT_EQ (open.get<juce::Slider> ("sliderDelayTime").getMaximum(), 24.0);

    setMode (*open.processor, Long);
    open.tick();
    EXPECT_TRUE (open.get<juce::Button> ("buttonModeLong").getToggleState());
    EXPECT_FALSE (open.get<juce::Button> ("buttonModeSync").getToggleState());
    EXPECT_DOUBLE_EQ (open.get<juce::Slider> ("sliderDelayTime").getMinimum(), 1.0);
    EXPECT_DOUBLE_EQ (open.get<juce::Slider> ("sliderDelayTime").getMaximum(), 3.0);
}

TEST (EditorLayout, EachBackgroundVariantOpensOnItsPictureAndIsKeptAsAnArtefact)
{
    for (int variant : { 0, 1 })
    {
        auto processor = std::make_unique<SorvaneAudioProcessor>();
        processor->idxGUI = variant;
        OpenEditor open (std::move (processor));
        open.tick();

        const auto snapshot = GuiTestSupport::render (*open.editor);
        GuiTestSupport::saveArtefact (snapshot, "editor-variant" + juce::String (variant));
       #ifdef LUMARRO_DOCS_DIR
        saveDocsPicture (snapshot, "editor-variant" + juce::String (variant));
       #endif

        // The picture covers the window: no pixel is left unpainted.
        EXPECT_EQ (open.editor->getGuiVariant(), variant);
        for (const auto& p : { juce::Point<int> (1, 1), juce::Point<int> (300, 150), juce::Point<int> (618, 303) })
            EXPECT_EQ (snapshot.getPixelAt (p.x, p.y).getAlpha(), 255);
    }
}

//==============================================================================
TEST (EditorControls, EverySliderSendsItsParameterInsideAGesture)
{
    OpenEditor open;
    open.tick();

    const struct { const char* name; int index; juce::Point<float> offset; } drags[] = {
        { "sliderDelayTime", SorvaneAudioProcessor::delayTimeIndex, { 0.0f, -30.0f } },
        { "sliderDelayFeedback", SorvaneAudioProcessor::delayFeedbackIndex, { 0.0f, -30.0f } },
        { "sliderBalance", SorvaneAudioProcessor::balanceIndex, { 40.0f, 0.0f } },
        { "sliderPingPong", SorvaneAudioProcessor::pingPongIndex, { 40.0f, 0.0f } },
        { "sliderHighPass", SorvaneAudioProcessor::lowCutIndex, { 40.0f, 0.0f } },
        { "sliderLowPass", SorvaneAudioProcessor::highCutIndex, { 40.0f, 0.0f } },
        { "sliderDryWet", SorvaneAudioProcessor::dryWetIndex, { 40.0f, 0.0f } },
        { "sliderGain", SorvaneAudioProcessor::gainIndex, { 0.0f, -50.0f } },
    };

    for (const auto& d : drags)
    {
        SCOPED_TRACE (d.name);
        open.host.events.clear();
        const auto from = open.centreOf (d.name);
        open.window.drag (from, from + d.offset);

        const auto& events = open.host.events;
        ASSERT_GE (events.size(), 3u);
        EXPECT_EQ (events.front().kind, Event::begin);
        EXPECT_EQ (events.back().kind, Event::end);

        for (const auto& e : events)
            EXPECT_EQ (e.index, d.index);

        for (size_t i = 1; i + 1 < events.size(); ++i)
            EXPECT_EQ (events[i].kind, Event::change);

        // What the host got last is what the processor holds now.
        EXPECT_FLOAT_EQ (events[events.size() - 2].value, open.processor->getParameter (d.index));
    }
}

TEST (EditorControls, SliderValuesMapOntoNormalisedParameters)
{
    OpenEditor open;
    open.tick();

    open.get<juce::Slider> ("sliderDelayFeedback").setValue (22.0, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (open.processor->getParameter (SorvaneAudioProcessor::delayFeedbackIndex), 0.2f);

    open.get<juce::Slider> ("sliderGain").setValue (-40.0, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (open.processor->getParameter (SorvaneAudioProcessor::gainIndex), 0.5f);

    open.get<juce::Slider> ("sliderDelayTime").setValue (0.55, juce::sendNotificationSync);
    EXPECT_NEAR (open.processor->getParameter (SorvaneAudioProcessor::delayTimeIndex), 0.5f, 1e-6f);

    setMode (*open.processor, Sync);
    open.tick();
    open.get<juce::Slider> ("sliderDelayTime").setValue (12.0, juce::sendNotificationSync);
    EXPECT_FLOAT_EQ (open.processor->getParameter (SorvaneAudioProcessor::delayTimeIndex), 0.5f);
}

TEST (EditorControls, TheActiveModeButtonStaysOnAndAnotherSendsItsModeOnce)
{
    OpenEditor open;
    open.tick();
    const char* buttons[] = { "buttonModeShort", "buttonModeMedium", "buttonModeLong", "buttonModeSync" };
    constexpr float values[] = { 0.0f, 0.33f, 0.66f, 1.0f };

    open.window.click (open.centreOf ("buttonModeMedium"));
    EXPECT_TRUE (open.get<juce::Button> ("buttonModeMedium").getToggleState());
    EXPECT_TRUE (open.host.events.empty());

    for (int mode : { 3, 0, 2, 1 })
    {
        open.host.events.clear();
        open.window.click (open.centreOf (buttons[mode]));

        // Mode goes out once; the processor re-sends the delay time for its new range beside it.
        int modeChanges = 0;
        for (const auto& e : open.host.events)
        {
            EXPECT_EQ (e.kind, Event::change);
            if (e.index == SorvaneAudioProcessor::modeIndex)
            {
                ++modeChanges;
                EXPECT_FLOAT_EQ (e.value, values[mode]);
            }
        }
        EXPECT_EQ (modeChanges, 1);

        open.tick();
        for (int other = 0; other < 4; ++other)
            EXPECT_EQ (open.get<juce::Button> (buttons[other]).getToggleState(), other == mode);
    }
}

TEST (EditorControls, TheBackgroundSwitchAlternatesAndIsKeptInTheProcessor)
{
    const struct { int stored; std::vector<int> then; } cases[] = {
        { 0, { 1, 0, 1 } },
        { 1, { 0, 1, 0 } },
        { 2, { 0, 1 } },
        { -1, { 0, 1 } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.stored);
        auto processor = std::make_unique<SorvaneAudioProcessor>();
        processor->idxGUI = c.stored;
        OpenEditor open (std::move (processor));
        EXPECT_EQ (open.editor->getGuiVariant(), c.stored);

        for (int expected : c.then)
        {
            open.window.click (open.centreOf ("buttonSwitchGUI"));
            EXPECT_EQ (open.processor->idxGUI, expected);
            EXPECT_EQ (open.editor->getGuiVariant(), expected);
        }
        EXPECT_TRUE (open.host.events.empty());
    }
}

TEST (EditorControls, TheAboutButtonShowsThePanelAndAClickOnItHidesIt)
{
    OpenEditor open;
    auto& about = dynamic_cast<WelcomeGUI&> (*open.editor->getChildComponent (28));

    open.window.click (open.centreOf ("new button"));
    EXPECT_TRUE (about.isVisible());
    open.window.click ({ 100.0f, 200.0f });
    EXPECT_FALSE (about.isVisible());
}

TEST (EditorControls, ControlsAnswerTheParameterTheyDrive)
{
    OpenEditor open;
    const std::pair<const char*, int> expected[] = {
        { "sliderDelayTime", 0 }, { "sliderDelayFeedback", 1 }, { "sliderMode", 2 }, { "sliderBalance", 3 },
        { "sliderPingPong", 4 },  { "sliderLowPass", 5 },       { "sliderHighPass", 6 }, { "sliderDryWet", 7 },
        { "sliderGain", 8 },      { "buttonModeShort", -1 },     { "oscillo", -1 },       { "labelBalance", -1 },
    };

    for (const auto& [name, index] : expected)
        EXPECT_EQ (open.editor->getControlParameterIndex (*open.named (name).at (0)), index) << name;

    juce::Slider stranger ("SliderGain");
    EXPECT_EQ (open.editor->getControlParameterIndex (stranger), -1);
}

//==============================================================================
TEST (EditorLabels, DelayTimeReadsInEachModesUnits)
{
    OpenEditor open;
    const struct { DelayMode mode; float value; const char* text; double sliderValue; } rows[] = {
        { Short, 0.0f, "5 ms", 0.005 },   { Short, 0.5f, "52 ms", 0.0525 },  { Short, 1.0f, "100 ms", 0.1 },
        { Normal, 0.5f, "0.55 s", 0.55 }, { Long, 1.0f, "3.00 s", 3.0 },    { Sync, 0.0f, "1/128", 0.0 },
        { Sync, 1.0f, "2/1", 24.0 },      { Sync, 0.5f, "1/8", 12.0 },
    };

    for (const auto& r : rows)
    {
        SCOPED_TRACE (r.text);
        setMode (*open.processor, r.mode);
        open.processor->setParameter (SorvaneAudioProcessor::delayTimeIndex, r.value);
        open.tick();
        EXPECT_EQ (labelText (open, "labelDelayTime"), r.text);
        EXPECT_NEAR (open.get<juce::Slider> ("sliderDelayTime").getValue(), r.sliderValue, 0.001);

        // The knob's seconds are the delay the engine was asked for, to its step of 1 ms.
        if (r.mode != Sync)
        {
            EXPECT_NEAR (open.get<juce::Slider> ("sliderDelayTime").getValue(),
                         open.processor->delayLine.targetDelay / open.processor->currentSampleRate, 0.0005);
        }
    }
}

TEST (EditorLabels, ARestoredDelayTimeOutsideItsRangeNamesTheNearestNoteValue)
{
    OpenEditor open;
    setMode (*open.processor, Sync);

    const struct { float value; const char* text; double slider; } rows[] = {
        { 7.5f, "2/1", 24.0 }, { -3.0f, "1/128", 0.0 }, { 1.0e30f, "2/1", 24.0 }, { -1.0e30f, "1/128", 0.0 },
    };

    for (const auto& r : rows)
    {
        SCOPED_TRACE (r.value);
        const juce::String document = "<Root><Mode>1</Mode><DelayTime>" + juce::String (r.value) + "</DelayTime></Root>";
        juce::MemoryBlock block;
        juce::AudioProcessor::copyXmlToBinary (*juce::parseXML (document), block);
        open.processor->setStateInformation (block.getData(), (int) block.getSize());
        open.host.events.clear();

        open.tick();
        EXPECT_EQ (labelText (open, "labelDelayTime"), r.text);
        EXPECT_EQ (open.get<juce::Slider> ("sliderDelayTime").getValue(), r.slider);
        EXPECT_TRUE (open.host.events.empty());
    }
}

TEST (EditorLabels, TheOtherValueLabelsReadTheirFormulas)
{
    OpenEditor open;
    auto& p = *open.processor;

    p.setParameter (SorvaneAudioProcessor::gainIndex, 0.9f);
    p.setParameter (SorvaneAudioProcessor::delayFeedbackIndex, 0.5f);
    p.setParameter (SorvaneAudioProcessor::highCutIndex, 0.0f);
    p.setParameter (SorvaneAudioProcessor::lowCutIndex, 0.0f);
    p.setParameter (SorvaneAudioProcessor::balanceIndex, 0.25f);
    p.setParameter (SorvaneAudioProcessor::pingPongIndex, 0.75f);
    p.setParameter (SorvaneAudioProcessor::dryWetIndex, 0.5f);
    open.tick();

    EXPECT_EQ (gainLabelText (open), "0 dB");
    EXPECT_EQ (labelText (open, "labelDelayFeedback"), "55 %");
    EXPECT_EQ (labelText (open, "labelHighCut"), "20.0 kHz");
    EXPECT_EQ (labelText (open, "labelLowCut"), "0 Hz");
    EXPECT_EQ (labelText (open, "labelBalance"), "25 %");
    EXPECT_EQ (labelText (open, "labelPingPong"), "75 %");
    EXPECT_EQ (labelText (open, "labelOutput"), "50 %");
    EXPECT_DOUBLE_EQ (open.get<juce::Slider> ("sliderGain").getValue(), 0.0);
    EXPECT_DOUBLE_EQ (open.get<juce::Slider> ("sliderDelayFeedback").getValue(), 55.0);

    p.setParameter (SorvaneAudioProcessor::gainIndex, 0.0f);
    p.setParameter (SorvaneAudioProcessor::highCutIndex, 0.5f);
    p.setParameter (SorvaneAudioProcessor::lowCutIndex, 1.0f);
    open.tick();
    EXPECT_EQ (gainLabelText (open), "-90 dB");
    EXPECT_EQ (labelText (open, "labelHighCut"), "5.0 kHz");
    EXPECT_EQ (labelText (open, "labelLowCut"), "500 Hz");

    p.setParameter (SorvaneAudioProcessor::highCutIndex, 1.0f);
    open.tick();
    EXPECT_EQ (labelText (open, "labelHighCut"), "500 Hz");
    EXPECT_TRUE (open.host.events.empty());
}

TEST (EditorLabels, EachControlAndLabelReadWhatTheEngineWasGiven)
{
    OpenEditor open;
    auto& p = *open.processor;
    const auto& line = p.delayLine;

    // The engine's target in the unit the editor shows it in, read back from the controls and from
    // the labels: these drop the fraction, or print kHz to a tenth. The filter sliders run over the
    // plain value, so for them only the label is read; the low-cut label reads from 0 Hz, not from
    // the filter's 20 Hz, and the two meet only at the top.
    const struct
    {
        int index;
        const char* slider;
        std::pair<const char*, size_t> label;
        std::function<double()> engine;
        double labelTolerance;
    } rows[] = {
        { SorvaneAudioProcessor::delayFeedbackIndex, "sliderDelayFeedback", { "labelDelayFeedback", 0 },
          [&] { return 100.0 * line.targetFeedback; }, 1.0 },
        { SorvaneAudioProcessor::balanceIndex, "sliderBalance", { "labelBalance", 0 },
          [&] { return 100.0 * p.targetBalance; }, 1.0 },
        { SorvaneAudioProcessor::pingPongIndex, "sliderPingPong", { "labelPingPong", 0 },
          [&] { return 100.0 * line.targetPingPong; }, 1.0 },
        { SorvaneAudioProcessor::dryWetIndex, "sliderDryWet", { "labelOutput", 0 },
          [&] { return 100.0 * line.targetMix; }, 1.0 },
        { SorvaneAudioProcessor::gainIndex, "sliderGain", { "labelBalance", 1 },
          [&] { return 20.0 * std::log10 (p.targetGain); }, 1.0 },
        { SorvaneAudioProcessor::highCutIndex, nullptr, { "labelHighCut", 0 },
          [&] { return cutoffOf (p, line.lowPassL.targetCoefficient); }, 50.0 },
        { SorvaneAudioProcessor::lowCutIndex, nullptr, { "labelLowCut", 0 },
          [&] { return cutoffOf (p, line.highPassL.targetCoefficient); }, 21.0 },
    };

    for (const auto& r : rows)
    {
        for (float value : { 0.0f, 0.5f, 1.0f })
        {
            SCOPED_TRACE (juce::String (r.label.first) + " at " + juce::String (value));
            p.setParameter (r.index, value);
            open.tick();

            if (r.slider != nullptr)
            {
                EXPECT_NEAR (open.get<juce::Slider> (r.slider).getValue(), r.engine(), 1e-3);
            }

            EXPECT_NEAR (labelReading (labelText (open, r.label.first, r.label.second)), r.engine(),
                         r.labelTolerance);
        }
    }

    EXPECT_EQ (labelText (open, "labelLowCut"), "500 Hz");
}

TEST (EditorLabels, TheRefreshRunsOnlyAfterAChange)
{
    OpenEditor open;
    open.tick();

    // A label changed behind the editor's back stays as it is until the processor reports a change.
    open.get<juce::Label> ("labelDelayFeedback").setText ("x", juce::dontSendNotification);
    open.tick();
    EXPECT_EQ (labelText (open, "labelDelayFeedback"), "x");

    open.processor->parametersChanged = true;
    open.tick();
    EXPECT_EQ (labelText (open, "labelDelayFeedback"), "55 %");
}

TEST (EditorLabels, HoveringAModeButtonShowsItsRange)
{
    OpenEditor open;
    const struct { const char* button; const char* low; const char* high; } rows[] = {
        { "buttonModeShort", "5 ms", "100 ms" },
        { "buttonModeMedium", "0.1 s", "1 s" },
        { "buttonModeLong", "1 s", "3 s" },
        { "buttonModeSync", "1/128", "2/1" },
    };

    for (const auto& r : rows)
    {
        open.window.moveMouseTo (open.centreOf (r.button));
        open.tick();
        EXPECT_TRUE (open.get<juce::Label> ("labelTmin").isVisible());
        EXPECT_TRUE (open.get<juce::Label> ("labelTmax").isVisible());
        EXPECT_EQ (labelText (open, "labelTmin"), r.low);
        EXPECT_EQ (labelText (open, "labelTmax"), r.high);
    }

    open.window.moveMouseTo ({ 300.0f, 20.0f });
    open.tick();
    EXPECT_FALSE (open.get<juce::Label> ("labelTmin").isVisible());
    EXPECT_FALSE (open.get<juce::Label> ("labelTmax").isVisible());
}

TEST (EditorLabels, AValueLabelShowsOnlyWhileItsSliderIsHovered)
{
    OpenEditor open;
    const std::pair<const char*, std::pair<const char*, size_t>> pairs[] = {
        { "sliderGain", { "labelBalance", 1 } },   { "sliderBalance", { "labelBalance", 0 } },
        { "sliderPingPong", { "labelPingPong", 0 } }, { "sliderLowPass", { "labelHighCut", 0 } },
        { "sliderHighPass", { "labelLowCut", 0 } }, { "sliderDryWet", { "labelOutput", 0 } },
    };

    for (const auto& [slider, label] : pairs)
    {
        SCOPED_TRACE (slider);
        open.window.moveMouseTo (open.centreOf (slider));
        open.tick();

        for (const auto& [otherSlider, otherLabel] : pairs)
            EXPECT_EQ (open.get<juce::Label> (otherLabel.first, otherLabel.second).isVisible(), otherSlider == slider);
    }
}

//==============================================================================
TEST (EditorLearn, TheTargetFollowsTheSliderUnderTheMouse)
{
    OpenEditor open;
    open.tick();
    open.window.moveMouseTo (open.centreOf ("sliderBalance"));
    open.tick();

    open.editor->setMidiLearnMode (true);
    EXPECT_TRUE (open.processor->midiLearnActive);
    EXPECT_TRUE (open.get<juce::Slider> ("sliderMode").isVisible());
    EXPECT_TRUE ((bool) open.get<juce::Slider> ("sliderGain").getProperties()["midiLearnOn"]);

    const std::pair<const char*, int> targets[] = {
        { "sliderGain", 8 }, { "sliderDelayTime", 0 }, { "sliderLowPass", 5 }, { "sliderMode", 2 }, { "oscillo", -1 },
    };

    for (const auto& [name, index] : targets)
    {
        open.window.moveMouseTo (open.centreOf (name));
        open.tick();
        EXPECT_EQ (open.processor->midiLearnIndex, index) << name;
    }

    // The hover labels keep the state they had when learn was switched on.
    EXPECT_TRUE (open.get<juce::Label> ("labelBalance").isVisible());
    EXPECT_FALSE (open.get<juce::Label> ("labelBalance", 1).isVisible());

    // The mode control over the buttons sends "Mode" directly, without a gesture.
    open.host.events.clear();
    const auto modeCentre = open.centreOf ("sliderMode");
    open.window.drag (modeCentre, modeCentre + juce::Point<float> (0.0f, -150.0f));
    int modeChanges = 0;
    for (const auto& e : open.host.events)
    {
        EXPECT_EQ (e.kind, Event::change);
        modeChanges += e.index == SorvaneAudioProcessor::modeIndex ? 1 : 0;
    }
    EXPECT_GT (modeChanges, 0);
    EXPECT_EQ (open.processor->currentMode, Long);

    open.editor->setMidiLearnMode (false);
    EXPECT_FALSE (open.processor->midiLearnActive);
    EXPECT_EQ (open.processor->midiLearnIndex, -1);
    EXPECT_FALSE (open.get<juce::Slider> ("sliderMode").isVisible());
    EXPECT_FALSE ((bool) open.get<juce::Slider> ("sliderGain").getProperties()["midiLearnOn"]);
}

TEST (EditorLearn, ClosingTheEditorSwitchesLearnOff)
{
    OpenEditor open;
    open.editor->setMidiLearnMode (true);
    open.window.moveMouseTo (open.centreOf ("sliderGain"));
    open.tick();
    ASSERT_EQ (open.processor->midiLearnIndex, 8);

    open.window.moveMouseAway();
    open.closeEditor();
    EXPECT_FALSE (open.processor->midiLearnActive);
    EXPECT_EQ (open.processor->midiLearnIndex, -1);
}

TEST (EditorLearn, TheGearOpensTheOptionsAndClosingThemSwitchesLearnOff)
{
    OpenEditor open;
    auto& options = dynamic_cast<OptionGUI&> (*open.editor->getChildComponent (27));
    const juce::Point<float> learnButton (300.0f + 11.0f + 34.0f, 30.0f + 2.0f + 8.0f);

    open.window.click (open.centreOf ("buttonEngrenage"));
    EXPECT_TRUE (options.isVisible());
    EXPECT_TRUE (open.get<juce::Button> ("buttonEngrenage").getToggleState());

    open.window.click (learnButton);
    EXPECT_TRUE (open.processor->midiLearnActive);
    EXPECT_TRUE (open.get<juce::Slider> ("sliderMode").isVisible());

    open.window.click (open.centreOf ("buttonEngrenage"));
    EXPECT_FALSE (options.isVisible());
    EXPECT_FALSE (open.get<juce::Button> ("buttonEngrenage").getToggleState());
    EXPECT_FALSE (open.processor->midiLearnActive);
    EXPECT_EQ (open.processor->midiLearnIndex, -1);
    EXPECT_FALSE (open.get<juce::Slider> ("sliderMode").isVisible());

    // Reopened, the panel starts with learn off, and a click switches it on again.
    open.window.click (open.centreOf ("buttonEngrenage"));
    open.window.click (learnButton);
    EXPECT_TRUE (open.processor->midiLearnActive);
    open.window.click (learnButton);
    EXPECT_FALSE (open.processor->midiLearnActive);
}

//==============================================================================
TEST (EditorLookAndFeel, EditorsShareOneDefaultThatOutlivesEachAndIsHandedBack)
{
    auto& before = juce::LookAndFeel::getDefaultLookAndFeel();

    auto first = std::make_unique<OpenEditor>();
    auto& shared = juce::LookAndFeel::getDefaultLookAndFeel();
    EXPECT_NE (&shared, &before);
    EXPECT_NE (dynamic_cast<AltLookAndFeel*> (&shared), nullptr);
    EXPECT_EQ (&first->get<juce::Label> ("labelTmin").getLookAndFeel(), &shared);

    {
        OpenEditor second;
        EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &shared);
    }

    // The first editor is still open and still draws with the shared look.
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &shared);
    EXPECT_EQ (&first->get<juce::Label> ("labelTmin").getLookAndFeel(), &shared);
    GuiTestSupport::render (*first->editor);

    first = nullptr;
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &before);

    // A new editor after every other has closed draws with a live look again.
    OpenEditor again;
    EXPECT_NE (dynamic_cast<AltLookAndFeel*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
    GuiTestSupport::render (*again.editor);
}
