#include "ACFExports.h"

#include "AAX_VCollection.h"
#include "AAX_VHostServices.h"
#include "CACFUnknown.h"

namespace
{
    ResultCode registerPluginEntry (IACFUnknown* hostUnknown, IACFUnknown** pluginDefinition)
    {
        // Null first, so that every way out but success leaves null behind.
        *pluginDefinition = nullptr;

        AAX_VCollection collection (hostUnknown);

        if (const auto described = GetEffectDescriptions (&collection); described != resultSuccess)
            return described;

        auto* hostCollection = collection.getHostObject();

        if (hostCollection == nullptr)
            return resultHostObjectMissing;

        if (hostCollection->queryInterface (kPluginDefinitionId, reinterpret_cast<void**> (pluginDefinition)) != resultSuccess)
        {
            *pluginDefinition = nullptr;
            return resultHostObjectMissing;
        }

        return resultSuccess;
    }

    ResultCode registerComponentEntry (IACFUnknown** componentDefinition)
    {
        *componentDefinition = nullptr;
        return resultSuccess;
    }

    ResultCode classFactoryEntry (void** factory)
    {
        *factory = nullptr;
        return resultNotAvailable;
    }

    ResultCode canUnloadEntry()
    {
        return CACFUnknown::getLiveObjectCount();
    }

    ResultCode startupEntry (IACFUnknown* hostUnknown)
    {
        setHostServices (hostUnknown);
        return resultSuccess;
    }

    ResultCode shutdownEntry()
    {
        setHostServices (nullptr);
        return resultSuccess;
    }

    ResultCode sdkVersionEntry (std::uint64_t* version)
    {
        *version = acfSdkVersion;
        return resultSuccess;
    }

    // Nothing may unwind into the host.
    template <typename Entry>
    ResultCode catchingEverything (Entry&& entry) noexcept
    {
        try
        {
            return entry();
        }
        catch (...)
        {
            return resultUnexpected;
        }
    }
}

extern "C"
{

ResultCode ACFRegisterPlugin (IACFUnknown* hostUnknown, IACFUnknown** pluginDefinition)
{
    if (pluginDefinition == nullptr)
        return resultNullPointer;

    const auto result = catchingEverything ([&] { return registerPluginEntry (hostUnknown, pluginDefinition); });

    if (result != resultSuccess)
        *pluginDefinition = nullptr;

    return result;
}

ResultCode ACFRegisterComponent (IACFUnknown*, const InterfaceId*, IACFUnknown** componentDefinition)
{
    if (componentDefinition == nullptr)
        return resultNullPointer;

    return catchingEverything ([&] { return registerComponentEntry (componentDefinition); });
}

ResultCode ACFGetClassFactory (IACFUnknown*, const InterfaceId*, const InterfaceId*, void** factory)
{
    // This export never succeeds, so a null out pointer only loses the null it would have written.
    if (factory == nullptr)
        return resultNotAvailable;

    return catchingEverything ([&] { return classFactoryEntry (factory); });
}

ResultCode ACFCanUnloadNow (IACFUnknown*)
{
    return catchingEverything ([] { return canUnloadEntry(); });
}

ResultCode ACFStartup (IACFUnknown* hostUnknown)
{
    return catchingEverything ([&] { return startupEntry (hostUnknown); });
}

ResultCode ACFShutdown (IACFUnknown*)
{
    return catchingEverything ([] { return shutdownEntry(); });
}

ResultCode ACFGetSDKVersion (std::uint64_t* version)
{
    if (version == nullptr)
        return resultNullPointer;

    return catchingEverything ([&] { return sdkVersionEntry (version); });
}

}
