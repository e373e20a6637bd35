#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A window peer with no window behind it: screen and window coordinates are the same,
    and mouse events enter through ComponentPeer's own entry points, as from a real window.
*/
class HeadlessPeer : public juce::ComponentPeer
{
public:
    explicit HeadlessPeer (juce::Component& component);
    ~HeadlessPeer() override;

    void sendMouse (juce::Point<float> position, juce::ModifierKeys modifiers);
    void sendWheel (juce::Point<float> position, float deltaY);

    void* getNativeHandle() const override { return nullptr; }
    void setVisible (bool) override {}
    void setTitle (const juce::String&) override {}
    void setBounds (const juce::Rectangle<int>& newBounds, bool) override { bounds = newBounds; }
    juce::Rectangle<int> getBounds() const override { return bounds; }
    juce::Point<float> localToGlobal (juce::Point<float> p) override { return p; }
    juce::Point<float> globalToLocal (juce::Point<float> p) override { return p; }
    using juce::ComponentPeer::localToGlobal;
    using juce::ComponentPeer::globalToLocal;
    void setMinimised (bool) override {}
    bool isMinimised() const override { return false; }
    void setFullScreen (bool) override {}
    bool isFullScreen() const override { return false; }
    void setIcon (const juce::Image&) override {}
    bool contains (juce::Point<int> p, bool) const override { return bounds.withZeroOrigin().contains (p); }
    OptionalBorderSize getFrameSizeIfPresent() const override { return {}; }
    juce::BorderSize<int> getFrameSize() const override { return {}; }
    bool setAlwaysOnTop (bool) override { return false; }
    void toFront (bool) override {}
    void toBehind (juce::ComponentPeer*) override {}
    bool isFocused() const override { return true; }
    void grabFocus() override {}
    void textInputRequired (juce::Point<int>, juce::TextInputTarget&) override {}
    void repaint (const juce::Rectangle<int>&) override {}
    void performAnyPendingRepaintsNow() override {}
    void setAlpha (float) override {}
    juce::StringArray getAvailableRenderingEngines() override { return { "Software Renderer" }; }

private:
    juce::int64 nextEventTime();

    juce::Rectangle<int> bounds;
    juce::int64 time = 0;
};

//==============================================================================
/** A top-level window at (0, 0) on a headless peer, so tests without a display can move
    the mouse over its children, press and release them, as a user would.
*/
class HeadlessWindow : public juce::Component
{
public:
    explicit HeadlessWindow (juce::Rectangle<int> bounds);
    ~HeadlessWindow() override;

    void moveMouseTo (juce::Point<float> position);
    void click (juce::Point<float> position);
    void wheel (juce::Point<float> position, float deltaY);

    /** Presses at one point, moves there in steps with the button held, and releases. */
    void drag (juce::Point<float> from, juce::Point<float> to);

    /** Moves the mouse off the window, so nothing is under it. */
    void moveMouseAway();

    juce::ComponentPeer* createNewPeer (int styleFlags, void* nativeWindow) override;

private:
    HeadlessPeer& peer();
};
