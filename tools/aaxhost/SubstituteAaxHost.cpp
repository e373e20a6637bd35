#include "SubstituteAaxHost.h"

#include "AAX_HostDescriptionInterfaces.h"
#include "AAX_HostRuntimeInterfaces.h"

#include <algorithm>
#include <iterator>

namespace aaxtest
{

using slots::recording;
using slots::slot;
using std::int32_t;
using std::int64_t;
using std::uint32_t;

/*  The argument types of every slot are written out here from the host's layout, independently of the
    library's declarations: a call that lands on the wrong slot, or passes its arguments in the wrong order
    or shape, shows up as a wrong record. */

namespace
{
    constexpr auto query = &slots::queryInterface;
    constexpr auto addRef = &slots::addRef;
    constexpr auto release = &slots::release;

    // A property map that keeps what it is given, so a description can be read back.
    ResultCode getProperty (FakeObject* self, uint32_t id, uint32_t* value)
    {
        self->record (3, describeArguments (id, value));

        if (auto overridden = self->resultOverride (3))
            return static_cast<ResultCode> (*overridden);

        const auto found = self->properties.find (id);

        if (found == self->properties.end())
            return 0;

        if (value != nullptr)
            *value = found->second;

        return 1;
    }

    ResultCode addProperty (FakeObject* self, uint32_t id, uint32_t value)
    {
        self->record (4, describeArguments (id, value));
        self->properties[id] = value;
        return static_cast<ResultCode> (self->resultOverride (4).value_or (0));
    }

    ResultCode removeProperty (FakeObject* self, uint32_t id)
    {
        self->record (5, describeArguments (id));
        self->properties.erase (id);
        return static_cast<ResultCode> (self->resultOverride (5).value_or (0));
    }

    ResultCode createInstance (FakeObject* self, const InterfaceId& classId, IACFUnknown* outer,
                               const InterfaceId& interfaceId, void** out)
    {
        self->record (3, describeArguments (classId, outer, interfaceId, out));

        if (! self->createInstance)
        {
            if (out != nullptr)
                *out = nullptr;

            return resultNoInterface;
        }

        return self->createInstance (classId, interfaceId, out);
    }
}

namespace tables
{
    const AnySlot* unknownOnly()
    {
        static const SlotTable<3> table { 0, &typeid (IACFUnknown), { slot (query), slot (addRef), slot (release) } };
        return table.slots;
    }

    const AnySlot* componentFactory()
    {
        static const SlotTable<4> table { 0, &typeid (IHostComponentFactory),
            { slot (query), slot (addRef), slot (release), slot (&aaxtest::createInstance) } };
        return table.slots;
    }

    const AnySlot* collection()
    {
        static const SlotTable<12> table { 0, &typeid (IHostCollection), {
            slot (query), slot (addRef), slot (release),
            slot<3, ResultCode>(),
            slot<4, ResultCode>(),
            slot<5, ResultCode>(),
            slot<6, ResultCode>(),
            slot<7, ResultCode, const char*, void*>(),
            slot<8, ResultCode, const char*>(),
            slot<9, ResultCode, const char*>(),
            slot<10, ResultCode, uint32_t>(),
            slot<11, ResultCode, void*>() } };
        return table.slots;
    }

    const AnySlot* effectDescriptor()
    {
        static const SlotTable<12> table { 0, &typeid (IHostEffectDescriptorNewer), {
            slot (query), slot (addRef), slot (release),
            slot<3, ResultCode, void*>(),
            slot<4, ResultCode, const char*>(),
            slot<5, ResultCode, uint32_t>(),
            slot<6, ResultCode, uint32_t, const void*>(),
            slot<7, ResultCode, void*, uint32_t>(),
            slot<8, ResultCode, void*>(),
            slot<9, ResultCode, uint32_t, const void*>(),
            slot<10, ResultCode, uint32_t, const void*, void*>(),
            slot<11, ResultCode, uint32_t, uint32_t, const void*, uint32_t>() } };
        return table.slots;
    }

