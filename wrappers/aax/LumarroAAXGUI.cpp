#include "LumarroAAXGUI.h"

#include "AAX_VViewContainer.h"
#include "AaxCallGuard.h"
#include "LumarroAAXProcessor.h"

#include <iterator>

class LumarroAAXGUI::MouseForwarder final : public juce::MouseListener
{
public:
    explicit MouseForwarder (LumarroAAXGUI& ownerToUse) : owner (ownerToUse) {}

    void mouseDown (const juce::MouseEvent& e) override  { owner.forwardMouse (e, &AAX_IViewContainer::parameterMouseDown); }
    void mouseDrag (const juce::MouseEvent& e) override  { owner.forwardMouse (e, &AAX_IViewContainer::parameterMouseDrag); }
    void mouseUp (const juce::MouseEvent& e) override    { owner.forwardMouse (e, &AAX_IViewContainer::parameterMouseUp); }

private:
    LumarroAAXGUI& owner;
};

LumarroAAXGUI::LumarroAAXGUI()
    : mouseForwarder (std::make_unique<MouseForwarder> (*this))
{
}

LumarroAAXGUI::~LumarroAAXGUI()
{
    // Before the base gives back the effect parameters, which own the editor's processor.
    deleteEditor();
}

ResultCode LumarroAAXGUI::initialize (IACFUnknown* hostController)
{
    return answerWithoutThrowing ([&]
    {
        // A second initialisation may bring other effect parameters: the old editor belongs to the old ones.
        deleteEditor();
        return AAX_CEffectGUI::initialize (hostController);
    });
}

ResultCode LumarroAAXGUI::uninitialize()
{
    return answerWithoutThrowing ([&]
    {
        deleteEditor();
        return AAX_CEffectGUI::uninitialize();
    });
}

ResultCode LumarroAAXGUI::setViewContainer (IACFUnknown* viewContainer)
{
    return answerWithoutThrowing ([&] { return AAX_CEffectGUI::setViewContainer (viewContainer); });
}

LumarroAAXProcessor* LumarroAAXGUI::instance() const
{
    // The host hands over whatever its controller answers, maybe an object of its own that carries no
    // type information a cast could read; only our own instance has an editor here.
    return LumarroAAXProcessor::instanceWithInterface (guiEffectParameters());
}

//==============================================================================
void LumarroAAXGUI::createViewContents()
{
    auto* effect = instance();

    if (effect == nullptr || editor != nullptr || ! effect->getProcessor().hasEditor())
        return;

    messagePump->onMessageThread ([&]
    {
        editor.reset (effect->getProcessor().createEditorIfNeeded());

        if (editor != nullptr)
            editor->addMouseListener (mouseForwarder.get(), true);
    });

    if (editor != nullptr)
    {
        editorProcessor = &effect->getProcessor();
        messagePump->editorOpened();
    }
}

void LumarroAAXGUI::createViewContainer()
{
    auto* view = guiHostView();

    // Only a native view of the kind this platform draws into can hold the editor.
    if (editor == nullptr || view == nullptr || guiHostViewKind() != x11ViewKind)
        return;

    messagePump->onMessageThread ([&]
    {
        editorEmbedding.reset();
        editorEmbedding.emplace (*editor, view);
    });

    const AAX_Point size { (float) editor->getHeight(), (float) editor->getWidth() };
    guiViewContainer()->setViewSize (&size);
}

void LumarroAAXGUI::deleteViewContainer()
{
    if (editor == nullptr)
        return;

    messagePump->onMessageThread ([&] { editorEmbedding.reset(); });
}

void LumarroAAXGUI::deleteEditor()
{
    if (editor == nullptr)
        return;

    messagePump->onMessageThread ([&]
    {
        editorEmbedding.reset();
        editor->removeMouseListener (mouseForwarder.get());
        editorProcessor->editorBeingDeleted (editor.get());
        editor = nullptr;
    });

    editorProcessor = nullptr;
    messagePump->editorClosed();
}

//==============================================================================
ResultCode LumarroAAXGUI::viewSize (AAX_Point* size)
{
    if (editor == nullptr)
        return resultHostObjectMissing;

    if (size == nullptr)
        return resultNullPointer;

    size->vertical = (float) editor->getHeight();
    size->horizontal = (float) editor->getWidth();
    return resultSuccess;
}

ResultCode LumarroAAXGUI::parameterUpdated (const char*)
{
    // The editor polls its processor on its own timer, so a host's change shows without help.
    return resultSuccess;
}

ResultCode LumarroAAXGUI::highlightParameter (const char* parameterId, bool isHighlighted, uint32_t colourKind)
{
    if (editor == nullptr)
        return resultHostObjectMissing;

    const auto index = LumarroAAXProcessor::parameterIndexForId (parameterId);

    // The bypass has no control in the editor, and nor has any id it does not know.
    if (index < 0)
        return resultSuccess;

    const juce::Colour colours[] { juce::Colours::red, juce::Colours::blue, juce::Colours::green, juce::Colours::yellow };
    const auto colour = colours[colourKind < std::size (colours) ? colourKind : 0];

    messagePump->onMessageThread ([&]
    {
        editor->setControlHighlight ({ index, isHighlighted, colour });
    });

    return resultSuccess;
}

void LumarroAAXGUI::forwardMouse (const juce::MouseEvent& event,
                                  ResultCode (AAX_IViewContainer::*operation) (const char*, uint32_t))
{
    auto* container = guiViewContainer();

    if (container == nullptr || editor == nullptr || event.eventComponent == nullptr)
        return;

    const auto index = editor->getControlParameterIndex (*event.eventComponent);

    if (index < 0)
        return;

    uint32_t state = 0;
    container->eventModifiers (&state);
    (container->*operation) (juce::String (index).toRawUTF8(), state);
}
