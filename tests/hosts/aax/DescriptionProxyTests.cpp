#include "AAX_VCollection.h"
#include "AAX_VHostServices.h"
#include "ForwardingChecks.h"
#include "SubstituteHostTest.h"

using aaxtest::call;
using namespace forwarding;

namespace
{
    IACFUnknown* createObject()    { return nullptr; }
    void process (void* const*, const void*) {}

    struct Scratch
    {
        int a = 0, b = 0, c = 0, d = 0;
    };

    std::vector<Forwarding> collectionOperations (AAX_VCollection& p, AAX_IEffectDescriptor* description,
                                                  AAX_VPropertyMap* map)
    {
        return {
            { "addEffectDescription", [&p, description] { return p.addEffectDescription ("com.quellory.lumarro", description); },
              call (7, "com.quellory.lumarro", static_cast<AAX_VEffectDescriptor*> (description)->getHostObject()), Interface::older },
            { "setMakerName", [&p] { return p.setMakerName ("Quellory"); }, call (8, "Quellory"), Interface::older },
            { "addProductName", [&p] { return p.addProductName ("QY - Lumarro"); }, call (9, "QY - Lumarro"), Interface::older },
            { "setProductVersion", [&p] { return p.setProductVersion (0x00010100); }, call (10, 0x00010100), Interface::older },
            { "setProperties", [&p, map] { return p.setProperties (map); }, call (11, map->getHostObject()), Interface::older },
            { "setProperties (none)", [&p] { return p.setProperties (nullptr); }, call (11, nullptr), Interface::older },
        };
    }

    std::vector<Forwarding> effectOperations (AAX_IEffectDescriptor& p, AAX_VComponentDescriptor* component,
                                              AAX_VPropertyMap* map, Scratch& s)
    {
        const void* a = &s.a;

        return {
            { "addComponent", [&p, component] { return p.addComponent (component); }, call (3, component->getHostObject()), Interface::older },
            { "addComponent (none)", [&p] { return p.addComponent (nullptr); }, call (3, nullptr), Interface::older },
            { "addName", [&p] { return p.addName ("Lumarro"); }, call (4, "Lumarro"), Interface::older },
            { "addCategory", [&p] { return p.addCategory (0x10); }, call (5, 0x10), Interface::older },
            { "addCategoryWithPointer", [&p, a] { return p.addCategoryWithPointer (6, a); }, call (6, 6, a), Interface::older },
            { "addCreationProcedure", [&p] { return p.addCreationProcedure (&createObject, 1); }, call (7, &createObject, 1), Interface::older },
            { "setProperties", [&p, map] { return p.setProperties (map); }, call (8, map->getHostObject()), Interface::older },
            { "addEntryWithPointer", [&p, a] { return p.addEntryWithPointer (9, a); }, call (9, 9, a), Interface::older },
            { "addEntryWithProperties", [&p, a, map] { return p.addEntryWithProperties (10, a, map); },
              call (10, 10, a, map->getHostObject()), Interface::older },
            { "addNodeEntry", [&p, a] { return p.addNodeEntry (11, 12, a, 13); }, call (11, 11, 12, a, 13), Interface::newer },
        };
    }

