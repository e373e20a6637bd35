#pragma once

#include "FakeHostObject.h"

#include <memory>

namespace aaxtest
{

/**
    Plays the AAX host for the library's tests: the host unknown with its component factory and the
    description objects the factory makes, the controller unknown with the controller, automation delegate
    and transport behind it, and a view container. Every object is a FakeObject, reached only by slot.
*/
class SubstituteAaxHost
{
public:
    struct Options
    {
        bool effectDescriptorNewer = true;
        bool componentDescriptorNewer = true;
        bool propertyMapNewer = true;
        bool controllerNewer = true;
        bool transportNewer = true;
        bool collectionAnswersPluginDefinition = true;
    };

    SubstituteAaxHost();
    explicit SubstituteAaxHost (Options options);
    ~SubstituteAaxHost();

    /** The unknown that the host passes to ACFStartup and ACFRegisterPlugin. */
    IACFUnknown* hostUnknown()                  { return unknown.unknown(); }

    /** The unknown that the host passes to a component's initialisation. */
    IACFUnknown* controllerUnknown()            { return runtimeUnknown.unknown(); }

    /** The unknown that the host passes to the GUI as its view container. */
    IACFUnknown* viewContainerUnknown()         { return viewContainer.unknown(); }

    /** The objects the factory made for a class, in the order it made them. */
    std::vector<FakeObject*> created (const InterfaceId& classId) const;

    /** The factory refuses to make objects of this class from now on. */
    void refuseClass (const InterfaceId& classId);

    /** Names every object whose references do not balance; empty when all do. */
    std::string unbalancedReferences() const;

    FakeObject unknown;
    FakeObject factory;
    FakeObject pluginDefinition;

    FakeObject runtimeUnknown;
    FakeObject controller;
    FakeObject controllerNewer;
    FakeObject automationDelegate;
    FakeObject transport;
    FakeObject transportNewer;

    FakeObject viewContainer;

private:
    ResultCode createInstance (const InterfaceId& classId, const InterfaceId& interfaceId, void** out);

    struct Created
    {
        InterfaceId classId;
        std::unique_ptr<FakeObject> object;
    };

    Options options;
    std::vector<InterfaceId> refusedClasses;
    std::vector<Created> createdObjects;
};

/** Slot tables of each kind of host object, for tests that build objects of their own. */
namespace tables
{
    const AnySlot* unknownOnly();
    const AnySlot* componentFactory();
    const AnySlot* collection();
    const AnySlot* effectDescriptor();
    const AnySlot* componentDescriptor();
    const AnySlot* propertyMap();
    const AnySlot* hostServices();
    const AnySlot* controller();
    const AnySlot* controllerNewer();
    const AnySlot* automationDelegate();
    const AnySlot* transport();
    const AnySlot* transportNewer();
    const AnySlot* viewContainer();
}

} // namespace aaxtest
