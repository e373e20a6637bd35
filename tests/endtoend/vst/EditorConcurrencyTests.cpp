// The editor open in a host's window while the host's other threads work the same instance: its
// timers and paints run beside the audio, the automation and the state calls, on the host's idle
// calls or on the plug-in's own fallback thread, while a user switches MIDI learn on and off over
// the feedback knob.

#include "EditorView.h"
#include "VstHostRoads.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>

namespace
{
constexpr int32_t feedbackIndex = 1;

const juce::Point<int> gear (602, 15), learnButton (345, 40), feedbackKnob (330, 159);
const juce::Rectangle<int> optionsArea (300, 30, 320, 82), learnButtonArea (311, 32, 68, 17);

/** The host's GUI thread between a user's steps: idle calls, or nothing while the plug-in's fallback runs the editor. */
using Wait = std::function<void (int ms)>;

template <typename Condition>
bool waitUntil (const Wait& wait, Condition condition)
{
    // A sanitized build paints far slower; only a failure waits the whole time.
    for (int waited = 0; waited < 10000; waited += 50)
    {
        if (condition())
            return true;

        wait (50);
    }

    return false;
}

bool painted (EditorView& view, const Wait& wait)
{
    return waitUntil (wait, [&]
    {
        const auto shown = view.capture();
        return std::set<uint32_t> (shown.begin(), shown.end()).size() > 100;
    });
}

/** Rests the pointer on a point, clicks there and waits until the area shows the click. */
bool clickAndSee (EditorView& view, juce::Point<int> at, juce::Rectangle<int> area, const Wait& wait)
{
    view.movePointer (at);
    wait (100);
    const auto before = view.capture (area);
    x11().pressButton();
    x11().releaseButton();
    return waitUntil (wait, [&] { return view.capture (area) != before; });
}

/** Whether a controller has moved the feedback from inside the plug-in: only learning binds one to it. */
bool feedbackMovedByMidi (const SubstituteHost& host)
{
    const auto automated = host.callsWithOpcode (0);
    return std::any_of (automated.begin(), automated.end(), [] (const auto& c) { return c.index == feedbackIndex; });
}

/** A user opens the options, then twice switches learn on, rests on the feedback knob until a
    controller the audio carries is learned for it, and switches learn off. */
void learnOverTheFeedbackKnob (EditorView& view, const Wait& wait)
{
    EXPECT_TRUE (clickAndSee (view, gear, optionsArea, wait)) << "the options opened";

    for (int round = 0; round < 2; ++round)
    {
        EXPECT_TRUE (clickAndSee (view, learnButton, learnButtonArea, wait)) << "learn switched on";
        view.movePointer (feedbackKnob);
        wait (100);
        EXPECT_TRUE (waitUntil (wait, [&] { return feedbackMovedByMidi (view.host); })) << "a controller was learned";
        EXPECT_TRUE (clickAndSee (view, learnButton, learnButtonArea, wait)) << "learn switched off";
    }
}

/** Whether the host sends its idle calls. */
using EditorUnderLoad = LoadedOnTheDisplay<testing::TestWithParam<bool>>;
} // namespace

TEST_P (EditorUnderLoad, RunsBesideEveryHostThreadAndLearnsTheControllersTheAudioCarries)
{
    VstHostRoads roads (*library);
    EditorView view (roads.host, 0, 0);
    ASSERT_EQ (view.opened, 1);

    const Wait wait = [&] (int ms)
    {
        if (GetParam())
            idle ({ &roads.host }, ms);
        else
            sleepMs (ms);
    };

    ASSERT_TRUE (painted (view, wait));

    const auto result = concurrency::runTogether (roads, std::chrono::milliseconds (300),
                                                  [&] { learnOverTheFeedbackKnob (view, wait); });
    concurrency::expectRunHeld (roads, result);
}

INSTANTIATE_TEST_SUITE_P (Pumped, EditorUnderLoad, testing::Values (true, false),
                          [] (const auto& info) { return info.param ? "OnTheHostsIdleCalls" : "OnTheFallbackThread"; });

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    testing::AddGlobalTestEnvironment (new PrivateDisplay());
    return RUN_ALL_TESTS();
}