    std::vector<Forwarding> componentOperations (AAX_IComponentDescriptor& p, AAX_VPropertyMap* map, Scratch& s)
    {
        const void* a = &s.a;
        void* b = &s.b;
        void* c = &s.c;
        void* d = &s.d;

        return {
            { "clearDescription", [&p] { return p.clearDescription(); }, call (3), Interface::older },
            { "addAudioInputField", [&p] { return p.addAudioInputField (0); }, call (5, 0), Interface::older },
            { "addAudioOutputField", [&p] { return p.addAudioOutputField (1); }, call (6, 1), Interface::older },
            { "addBufferLengthField", [&p] { return p.addBufferLengthField (2); }, call (7, 2), Interface::older },
            { "addIndexedFieldD", [&p] { return p.addIndexedFieldD (8); }, call (8, 8), Interface::older },
            { "addIndexedFieldE", [&p] { return p.addIndexedFieldE (9); }, call (9, 9), Interface::older },
            { "addIndexedFieldF", [&p] { return p.addIndexedFieldF (10); }, call (10, 10), Interface::older },
            { "addDataInputField", [&p] { return p.addDataInputField (3, 4, 1); }, call (11, 3, 4, 1), Interface::older },
            { "addFieldWithPointer", [&p, a] { return p.addFieldWithPointer (12, 13, a); }, call (12, 12, 13, a), Interface::older },
            { "addPrivateDataField", [&p] { return p.addPrivateDataField (5, 8, 0); }, call (13, 5, 8, 0), Interface::older },
            { "addIndexedPairNewer", [&p] { return p.addIndexedPairNewer (19, 20); }, call (19, 19, 20), Interface::newer },
            { "addIndexedPair", [&p] { return p.addIndexedPair (14, 15); }, call (14, 14, 15), Interface::older },
            { "addFieldWithPointerAndValue", [&p, a] { return p.addFieldWithPointerAndValue (18, a, 19); }, call (18, 18, a, 19), Interface::older },
            { "addMidiNodeField", [&p] { return p.addMidiNodeField (4, 0, "Lumarro", 0xFFFF); }, call (15, 4, 0, "Lumarro", 0xFFFF), Interface::older },
            { "addIndexedPairB", [&p] { return p.addIndexedPairB (4, 5); }, call (4, 4, 5), Interface::older },
            { "addProcessProcedure", [&p, map, b, c, d] { return p.addProcessProcedure (&process, map, b, c, d); },
              call (16, &process, map->getHostObject(), b, c, d), Interface::older },
            { "addProcessProcedure (no map)", [&p] { return p.addProcessProcedure (&process, nullptr, nullptr, nullptr, nullptr); },
              call (16, &process, nullptr, nullptr, nullptr, nullptr), Interface::older },
            { "addProcedurePair", [&p, map, b, c, d] { return p.addProcedurePair (b, c, map, d, b); },
              call (17, b, c, map->getHostObject(), d, b), Interface::older },
        };
    }

    std::vector<Forwarding> propertyMapOperations (AAX_IPropertyMap& p, Scratch& s)
    {
        const void* a = &s.a;

        return {
            { "addProperty", [&p] { return p.addProperty (12, 0x51794C75); }, call (4, 12, 0x51794C75), Interface::older },
            { "removeProperty", [&p] { return p.removeProperty (12); }, call (5, 12), Interface::older },
            { "addArrayProperty", [&p, a] { return p.addArrayProperty (20, a, 2); }, call (6, 20, a, 2), Interface::newer },
        };
    }

    std::vector<Forwarding> hostServicesOperations (AAX_IHostServices& p, Scratch& s)
    {
        const void* a = &s.a;
        const void* b = &s.b;

        return {
            { "reportToHost", [&p, a, b] { return p.reportToHost (a, -7, b); }, call (3, a, -7, b), Interface::older },
            { "traceMessage", [&p] { return p.traceMessage (2, "chunk"); }, call (4, 2, "chunk"), Interface::older },
        };
    }

    /** A source map that answers a few ids and remembers every id it was asked. */
    class RecordingSource final : public AAX_IPropertyMap
    {
    public:
        bool getProperty (std::uint32_t id, std::uint32_t* value) override
        {
            asked.push_back (id);

            if (id == 11 || id == 12 || id == 351 || id == 5 || id == 352)
            {
                *value = id * 1000;
                return true;
            }

            return false;
        }

        ResultCode addProperty (std::uint32_t, std::uint32_t) override                  { return resultSuccess; }
        ResultCode removeProperty (std::uint32_t) override                              { return resultSuccess; }
        ResultCode addArrayProperty (std::uint32_t, const void*, std::uint32_t) override { return resultSuccess; }
        bool getArrayProperty (std::uint32_t, void*, void*) override                    { return false; }

