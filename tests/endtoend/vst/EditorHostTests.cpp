// The editor inside a host's X11 window, driven the way a user drives it: the built plug-in is
// loaded into the substitute host, its editor opened in a host-made window on a private X
// server, and real pointer input sent through XTest.

#include "EditorView.h"

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace
{
juce::Image toImage (const std::vector<uint32_t>& pixels, int width, int height)
{
    juce::Image image (juce::Image::RGB, width, height, false);

    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelAt (x, y, juce::Colour ((juce::uint32) (0xff000000u | pixels[(size_t) (y * width + x)])));

    return image;
}

void saveArtefact (const juce::Image& image, const juce::String& name)
{
    const juce::File folder (LUMARRO_ARTEFACT_DIR);
    folder.createDirectory();
    const auto file = folder.getChildFile (name + ".png");
    file.deleteFile();
    juce::FileOutputStream out (file);
    juce::PNGImageFormat().writeImageToStream (image, out);
}

/** The share of pixels that match the headless picture of the editor within a small tolerance. */
double likenessToEditorPicture (const std::vector<uint32_t>& pixels)
{
    const auto reference = juce::ImageFileFormat::loadFrom (juce::File (LUMARRO_DOCS_DIR).getChildFile ("editor-variant0.png"));

    if (! reference.isValid() || pixels.size() != (size_t) (editorWidth * editorHeight))
        return 0.0;

    int alike = 0;

    for (int y = 0; y < editorHeight; ++y)
    {
        for (int x = 0; x < editorWidth; ++x)
        {
            const auto expected = reference.getPixelAt (x, y);
            const auto seen = juce::Colour ((juce::uint32) (0xff000000u | pixels[(size_t) (y * editorWidth + x)]));
            const auto difference = std::abs (expected.getRed() - seen.getRed())
                                    + std::abs (expected.getGreen() - seen.getGreen())
                                    + std::abs (expected.getBlue() - seen.getBlue());
            alike += difference < 24 ? 1 : 0;
        }
    }

    return (double) alike / (editorWidth * editorHeight);
}

int changedPixels (const std::vector<uint32_t>& before, const std::vector<uint32_t>& after)
{
    int changed = 0;

    for (size_t i = 0; i < std::min (before.size(), after.size()); ++i)
        changed += before[i] != after[i] ? 1 : 0;

    return changed;
}

using EditorInHost = LoadedOnTheDisplay<testing::Test>;
} // namespace

//==============================================================================
TEST_F (EditorInHost, OpensAsTheEditorInTheHostsWindow)
{
    SubstituteHost host (*library);
    EXPECT_EQ (host.record().flags & 0x1, 0x1);

    VstEditorRectRecord* bounds = nullptr;
    ASSERT_EQ (host.dispatch (13, 0, 0, &bounds), 1);
    EXPECT_EQ (bounds->right - bounds->left, editorWidth);
    EXPECT_EQ (bounds->bottom - bounds->top, editorHeight);

    EditorView view (host, 20, 30);
    ASSERT_EQ (view.opened, 1);
    EXPECT_TRUE (idleUntil ({ &host }, [&] { return likenessToEditorPicture (view.capture()) > 0.9; }));
    saveArtefact (toImage (view.capture(), editorWidth, editorHeight), "xvfb-editor");

    // Opening the window told the host nothing.
    EXPECT_TRUE (host.callsWithOpcode (0).empty());
    EXPECT_TRUE (host.callsWithOpcode (43).empty());
}

