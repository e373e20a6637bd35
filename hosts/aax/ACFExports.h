#pragma once

#include "AAX_ICollection.h"
#include "IACFUnknown.h"

/*
    The seven entry points through which an AAX host loads the module. Each catches every exception and
    answers resultUnexpected instead; an out pointer that is null is never written through.
*/
extern "C"
{
#define LUMARRO_ACF_EXPORT __attribute__ ((visibility ("default")))

    /** Describes the plug-in into the host's collection and hands back the collection's plug-in definition.
        Writes null to pluginDefinition on every failure. */
    LUMARRO_ACF_EXPORT ResultCode ACFRegisterPlugin (IACFUnknown* hostUnknown, IACFUnknown** pluginDefinition);

    /** Components are registered through the description instead: hands back null. */
    LUMARRO_ACF_EXPORT ResultCode ACFRegisterComponent (IACFUnknown* hostUnknown, const InterfaceId* classId,
                                                        IACFUnknown** componentDefinition);

    /** Objects are made only through the description's creation procedures: always resultNotAvailable. */
    LUMARRO_ACF_EXPORT ResultCode ACFGetClassFactory (IACFUnknown* hostUnknown, const InterfaceId* classId,
                                                      const InterfaceId* interfaceId, void** factory);

    /** The number of components alive; 0 when the host may unload the module. */
    LUMARRO_ACF_EXPORT ResultCode ACFCanUnloadNow (IACFUnknown* hostUnknown);

    LUMARRO_ACF_EXPORT ResultCode ACFStartup (IACFUnknown* hostUnknown);
    LUMARRO_ACF_EXPORT ResultCode ACFShutdown (IACFUnknown* hostUnknown);
    LUMARRO_ACF_EXPORT ResultCode ACFGetSDKVersion (std::uint64_t* version);

#undef LUMARRO_ACF_EXPORT
}

/** The version of the host interface this library was written against. */
constexpr std::uint64_t acfSdkVersion = 0x00000201007756BFull;

/**
    Describes the plug-in's effects into the host's collection. It is not defined in this library: the AAX
    wrapper provides it (and a test provides its own). A non-zero result fails the registration.
*/
ResultCode GetEffectDescriptions (AAX_ICollection* collection);