        std::vector<std::uint32_t> asked;
    };
}

class DescriptionProxies : public SubstituteHostTest {};

TEST_F (DescriptionProxies, CollectionAsksTheFactoryAndReachesEverySlot)
{
    AAX_VCollection collection (host().hostUnknown());

    const auto made = host().created (kCollectionClassId);
    ASSERT_EQ (made.size(), 1u);
    EXPECT_EQ (host().factory.references(), 0) << "the factory is let go once the object is made";
    EXPECT_EQ (host().unknown.references(), 1) << "the collection keeps the host's unknown for its children";
    EXPECT_EQ (collection.getHostObject(), made[0]->unknown());

    auto* description = collection.newEffectDescription();
    auto* map = static_cast<AAX_VPropertyMap*> (collection.newPropertyMap());
    ASSERT_NE (static_cast<AAX_VEffectDescriptor*> (description)->getHostObject(), nullptr);
    ASSERT_NE (map->getHostObject(), nullptr);

    expectForwarding (collectionOperations (collection, description, map), *made[0], *made[0]);
}

TEST_F (DescriptionProxies, CreateInstanceIsAskedForTheClassAndInterfacePairWithoutAnOuterObject)
{
    AAX_VPropertyMap map (host().hostUnknown());

    const auto calls = host().factory.operationCalls();
    ASSERT_EQ (calls.size(), 1u);
    EXPECT_EQ (calls[0].arguments.substr (0, calls[0].arguments.rfind (',')),
               aaxtest::describeArguments (kPropertyMapClassId, nullptr, kPropertyMapInterfaceId));
    EXPECT_EQ (host().unknown.references(), 0) << "a property map does not keep the host's unknown";
    EXPECT_EQ (host().created (kPropertyMapClassId).at (0)->references(), 2) << "the map and its newer interface";
}

TEST_F (DescriptionProxies, EffectDescriptorReachesEverySlotOfBothInterfaces)
{
    Scratch scratch;
    AAX_VEffectDescriptor description (host().hostUnknown());
    auto* component = static_cast<AAX_VComponentDescriptor*> (description.newComponentDescriptor());
    auto* map = static_cast<AAX_VPropertyMap*> (description.newPropertyMap());

    auto& hostDescription = *host().created (kEffectDescriptorClassId).at (0);
    expectForwarding (effectOperations (description, component, map, scratch), hostDescription, hostDescription);
}

TEST_F (DescriptionProxies, ComponentDescriptorReachesEverySlotOfBothInterfaces)
{
    Scratch scratch;
    AAX_VComponentDescriptor component (host().hostUnknown());
    auto* map = static_cast<AAX_VPropertyMap*> (component.newPropertyMap());

    auto& hostComponent = *host().created (kComponentDescriptorClassId).at (0);
    expectForwarding (componentOperations (component, map, scratch), hostComponent, hostComponent);
}

TEST_F (DescriptionProxies, PropertyMapAndHostServicesReachEverySlot)
{
    Scratch scratch;
    AAX_VPropertyMap map (host().hostUnknown());
    auto& hostMap = *host().created (kPropertyMapClassId).at (0);
    expectForwarding (propertyMapOperations (map, scratch), hostMap, hostMap);

    AAX_VHostServices services (host().hostUnknown());
    auto& hostServices = *host().created (kHostServicesClassId).at (0);
    expectForwarding (hostServicesOperations (services, scratch), hostServices, hostServices);
}