    const AnySlot* componentDescriptor()
    {
        static const SlotTable<20> table { 0, &typeid (IHostComponentDescriptorNewer), {
            slot (query), slot (addRef), slot (release),
            slot<3, ResultCode>(),
            slot<4, ResultCode, uint32_t, uint32_t>(),
            slot<5, ResultCode, uint32_t>(),
            slot<6, ResultCode, uint32_t>(),
            slot<7, ResultCode, uint32_t>(),
            slot<8, ResultCode, uint32_t>(),
            slot<9, ResultCode, uint32_t>(),
            slot<10, ResultCode, uint32_t>(),
            slot<11, ResultCode, uint32_t, uint32_t, uint32_t>(),
            slot<12, ResultCode, uint32_t, uint32_t, const void*>(),
            slot<13, ResultCode, uint32_t, uint32_t, uint32_t>(),
            slot<14, ResultCode, uint32_t, uint32_t>(),
            slot<15, ResultCode, uint32_t, uint32_t, const char*, uint32_t>(),
            slot<16, ResultCode, void*, void*, void*, void*, void*>(),
            slot<17, ResultCode, void*, void*, void*, void*, void*>(),
            slot<18, ResultCode, uint32_t, const void*, uint32_t>(),
            slot<19, ResultCode, uint32_t, uint32_t>() } };
        return table.slots;
    }

    const AnySlot* propertyMap()
    {
        static const SlotTable<8> table { 0, &typeid (IHostPropertyMapNewer), {
            slot (query), slot (addRef), slot (release),
            slot (&getProperty),
            slot (&addProperty),
            slot (&removeProperty),
            slot<6, ResultCode, uint32_t, const void*, uint32_t>(),
            slot<7, ResultCode, uint32_t, void*, void*>() } };
        return table.slots;
    }

    const AnySlot* hostServices()
    {
        static const SlotTable<5> table { 0, &typeid (IHostServices), {
            slot (query), slot (addRef), slot (release),
            slot<3, ResultCode, const void*, int32_t, const void*>(),
            slot<4, ResultCode, int32_t, const char*>() } };
        return table.slots;
    }

    // The controller's older slots, which its newer table repeats.
    static void fillControllerSlots (AnySlot* s)
    {
        const AnySlot older[] = {
            slot (query), slot (addRef), slot (release),
            slot<3, ResultCode, void*>(),
            slot<4, ResultCode, float*>(),
            slot<5, ResultCode, int32_t*>(),
            slot<6, ResultCode, int32_t*>(),
            slot<7, ResultCode, void*>(),
            slot<8, ResultCode, uint32_t, void*>(),
            slot<9, ResultCode, void*>(),
            slot<10, ResultCode, int32_t>(),
            slot<11, ResultCode, void*, void*, uint32_t>(),
            slot<12, ResultCode, uint32_t, const void*, uint32_t>(),
            slot<13, ResultCode, uint32_t, void*>(),
            slot<14, ResultCode, uint32_t, void*>(),
            slot<15, ResultCode, uint32_t>(),
            slot<16, ResultCode, uint32_t, void*>(),
            slot<17, ResultCode, uint32_t>(),
            slot<18, ResultCode, void*>(),
            slot<19, ResultCode, void*, void*>() };

        std::copy (std::begin (older), std::end (older), s);
    }

    const AnySlot* controller()
    {
        static const auto table = []
        {
            SlotTable<20> t { 0, &typeid (IHostController), {} };
            fillControllerSlots (t.slots);
            return t;
        }();

        return table.slots;
    }

    const AnySlot* controllerNewer()
    {
        static const auto table = []
        {
            SlotTable<24> t { 0, &typeid (IHostControllerNewer), {} };
            fillControllerSlots (t.slots);
            t.slots[20] = slot<20, ResultCode, uint32_t, void*, uint32_t>();
            t.slots[21] = slot<21, ResultCode, void*>();
            t.slots[22] = slot<22, ResultCode, int64_t*>();
            t.slots[23] = slot<23, ResultCode, void*>();
            return t;
        }();

        return table.slots;
    }