TEST_F (EditorInHost, ADragOnTheFeedbackKnobReachesTheHostInsideAGesture)
{
    SubstituteHost host (*library);
    EditorView view (host, 0, 0);
    ASSERT_EQ (view.opened, 1);
    ASSERT_TRUE (idleUntil ({ &host }, [&] { return likenessToEditorPicture (view.capture()) > 0.9; }));
    host.clearCalls();

    const juce::Point<int> knob (330, 159);
    view.movePointer (knob);
    idle ({ &host }, 100);
    x11().pressButton();
    idle ({ &host }, 50);

    for (int step = 1; step <= 10; ++step)
    {
        view.movePointer (knob.translated (0, -5 * step));
        idle ({ &host }, 30);
    }

    x11().releaseButton();
    EXPECT_TRUE (idleUntil ({ &host }, [&] { return ! host.callsWithOpcode (44).empty(); }));

    const auto calls = host.calls();
    int firstBegin = -1, lastEnd = -1, changes = 0, firstChange = -1, lastChange = -1;

    for (int i = 0; i < (int) calls.size(); ++i)
    {
        const auto& c = calls[(size_t) i];

        if (c.opcode == 43 && c.index == 1 && firstBegin < 0) firstBegin = i;
        if (c.opcode == 44 && c.index == 1) lastEnd = i;

        if (c.opcode == 0)
        {
            EXPECT_EQ (c.index, 1);
            ++changes;
            lastChange = i;
            if (firstChange < 0) firstChange = i;
        }
    }

    ASSERT_GT (changes, 0);
    EXPECT_GE (firstBegin, 0);
    EXPECT_LT (firstBegin, firstChange);
    EXPECT_GT (lastEnd, lastChange);
    EXPECT_GT (host.getParameter (1), 0.5f);
}

TEST_F (EditorInHost, HoveringAModeButtonShowsItsRangeAndTheGearOpensTheOptions)
{
    SubstituteHost host (*library);
    EditorView view (host, 0, 0);
    ASSERT_EQ (view.opened, 1);
    view.movePointer ({ 300, 20 });
    ASSERT_TRUE (idleUntil ({ &host }, [&] { return likenessToEditorPicture (view.capture()) > 0.9; }));

    const juce::Rectangle<int> rangeLabel (415, 199, 45, 18);
    const auto withoutRange = view.capture (rangeLabel);
    view.movePointer ({ 595, 186 });
    EXPECT_TRUE (idleUntil ({ &host }, [&] { return changedPixels (withoutRange, view.capture (rangeLabel)) > 50; }));

    const juce::Rectangle<int> optionsArea (300, 30, 320, 82);
    view.movePointer ({ 400, 150 });
    ASSERT_TRUE (idleUntil ({ &host }, [&] { return likenessToEditorPicture (view.capture()) > 0.9; }));
    const auto withoutOptions = view.capture (optionsArea);

    view.movePointer ({ 602, 15 });
    idle ({ &host }, 100);
    x11().pressButton();
    idle ({ &host }, 50);
    x11().releaseButton();
    view.movePointer ({ 400, 250 });

    // The panel's dark cover changes most of its area.
    const int half = optionsArea.getWidth() * optionsArea.getHeight() / 2;
    EXPECT_TRUE (idleUntil ({ &host }, [&] { return changedPixels (withoutOptions, view.capture (optionsArea)) > half; }));
    saveArtefact (toImage (view.capture (optionsArea), optionsArea.getWidth(), optionsArea.getHeight()), "xvfb-options");
}

TEST_F (EditorInHost, TwoInstancesOpenAndCloseThreeTimes)
{
    SubstituteHost first (*library);
    SubstituteHost second (*library);

    for (int round = 0; round < 3; ++round)
    {
        SCOPED_TRACE (round);
        EditorView a (first, 0, 0);
        EditorView b (second, 0, 400);
        ASSERT_EQ (a.opened, 1);
        ASSERT_EQ (b.opened, 1);
        EXPECT_TRUE (idleUntil ({ &first, &second }, [&] {
            return likenessToEditorPicture (a.capture()) > 0.9 && likenessToEditorPicture (b.capture()) > 0.9;
        }));
    }
}

