#pragma once

#include "AAX_IEffectGUI.h"

#include <memory>

class AAX_IACFEffectParameters;
class AAX_VController;
class AAX_VTransport;
class AAX_VViewContainer;

/**
    The base of the GUI object an AAX host creates for each plug-in instance.

    It holds what a GUI needs from the host (the controller, the transport, the instance's effect
    parameters and, while the GUI is shown, the view container) and leaves the drawing to a subclass:
    createViewContents() makes the view, createViewContainer() attaches it to the host's view and
    deleteViewContainer() detaches it.

    The host may initialise twice, or hand over a new view container without taking the old one back
    first; both are answered by first undoing what the earlier call set up, so nothing is left behind
    and a view is never attached twice.
*/
class AAX_CEffectGUI : public AAX_IEffectGUI
{
public:
    AAX_CEffectGUI();
    ~AAX_CEffectGUI() override;

    /** Creates the controller and transport proxies on the host's unknown, asks it for the instance's
        effect parameters and makes the view contents. A null unknown answers resultNotInitialized. */
    ResultCode initialize (IACFUnknown* hostController) override;

    /** Gives back the effect parameters and deletes every proxy; 0. */
    ResultCode uninitialize() override;

    /** With a container: attaches the view to it, then reports every parameter through
        parameterUpdated(). With null: detaches the view. */
    ResultCode setViewContainer (IACFUnknown* viewContainer) override;

    ResultCode viewSize (AAX_Point*) override                            { return resultSuccess; }
    ResultCode parameterUpdated (const char*) override                   { return resultSuccess; }
    ResultCode highlightParameter (const char*, bool, uint32_t) override { return resultSuccess; }

    ResultCode reservedOperation7 (const void*) override                 { return resultSuccess; }
    ResultCode reservedOperation8 (const void*) override                 { return resultSuccess; }
    ResultCode reservedOperation10 (const void*) override                { return resultHostObjectMissing; }

    /** Answers the effect GUI interface with this object. */
    ResultCode queryInternal (const InterfaceId& id, void** out) override;

protected:
    virtual void createViewContents() = 0;
    virtual void createViewContainer() = 0;
    virtual void deleteViewContainer() = 0;

    /** Calls parameterUpdated() for each of the instance's parameters, in index order. */
    virtual void updateAllParameters();

    AAX_IACFEffectParameters* guiEffectParameters() const noexcept  { return effectParameters; }
    AAX_VViewContainer* guiViewContainer() const noexcept           { return viewContainer.get(); }
    AAX_VController* guiController() const noexcept                 { return controller.get(); }
    AAX_VTransport* guiTransport() const noexcept                   { return transport.get(); }

    /** The host's native view and its kind; null and 0 while no container is held. */
    void* guiHostView() const;
    int32_t guiHostViewKind() const;

private:
    void releaseViewContainer();
    void releaseHostObjects();

    std::unique_ptr<AAX_VController> controller;
    AAX_IACFEffectParameters* effectParameters = nullptr;
    std::unique_ptr<AAX_VViewContainer> viewContainer;
    std::unique_ptr<AAX_VTransport> transport;
};