    const AnySlot* automationDelegate()
    {
        static const SlotTable<10> table { 0, &typeid (IHostAutomationDelegate), {
            slot (query), slot (addRef), slot (release),
            slot<3, ResultCode, const char*>(),
            slot<4, ResultCode, const char*>(),
            slot<5, ResultCode, const char*, double>(),
            slot<6, ResultCode, const char*, double>(),
            slot<7, ResultCode, const char*>(),
            slot<8, ResultCode, const char*>(),
            slot<9, ResultCode, const char*, void*>() } };
        return table.slots;
    }

    // The transport's older slots, which its newer table repeats.
    static void fillTransportSlots (AnySlot* s)
    {
        const AnySlot older[] = {
            slot (query), slot (addRef), slot (release),
            slot<3, ResultCode, double*>(),
            slot<4, ResultCode, int32_t*, int32_t*>(),
            slot<5, ResultCode, bool*>(),
            slot<6, ResultCode, int64_t*>(),
            slot<7, ResultCode, bool*, int64_t*, int64_t*>(),
            slot<8, ResultCode, int64_t*>(),
            slot<9, ResultCode, void*, void*>(),
            slot<10, ResultCode, void*, void*, void*, void*>(),
            slot<11, ResultCode, void*>(),
            slot<12, ResultCode, void*>() };

        std::copy (std::begin (older), std::end (older), s);
    }

    const AnySlot* transport()
    {
        static const auto table = []
        {
            SlotTable<13> t { 0, &typeid (IHostTransport), {} };
            fillTransportSlots (t.slots);
            return t;
        }();

        return table.slots;
    }

    const AnySlot* transportNewer()
    {
        static const auto table = []
        {
            SlotTable<17> t { 0, &typeid (IHostTransportNewer), {} };
            fillTransportSlots (t.slots);
            t.slots[13] = slot<13, ResultCode, int64_t*>();
            t.slots[14] = slot<14, ResultCode, int32_t*, int64_t*>();
            t.slots[15] = slot<15, ResultCode, void*, void*>();
            t.slots[16] = slot<16, ResultCode, void*>();
            return t;
        }();

        return table.slots;
    }