TEST_F (DescriptionProxies, PropertyAnswersAreTrueOnlyForAPositiveHostAnswer)
{
    AAX_VPropertyMap map (host().hostUnknown());
    auto& hostMap = *host().created (kPropertyMapClassId).at (0);

    EXPECT_EQ (map.addProperty (11, 0x5175 /* any value */), resultSuccess);

    std::uint32_t value = 0;
    EXPECT_TRUE (map.getProperty (11, &value));
    EXPECT_EQ (value, 0x5175u);
    EXPECT_FALSE (map.getProperty (12, &value));

    // A failure code's low byte is non-zero (0xDC here): it must still read as "no".
    hostMap.setResult (3, resultHostObjectMissing);
    EXPECT_FALSE (map.getProperty (11, &value));
    hostMap.setResult (7, resultHostObjectMissing);
    int values = 0, count = 0;
    EXPECT_FALSE (map.getArrayProperty (20, &values, &count));
    hostMap.setResult (7, 1);
    EXPECT_TRUE (map.getArrayProperty (20, &values, &count));

    // Nowhere to write the answer: the host is not asked.
    hostMap.clearCalls();
    EXPECT_FALSE (map.getProperty (11, nullptr));
    EXPECT_FALSE (map.getArrayProperty (20, nullptr, &count));
    EXPECT_TRUE (hostMap.operationCalls().empty());
}

TEST_F (DescriptionProxies, ProxiesOnANullUnknownAnswerMissingAndStillMakeChildren)
{
    Scratch scratch;

    AAX_VCollection collection (nullptr);
    auto* description = collection.newEffectDescription();
    auto* map = static_cast<AAX_VPropertyMap*> (collection.newPropertyMap());
    EXPECT_EQ (static_cast<AAX_VEffectDescriptor*> (description)->getHostObject(), nullptr);
    EXPECT_EQ (collection.setMakerName ("Quellory"), resultHostObjectMissing);
    EXPECT_EQ (collection.addProductName ("Lumarro"), resultHostObjectMissing);
    EXPECT_EQ (collection.setProductVersion (1), resultHostObjectMissing);
    EXPECT_EQ (collection.setProperties (map), resultHostObjectMissing);
    EXPECT_EQ (collection.addEffectDescription ("id", description), resultHostObjectMissing);

    auto* component = static_cast<AAX_VComponentDescriptor*> (description->newComponentDescriptor());
    const auto effectOps = effectOperations (*description, component, map, scratch);
    expectMissing (effectOps, Interface::older, resultHostObjectMissing, {});
    expectMissing (effectOps, Interface::newer, resultNotAvailable, {});

    const auto componentOps = componentOperations (*component, map, scratch);
    expectMissing (componentOps, Interface::older, resultHostObjectMissing, {});
    expectMissing (componentOps, Interface::newer, resultNotAvailable, {});
    EXPECT_NE (component->duplicatePropertyMap (map), nullptr);

    const auto mapOps = propertyMapOperations (*map, scratch);
    expectMissing (mapOps, Interface::older, resultHostObjectMissing, {});
    expectMissing (mapOps, Interface::newer, resultNotAvailable, {});
    std::uint32_t value = 0;
    int values = 0, count = 0;
    EXPECT_FALSE (map->getProperty (11, &value));
    EXPECT_FALSE (map->getArrayProperty (11, &values, &count));

    AAX_VHostServices services (nullptr);
    expectMissing (hostServicesOperations (services, scratch), Interface::older, resultHostObjectMissing, {});
}

TEST_F (DescriptionProxies, AHostWithoutNewerInterfacesAnswersNotAvailableOnlyThere)
{
    aaxtest::SubstituteAaxHost::Options options;
    options.effectDescriptorNewer = false;
    options.componentDescriptorNewer = false;
    options.propertyMapNewer = false;
    useHost (options);

    AAX_VEffectDescriptor description (host().hostUnknown());
    auto* component = static_cast<AAX_VComponentDescriptor*> (description.newComponentDescriptor());
    auto* map = static_cast<AAX_VPropertyMap*> (description.newPropertyMap());

    EXPECT_EQ (description.addNodeEntry (1, 2, nullptr, 3), resultNotAvailable);
    EXPECT_EQ (description.addName ("Lumarro"), resultSuccess);
    EXPECT_EQ (component->addIndexedPairNewer (1, 2), resultNotAvailable);
    EXPECT_EQ (component->addAudioInputField (0), resultSuccess);
    EXPECT_EQ (map->addArrayProperty (1, nullptr, 0), resultNotAvailable);
    EXPECT_EQ (map->addProperty (60, 1), resultSuccess);

    for (auto* object : host().created (kEffectDescriptorClassId))
        for (const auto& c : object->operationCalls())
            EXPECT_NE (c.position, 11);
}

