#pragma once

#include "AAX_CEffectGUI.h"
#include "AAX_IViewContainer.h"
#include "EditorMessagePump.h"
#include "HostWindowEmbedding.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <optional>

class LumarroAAXProcessor;

/** The plug-in's window as an AAX host sees it: the processor's editor, placed in the host's native
    view when the host gives one it can hold (an X11 window, view kind 1). Mouse presses, drags and
    releases on a control go to the host with the id of the parameter the control drives.

    The editor reads its processor, which the instance's effect parameters own, so it is always
    deleted before this object gives its reference on them back.
*/
class LumarroAAXGUI final : public AAX_CEffectGUI
{
public:
    static constexpr int32_t x11ViewKind = 1;

    LumarroAAXGUI();
    ~LumarroAAXGUI() override;

    ResultCode initialize (IACFUnknown* hostController) override;
    ResultCode uninitialize() override;
    ResultCode setViewContainer (IACFUnknown* viewContainer) override;

    /** The editor's height, then its width; resultHostObjectMissing without an editor. */
    ResultCode viewSize (AAX_Point* size) override;

    ResultCode parameterUpdated (const char* parameterId) override;

    /** Passes the highlight of a processor parameter on to the editor, in the colour of its kind. */
    ResultCode highlightParameter (const char* parameterId, bool isHighlighted, uint32_t colourKind) override;

protected:
    void createViewContents() override;
    void createViewContainer() override;
    void deleteViewContainer() override;

private:
    class MouseForwarder;

    LumarroAAXProcessor* instance() const;
    void deleteEditor();
    void forwardMouse (const juce::MouseEvent& event, ResultCode (AAX_IViewContainer::*operation) (const char*, uint32_t));

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    juce::SharedResourcePointer<EditorMessagePump> messagePump;
    std::unique_ptr<MouseForwarder> mouseForwarder;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
    std::optional<HostWindowEmbedding> editorEmbedding;
    juce::AudioProcessor* editorProcessor = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LumarroAAXGUI)
};
