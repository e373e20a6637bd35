#pragma once

#include "AAX_HostDescriptionInterfaces.h"
#include "AAX_HostPtr.h"

/**
    Asks the host's component factory, found through the host's unknown, for a new object of a class.
    A refused factory or object leaves the target null; a factory query that reports success but leaves
    nothing behind throws from checkedInterface.
*/
template <typename Interface>
void createHostObject (IACFUnknown& hostUnknown, const InterfaceId& classId, const InterfaceId& interfaceId,
                       HostPtr<Interface>& target)
{
    HostPtr<IHostComponentFactory> factory;

    if (hostUnknown.queryInterface (kComponentFactoryId, factory.writeTarget()) != resultSuccess)
        return;

    auto* checkedFactory = checkedInterface (factory);
    checkedFactory->createInstance (classId, nullptr, interfaceId, target.writeTarget());
}

/** Asks a host object for its newer interface, when there is a host object. */
template <typename Interface, typename NewerInterface>
void queryNewerInterface (const HostPtr<Interface>& object, const InterfaceId& newerId, HostPtr<NewerInterface>& target)
{
    if (! object.isNull())
        checkedInterface (object)->queryInterface (newerId, target.writeTarget());
}