    const AnySlot* viewContainer()
    {
        static const SlotTable<10> table { 0, &typeid (IHostViewContainer), {
            slot (query), slot (addRef), slot (release),
            slot<3, int32_t>(),
            slot<4, void*>(),
            slot<5, ResultCode, uint32_t*>(),
            slot<6, ResultCode, const void*>(),
            slot<7, ResultCode, const char*, uint32_t>(),
            slot<8, ResultCode, const char*, uint32_t>(),
            slot<9, ResultCode, const char*, uint32_t>() } };
        return table.slots;
    }
}

//==============================================================================
SubstituteAaxHost::SubstituteAaxHost()  : SubstituteAaxHost (Options {}) {}

SubstituteAaxHost::SubstituteAaxHost (Options optionsToUse)
    : unknown (tables::unknownOnly(), "host unknown"),
      factory (tables::componentFactory(), "component factory"),
      pluginDefinition (tables::unknownOnly(), "plug-in definition"),
      runtimeUnknown (tables::unknownOnly(), "controller unknown"),
      controller (tables::controller(), "controller"),
      controllerNewer (tables::controllerNewer(), "controller (newer)"),
      automationDelegate (tables::automationDelegate(), "automation delegate"),
      transport (tables::transport(), "transport"),
      transportNewer (tables::transportNewer(), "transport (newer)"),
      viewContainer (tables::viewContainer(), "view container"),
      options (optionsToUse)
{
    unknown.answer (kComponentFactoryId, &factory);
    factory.answer (kComponentFactoryId, &factory);
    factory.createInstance = [this] (const InterfaceId& classId, const InterfaceId& interfaceId, void** out)
    {
        return createInstance (classId, interfaceId, out);
    };

    runtimeUnknown.answer (kControllerInterfaceId, &controller);
    runtimeUnknown.answer (kAutomationDelegateInterfaceId, &automationDelegate);
    runtimeUnknown.answer (kTransportInterfaceId, &transport);

    if (options.controllerNewer)
        runtimeUnknown.answer (kControllerNewerId, &controllerNewer);

    if (options.transportNewer)
        runtimeUnknown.answer (kTransportNewerId, &transportNewer);

    viewContainer.answer (kViewContainerInterfaceId, &viewContainer);
}

SubstituteAaxHost::~SubstituteAaxHost() = default;

std::vector<FakeObject*> SubstituteAaxHost::created (const InterfaceId& classId) const
{
    std::vector<FakeObject*> result;

    for (const auto& c : createdObjects)
        if (c.classId == classId)
            result.push_back (c.object.get());

    return result;
}

void SubstituteAaxHost::refuseClass (const InterfaceId& classId)
{
    refusedClasses.push_back (classId);
}

std::string SubstituteAaxHost::unbalancedReferences() const
{
    std::string report;

    auto check = [&] (const FakeObject& object)
    {
        if (object.references() != 0)
            report += object.name() + " holds " + std::to_string (object.references()) + "; ";
    };

    for (const auto* object : { &unknown, &factory, &pluginDefinition, &runtimeUnknown, &controller, &controllerNewer,
                                &automationDelegate, &transport, &transportNewer, &viewContainer })
        check (*object);

    for (const auto& c : createdObjects)
        check (*c.object);

    return report;
}

ResultCode SubstituteAaxHost::createInstance (const InterfaceId& classId, const InterfaceId& interfaceId, void** out)
{
    if (out == nullptr)
        return resultNullPointer;

    *out = nullptr;

    struct Kind
    {
        const InterfaceId& classId;
        const InterfaceId& interfaceId;
        const InterfaceId* newerId;
        bool newerAnswered;
        const AnySlot* (*table)();
        const char* name;
    };

    const Kind kinds[] = {
        { kCollectionClassId, kCollectionInterfaceId, nullptr, false, &tables::collection, "collection" },
        { kEffectDescriptorClassId, kEffectDescriptorInterfaceId, &kEffectDescriptorNewerId,
          options.effectDescriptorNewer, &tables::effectDescriptor, "effect descriptor" },
        { kComponentDescriptorClassId, kComponentDescriptorInterfaceId, &kComponentDescriptorNewerId,
          options.componentDescriptorNewer, &tables::componentDescriptor, "component descriptor" },
        { kPropertyMapClassId, kPropertyMapInterfaceId, &kPropertyMapNewerId,
          options.propertyMapNewer, &tables::propertyMap, "property map" },
        { kHostServicesClassId, kHostServicesInterfaceId, nullptr, false, &tables::hostServices, "host services" },
    };

    if (std::find (refusedClasses.begin(), refusedClasses.end(), classId) != refusedClasses.end())
        return resultNoInterface;

    for (const auto& kind : kinds)
    {
        if (kind.classId != classId || kind.interfaceId != interfaceId)
            continue;

        auto object = std::make_unique<FakeObject> (kind.table(), kind.name + std::string (" ")
                                                                    + std::to_string (createdObjects.size()));
        object->answer (kUnknownInterfaceId, object.get());
        object->answer (kind.interfaceId, object.get());

        if (kind.newerId != nullptr && kind.newerAnswered)
            object->answer (*kind.newerId, object.get());

        if (&kind.classId == &kCollectionClassId && options.collectionAnswersPluginDefinition)
            object->answer (kPluginDefinitionId, &pluginDefinition);

        object->addRef();
        *out = object.get();
        createdObjects.push_back ({ classId, std::move (object) });
        return resultSuccess;
    }

    return resultNoInterface;
}

} // namespace aaxtest
