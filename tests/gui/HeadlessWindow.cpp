#include "HeadlessWindow.h"

HeadlessPeer::HeadlessPeer (juce::Component& component)
    : juce::ComponentPeer (component, 0), bounds (component.getBounds())
{
}

HeadlessPeer::~HeadlessPeer() = default;

juce::int64 HeadlessPeer::nextEventTime()
{
    // JUCE drops wheel events that come too close together; space every event out.
    time += 500;
    return (juce::int64) juce::Time::getMillisecondCounter() + time;
}

void HeadlessPeer::sendMouse (juce::Point<float> position, juce::ModifierKeys modifiers)
{
    handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, position, modifiers,
                      juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                      nextEventTime());
}

void HeadlessPeer::sendWheel (juce::Point<float> position, float deltaY)
{
    juce::MouseWheelDetails wheel {};
    wheel.deltaY = deltaY;
    handleMouseWheel (juce::MouseInputSource::InputSourceType::mouse, position, nextEventTime(), wheel);
}

//==============================================================================
HeadlessWindow::HeadlessWindow (juce::Rectangle<int> bounds)
{
    setBounds (bounds);
    setVisible (true);
    addToDesktop (0);
}

HeadlessWindow::~HeadlessWindow()
{
    // Leave no mouse source pointing into a window that is going away.
    moveMouseAway();
    removeFromDesktop();
}

juce::ComponentPeer* HeadlessWindow::createNewPeer (int, void*)
{
    return new HeadlessPeer (*this);
}

HeadlessPeer& HeadlessWindow::peer()
{
    return *static_cast<HeadlessPeer*> (getPeer());
}

void HeadlessWindow::moveMouseTo (juce::Point<float> position)
{
    peer().sendMouse (position, juce::ModifierKeys());
}

void HeadlessWindow::click (juce::Point<float> position)
{
    moveMouseTo (position);
    peer().sendMouse (position, juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier));
    peer().sendMouse (position, juce::ModifierKeys());
}

void HeadlessWindow::wheel (juce::Point<float> position, float deltaY)
{
    moveMouseTo (position);
    peer().sendWheel (position, deltaY);
}

void HeadlessWindow::moveMouseAway()
{
    peer().sendMouse ({ -1000.0f, -1000.0f }, juce::ModifierKeys());
}

void HeadlessWindow::drag (juce::Point<float> from, juce::Point<float> to)
{
    const juce::ModifierKeys held (juce::ModifierKeys::leftButtonModifier);
    constexpr int steps = 8;

    moveMouseTo (from);
    peer().sendMouse (from, held);

    for (int step = 1; step <= steps; ++step)
        peer().sendMouse (from + (to - from) * ((float) step / (float) steps), held);

    peer().sendMouse (to, juce::ModifierKeys());
}