TEST_F (DescriptionProxies, AddingANullOrHostlessDescriptionNeverReachesTheHost)
{
    AAX_VCollection collection (host().hostUnknown());
    auto& hostCollection = *host().created (kCollectionClassId).at (0);

    EXPECT_EQ (collection.addEffectDescription ("id", nullptr), resultHostObjectMissing);

    host().refuseClass (kEffectDescriptorClassId);
    EXPECT_EQ (collection.addEffectDescription ("id", collection.newEffectDescription()), resultHostObjectMissing);
    EXPECT_TRUE (hostCollection.operationCalls().empty());
}

TEST_F (DescriptionProxies, ARefusedClassLeavesTheProxyWithoutAHostObject)
{
    host().refuseClass (kComponentDescriptorClassId);
    AAX_VComponentDescriptor component (host().hostUnknown());

    EXPECT_EQ (component.getHostObject(), nullptr);
    EXPECT_EQ (component.addAudioInputField (0), resultHostObjectMissing);
    EXPECT_EQ (component.addIndexedPairNewer (0, 0), resultNotAvailable);
}

TEST_F (DescriptionProxies, AFactoryThatSucceedsWithNothingThrowsAndLeavesNothingHeld)
{
    host().unknown.answer (kComponentFactoryId, nullptr);

    try
    {
        AAX_VCollection collection (host().hostUnknown());
        FAIL() << "the constructor must not carry on without a factory";
    }
    catch (int code)
    {
        EXPECT_EQ (code, resultNullPointer);
    }

    EXPECT_EQ (host().unknown.references(), 0);
}

TEST_F (DescriptionProxies, DuplicatingAPropertyMapCopiesExactlyTheIdsFromTenTo351)
{
    AAX_VComponentDescriptor component (host().hostUnknown());
    RecordingSource source;

    auto* copy = static_cast<AAX_VPropertyMap*> (component.duplicatePropertyMap (&source));

    ASSERT_EQ (source.asked.size(), 342u);
    EXPECT_EQ (source.asked.front(), 10u);
    EXPECT_EQ (source.asked.back(), 351u);

    const auto maps = host().created (kPropertyMapClassId);
    ASSERT_EQ (maps.size(), 1u);
    EXPECT_EQ (copy->getHostObject(), maps[0]->unknown());
    EXPECT_EQ (maps[0]->properties, (std::map<std::uint32_t, std::uint32_t> { { 11, 11000 }, { 12, 12000 }, { 351, 351000 } }));

    auto* empty = static_cast<AAX_VPropertyMap*> (component.duplicatePropertyMap (nullptr));
    EXPECT_NE (empty, copy);
    EXPECT_TRUE (host().created (kPropertyMapClassId).at (1)->properties.empty());
}

TEST_F (DescriptionProxies, DestroyingADescriptorReleasesEveryChildsHostObjects)
{
    {
        AAX_VEffectDescriptor description (host().hostUnknown());
        auto* component = description.newComponentDescriptor();
        component->newPropertyMap();
        component->duplicatePropertyMap (nullptr);
        description.newPropertyMap();

        for (auto* map : host().created (kPropertyMapClassId))
            EXPECT_EQ (map->references(), 2);

        EXPECT_EQ (host().unknown.references(), 2) << "the description and its component each keep the unknown";
    }

    // The fixture checks that every reference came back.
    EXPECT_EQ (host().created (kPropertyMapClassId).size(), 3u);
}
