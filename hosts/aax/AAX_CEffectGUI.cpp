#include "AAX_CEffectGUI.h"

#include "AAX_CString.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"

AAX_CEffectGUI::AAX_CEffectGUI() = default;

AAX_CEffectGUI::~AAX_CEffectGUI()
{
    // Frees the proxies and the effect-parameters reference of a GUI the host never uninitialised.
    AAX_CEffectGUI::uninitialize();
}

ResultCode AAX_CEffectGUI::initialize (IACFUnknown* hostController)
{
    // A second initialisation starts over: the view leaves the old container, and the old proxies and
    // effect-parameters reference are given back instead of being overwritten.
    if (viewContainer != nullptr)
        releaseViewContainer();

    releaseHostObjects();

    controller = std::make_unique<AAX_VController> (hostController);

    if (hostController == nullptr)
        return resultNotInitialized;

    hostController->queryInterface (kEffectParametersInterfaceId, reinterpret_cast<void**> (&effectParameters));
    transport = std::make_unique<AAX_VTransport> (hostController);

    createViewContents();
    return resultSuccess;
}

ResultCode AAX_CEffectGUI::uninitialize()
{
    releaseHostObjects();
    viewContainer.reset();
    return resultSuccess;
}

ResultCode AAX_CEffectGUI::setViewContainer (IACFUnknown* newViewContainer)
{
    // The view must leave a container before it can enter another, or it would sit in both.
    if (viewContainer != nullptr || newViewContainer == nullptr)
        releaseViewContainer();

    if (newViewContainer != nullptr)
    {
        viewContainer = std::make_unique<AAX_VViewContainer> (newViewContainer);
        createViewContainer();
        updateAllParameters();
    }

    return resultSuccess;
}

void AAX_CEffectGUI::updateAllParameters()
{
    if (effectParameters == nullptr)
        return;

    int32_t count = 0;

    if (effectParameters->parameterCount (&count) != resultSuccess || count < 0)
        return;

    for (int32_t index = 0; index < count; ++index)
    {
        AAX_CString identifier;

        if (effectParameters->parameterIdAt (index, &identifier) == resultSuccess)
            parameterUpdated (identifier.cText());
    }
}

ResultCode AAX_CEffectGUI::queryInternal (const InterfaceId& id, void** out)
{
    if (out != nullptr && id == kEffectGUIInterfaceId)
    {
        auto* face = static_cast<AAX_IACFEffectGUI*> (this);
        *out = face;
        face->addRef();
        return resultSuccess;
    }

    return CACFUnknown::queryInternal (id, out);
}

void* AAX_CEffectGUI::guiHostView() const
{
    return viewContainer != nullptr ? viewContainer->nativeView() : nullptr;
}

int32_t AAX_CEffectGUI::guiHostViewKind() const
{
    return viewContainer != nullptr ? viewContainer->viewKind() : 0;
}

void AAX_CEffectGUI::releaseViewContainer()
{
    // Gone before the subclass detaches its view, so nothing reaches the old container meanwhile.
    viewContainer.reset();
    deleteViewContainer();
}

void AAX_CEffectGUI::releaseHostObjects()
{
    if (auto* parameters = effectParameters)
    {
        effectParameters = nullptr;
        parameters->release();
    }

    controller.reset();
    transport.reset();
}