TEST_F (EditorInHost, TheHostKeepsItsKeyboardThroughClicksDragsTheWheelAndThePanels)
{
    SubstituteHost first (*library);
    SubstituteHost second (*library);
    auto firstView = std::make_unique<EditorView> (first, 0, 0);
    EditorView secondView (second, 0, 400);
    ASSERT_EQ (firstView->opened, 1);
    ASSERT_EQ (secondView.opened, 1);
    ASSERT_TRUE (idleUntil ({ &first, &second }, [&] {
        return likenessToEditorPicture (firstView->capture()) > 0.9 && likenessToEditorPicture (secondView.capture()) > 0.9;
    }));

    // Each step leaves the focus in the host's window, and a key typed with the pointer still over
    // the editor reaches the host's window, as its shortcuts need.
    const auto expectHostKeepsKeyboard = [&] (EditorView& view, const char* step)
    {
        SCOPED_TRACE (step);
        idle ({ &first, &second }, 150);
        EXPECT_EQ (x11().focusedWindow(), view.window);
        x11().typeKey();
        EXPECT_TRUE (x11().keyPressReached (view.window));
    };

    const auto useEditor = [&] (EditorView& view)
    {
        x11().giveFocus (view.window);
        const juce::Point<int> knob (330, 159), gear (602, 15);

        view.movePointer (knob);
        idle ({ &first, &second }, 100);
        x11().pressButton();
        x11().releaseButton();
        expectHostKeepsKeyboard (view, "click");

        x11().pressButton();
        for (int step = 1; step <= 5; ++step)
        {
            view.movePointer (knob.translated (0, -4 * step));
            idle ({ &first, &second }, 30);
        }
        x11().releaseButton();
        expectHostKeepsKeyboard (view, "drag");

        x11().turnWheel();
        expectHostKeepsKeyboard (view, "wheel");

        for (const auto* step : { "options opened", "options closed" })
        {
            view.movePointer (gear);
            idle ({ &first, &second }, 100);
            x11().pressButton();
            x11().releaseButton();
            expectHostKeepsKeyboard (view, step);
        }
    };

    useEditor (*firstView);
    useEditor (secondView);

    firstView = nullptr;
    useEditor (secondView);
}

TEST_F (EditorInHost, WithoutIdleCallsTheEditorStillPaints)
{
    SubstituteHost host (*library);
    EditorView view (host, 0, 0);
    ASSERT_EQ (view.opened, 1);

    // A host that never sends the idle call: the plug-in's own fallback runs the messages.
    bool painted = false;
    for (int waited = 0; waited < 5000 && ! painted; waited += 100)
    {
        sleepMs (100);
        painted = likenessToEditorPicture (view.capture()) > 0.9;
    }
    EXPECT_TRUE (painted);

    // And a host that starts sending them later takes over without trouble.
    idle ({ &host }, 200);
    EXPECT_GT (likenessToEditorPicture (view.capture()), 0.9);
}

TEST_F (EditorInHost, AnInstanceClosedWithItsEditorOpenTakesTheEditorWithIt)
{
    auto host = std::make_unique<SubstituteHost> (*library);
    SubstituteHost other (*library);
    const auto window = x11().createWindow (0, 0, editorWidth, editorHeight);
    ASSERT_EQ (host->dispatch (14, 0, 0, reinterpret_cast<void*> (window)), 1);
    idle ({ host.get() }, 200);

    host = nullptr;
    x11().destroyWindow (window);

    // The other instance goes on opening its editor as before.
    EditorView view (other, 0, 0);
    ASSERT_EQ (view.opened, 1);
    EXPECT_TRUE (idleUntil ({ &other }, [&] { return likenessToEditorPicture (view.capture()) > 0.9; }));
}

TEST_F (EditorInHost, TheLibraryReloadsAndOpensItsEditorAgain)
{
    for (int round = 0; round < 3; ++round)
    {
        SCOPED_TRACE (round);
        {
            SubstituteHost host (*library);
            EditorView view (host, 0, 0);
            ASSERT_EQ (view.opened, 1);
            EXPECT_TRUE (idleUntil ({ &host }, [&] { return likenessToEditorPicture (view.capture()) > 0.9; }));
        }

        library = nullptr;
        library = std::make_unique<VstPluginLibrary> (LUMARRO_PLUGIN_PATH);
    }
}

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);
    testing::AddGlobalTestEnvironment (new PrivateDisplay());
    return RUN_ALL_TESTS();
}
