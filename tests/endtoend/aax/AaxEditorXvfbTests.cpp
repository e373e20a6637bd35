// The AAX GUI in a host's X11 window on a private X server: the built plug-in is loaded by the
// substitute AAX host, which hands the GUI a view container of kind 1 holding its window.

#include "AaxPluginHost.h"
#include "PrivateDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

using namespace aaxplugin;

namespace
{
X11HostSession& x11() { return PrivateDisplay::session(); }

void sleepMs (int ms)
{
    std::this_thread::sleep_for (std::chrono::milliseconds (ms));
}

// The GUI's own message thread answers X events whenever it gets to them; a loaded machine can
// take far longer than usual, so wait for the outcome rather than for a fixed time.
template <typename Condition>
bool waitUntil (Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);

    while (! condition())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;

        sleepMs (20);
    }

    return true;
}

std::vector<int> positionsOf (const std::vector<aaxtest::HostCall>& calls)
{
    std::vector<int> positions;

    for (const auto& c : calls)
        positions.push_back (c.position);

    return positions;
}
} // namespace

TEST (AaxEditorInHost, OpensInTheHostsViewAndADragOnAKnobReachesTheHostsViewAndAutomation)
{
    aaxtest::SubstituteAaxHost host;
    host.controller.setOutputs (4, { 48000.0 });
    auto library = std::make_unique<PluginLibrary> (LUMARRO_PLUGIN_PATH);
    ASSERT_EQ (library->startup (host.hostUnknown()), resultSuccess);
    IACFUnknown* definition = nullptr;
    ASSERT_EQ (library->registerPlugin (host.hostUnknown(), &definition), resultSuccess);
    const auto registration = Registration::readFrom (host);

    {
        Instance instance (registration, host);
        ControllerWithEffect controller (*host.controllerUnknown(), reinterpret_cast<IACFUnknown*> (instance.effect));

        const auto window = x11().createWindow (0, 0, 620, 305);
        host.viewContainer.setResult (3, 1);
        host.viewContainer.setResult (4, (std::int64_t) window);

        AAX_IACFEffectGUI* gui = nullptr;
        ASSERT_EQ (registration.createGui()->queryInterface (kEffectGUIInterfaceId, reinterpret_cast<void**> (&gui)), resultSuccess);
        ASSERT_EQ (gui->initialize (&controller), resultSuccess);

        const auto blank = x11().capture (0, 0, 620, 305);
        ASSERT_EQ (gui->setViewContainer (host.viewContainerUnknown()), resultSuccess);

        // The editor painted itself into the host's window, and the host heard its size.
        EXPECT_TRUE (waitUntil ([&]
        {
            const auto shown = x11().capture (0, 0, 620, 305);
            return shown != blank && std::set<std::uint32_t> (shown.begin(), shown.end()).size() > 100;
        }));
        const auto containerSlots = positionsOf (host.viewContainer.operationCalls());
        EXPECT_NE (std::find (containerSlots.begin(), containerSlots.end(), 6), containerSlots.end());

        AAX_Point size {};
        ASSERT_EQ (gui->viewSize (&size), resultSuccess);
        EXPECT_EQ (size.vertical, 305.0f);
        EXPECT_EQ (size.horizontal, 620.0f);

        for (const auto* id : { "MasterBypassID", "0", "1", "2", "3", "4", "5", "6", "7", "8" })
            EXPECT_EQ (gui->parameterUpdated (id), resultSuccess);

        // A drag on the feedback knob: the press, moves and release reach the host's view with the
        // knob's parameter id, and the value changes reach its automation inside a touch.
        host.viewContainer.clearCalls();
        host.automationDelegate.clearCalls();
        x11().giveFocus (window);
        x11().movePointer (330, 159);
        sleepMs (150);
        x11().pressButton();
        sleepMs (100);

        for (int y = 155; y >= 115; y -= 8)
        {
            x11().movePointer (330, y);
            sleepMs (40);
        }

        x11().releaseButton();

        const auto mouseUpReached = [&]
        {
            for (const auto& c : host.viewContainer.operationCalls())
                if (c.position == 9)
                    return true;

            return false;
        };

        EXPECT_TRUE (waitUntil (mouseUpReached));

        // The host keeps its keyboard: the press left the focus in its window, and a key typed
        // over the editor reaches that window.
        EXPECT_EQ (x11().focusedWindow(), window);
        x11().typeKey();
        EXPECT_TRUE (x11().keyPressReached (window));

        const auto automation = positionsOf (host.automationDelegate.operationCalls());
        ASSERT_GE (automation.size(), 3u);
        EXPECT_EQ (automation.front(), 7);
        EXPECT_EQ (automation.back(), 8);
        EXPECT_NE (std::find (automation.begin(), automation.end(), 5), automation.end());

        std::vector<std::string> mouse;

        for (const auto& c : host.viewContainer.operationCalls())
            if (c.position >= 7)
                mouse.push_back (std::to_string (c.position) + " " + c.arguments.substr (0, c.arguments.find (',')));

        ASSERT_FALSE (mouse.empty());
        EXPECT_EQ (mouse.front(), "7 \"1\"");
        EXPECT_NE (std::find (mouse.begin(), mouse.end(), "8 \"1\""), mouse.end());
        EXPECT_EQ (mouse.back(), "9 \"1\"");

        EXPECT_EQ (gui->setViewContainer (nullptr), resultSuccess);
        EXPECT_EQ (gui->uninitialize(), resultSuccess);
        EXPECT_EQ (gui->release(), 0u);
        x11().destroyWindow (window);
    }

    definition->release();
    EXPECT_EQ (library->canUnloadNow (nullptr), 0);
    EXPECT_EQ (library->shutdown (nullptr), resultSuccess);
    library = nullptr;
    EXPECT_EQ (host.unbalancedReferences(), "");
    EXPECT_EQ (X11HostSession::errorCount(), 0);
}

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    testing::AddGlobalTestEnvironment (new PrivateDisplay());
    return RUN_ALL_TESTS();
}
