#include "ACFExports.h"
#include "AAX_VHostServices.h"
#include "CACFUnknown.h"
#include "SubstituteHostTest.h"

#include <stdexcept>
#include <string>

using aaxtest::call;
using aaxtest::HostCall;

namespace
{
    constexpr std::uint32_t fourCharCode (const char (&code)[5])
    {
        return (std::uint32_t (std::uint8_t (code[0])) << 24) | (std::uint32_t (std::uint8_t (code[1])) << 16)
             | (std::uint32_t (std::uint8_t (code[2])) << 8) | std::uint32_t (std::uint8_t (code[3]));
    }

    IACFUnknown* createParameters()   { return nullptr; }
    IACFUnknown* createGui()          { return nullptr; }
    void audioCallback (void* const*, const void*) {}

    // Describes the effect the way the plug-in's wrapper does: one effect, three channel configurations.
    ResultCode describeLikeThePlugin (AAX_ICollection* collection)
    {
        auto* effect = collection->newEffectDescription();
        effect->addName ("QY - Lumarro");
        effect->addName ("Lumarro");
        effect->addCategory (0x10);
        effect->addCreationProcedure (&createGui, 1);
        effect->addCreationProcedure (&createParameters, 0);

        const std::uint32_t configurations[][2] = { { 2, 2 }, { 1, 2 }, { 1, 1 } };

        for (std::uint32_t c = 0; c < 3; ++c)
        {
            auto layout = [] (std::uint32_t channels) { return channels == 1 ? 0x00000001u : 0x00010002u; };

            auto* component = effect->newComponentDescriptor();
            component->addAudioInputField (0);
            component->addAudioOutputField (1);
            component->addBufferLengthField (2);
            component->addDataInputField (3, 4, 1);
            component->addMidiNodeField (4, 0, "Lumarro", 0xFFFF);
            component->addPrivateDataField (5, 8, 0);

            auto* properties = component->newPropertyMap();
            properties->addProperty (11, fourCharCode ("QuLy"));
            properties->addProperty (12, fourCharCode ("QyLu"));
            properties->addProperty (60, 1);
            properties->addProperty (51, layout (configurations[c][0]));
            properties->addProperty (52, layout (configurations[c][1]));
            properties->addProperty (13, fourCharCode ("jcaa") + c);
            properties->addProperty (14, fourCharCode ("jyaa") + c);
            properties->addProperty (304, 1);
            component->addProcessProcedure (&audioCallback, properties, nullptr, nullptr, nullptr);
            effect->addComponent (component);
        }

        collection->addEffectDescription ("com.quellory.lumarro", effect);
        collection->setMakerName ("Quellory");
        collection->addProductName ("QY - Lumarro");
        collection->addProductName ("Lumarro");
        collection->setProductVersion (0x00010100);
        return resultSuccess;
    }

    class LiveComponent final : public IACFUnknown, public CACFUnknown
    {
    public:
        ResultCode queryInterface (const InterfaceId& id, void** out) override  { return getOuterUnknown()->queryInterface (id, out); }
        std::uint32_t addRef() override                                         { return getOuterUnknown()->addRef(); }
        std::uint32_t release() override                                        { return getOuterUnknown()->release(); }
    };

    IACFUnknown* const garbage = reinterpret_cast<IACFUnknown*> (0x1234);
}

class Exports : public SubstituteHostTest
{
protected:
    void SetUp() override       { testDescribe = nullptr; }

    void TearDown() override
    {
        testDescribe = nullptr;
        ACFShutdown (nullptr);
        SubstituteHostTest::TearDown();
    }
};

TEST_F (Exports, FixedAnswersOfTheModule)
{
    std::uint64_t version = 0;
    EXPECT_EQ (ACFGetSDKVersion (&version), resultSuccess);
    EXPECT_EQ (version, 2203326043839u);
    EXPECT_EQ (ACFGetSDKVersion (nullptr), resultNullPointer);

    void* factory = garbage;
    EXPECT_EQ (ACFGetClassFactory (host().hostUnknown(), &kEffectParametersInterfaceId, &kUnknownInterfaceId, &factory),
               resultNotAvailable);
    EXPECT_EQ (factory, nullptr);
    EXPECT_EQ (ACFGetClassFactory (nullptr, nullptr, nullptr, nullptr), resultNotAvailable);

    IACFUnknown* definition = garbage;
    EXPECT_EQ (ACFRegisterComponent (host().hostUnknown(), &kEffectParametersInterfaceId, &definition), resultSuccess);
    EXPECT_EQ (definition, nullptr);
    EXPECT_EQ (ACFRegisterComponent (nullptr, nullptr, nullptr), resultNullPointer);

    EXPECT_TRUE (host().unknown.calls().empty()) << "none of these asks the host anything";
}

TEST_F (Exports, UnloadIsRefusedWhileAnyComponentLives)
{
    EXPECT_EQ (ACFCanUnloadNow (nullptr), 0);

    auto* first = new LiveComponent();
    auto* second = new LiveComponent();
    first->addRef();
    second->addRef();
    EXPECT_EQ (ACFCanUnloadNow (host().hostUnknown()), 2);

    first->release();
    EXPECT_EQ (ACFCanUnloadNow (nullptr), 1);
    second->release();
    EXPECT_EQ (ACFCanUnloadNow (nullptr), 0);
}

TEST_F (Exports, StartUpKeepsTheFirstHostsServicesUntilShutDown)
{
    EXPECT_EQ (ACFShutdown (nullptr), resultSuccess) << "shut-down without start-up does nothing";

    aaxtest::SubstituteAaxHost secondHost;

    EXPECT_EQ (ACFStartup (nullptr), resultSuccess);
    EXPECT_EQ (getHostServices(), nullptr);

    EXPECT_EQ (ACFStartup (host().hostUnknown()), resultSuccess);
    EXPECT_EQ (ACFStartup (secondHost.hostUnknown()), resultSuccess);
    ASSERT_EQ (host().created (kHostServicesClassId).size(), 1u);
    EXPECT_TRUE (secondHost.created (kHostServicesClassId).empty());
    EXPECT_EQ (host().created (kHostServicesClassId)[0]->references(), 1);

    EXPECT_EQ (ACFShutdown (nullptr), resultSuccess);
    EXPECT_EQ (getHostServices(), nullptr);
    EXPECT_EQ (ACFShutdown (nullptr), resultSuccess);
    EXPECT_EQ (secondHost.unbalancedReferences(), "");
}

TEST_F (Exports, TracesReachTheHostOnlyBetweenStartUpAndShutDownAndAreCut)
{
    EXPECT_EQ (traceToHost (2, "before %d", 1), resultSuccess);

    ASSERT_EQ (ACFStartup (host().hostUnknown()), resultSuccess);
    auto& services = *host().created (kHostServicesClassId).at (0);
    services.setResult (4, 77);

    EXPECT_EQ (traceToHost (3, "chunk %s is %d bytes", "elck", 40), 77);
    EXPECT_EQ (services.operationCalls().back(), call (4, 3, "chunk elck is 40 bytes"));

    const std::string longText (2000, 'x');
    traceToHost (1, "%s", longText.c_str());
    EXPECT_EQ (services.operationCalls().back(), call (4, 1, std::string (511, 'x').c_str()));

    ACFShutdown (nullptr);
    services.clearCalls();
    EXPECT_EQ (traceToHost (2, "after"), resultSuccess);
    EXPECT_TRUE (services.calls().empty());
}

TEST_F (Exports, RegisteringThePluginDescribesItAndHandsBackThePluginDefinition)
{
    testDescribe = describeLikeThePlugin;

    IACFUnknown* definition = garbage;
    ASSERT_EQ (ACFRegisterPlugin (host().hostUnknown(), &definition), resultSuccess);
    EXPECT_EQ (definition, host().pluginDefinition.unknown());
    EXPECT_EQ (host().pluginDefinition.references(), 1) << "the definition's reference goes to the host";

    const auto collections = host().created (kCollectionClassId);
    const auto effects = host().created (kEffectDescriptorClassId);
    const auto components = host().created (kComponentDescriptorClassId);
    const auto maps = host().created (kPropertyMapClassId);
    ASSERT_EQ (collections.size(), 1u);
    ASSERT_EQ (effects.size(), 1u);
    ASSERT_EQ (components.size(), 3u);
    ASSERT_EQ (maps.size(), 3u);

    const std::vector<HostCall> collectionCalls {
        call (7, "com.quellory.lumarro", effects[0]->unknown()),
        call (8, "Quellory"),
        call (9, "QY - Lumarro"),
        call (9, "Lumarro"),
        call (10, 0x00010100),
    };
    EXPECT_EQ (collections[0]->operationCalls(), collectionCalls);

    const auto effectCalls = effects[0]->operationCalls();
    ASSERT_EQ (effectCalls.size(), 8u);
    EXPECT_EQ (effectCalls[0], call (4, "QY - Lumarro"));
    EXPECT_EQ (effectCalls[2], call (5, 0x10));
    EXPECT_EQ (effectCalls[3], call (7, &createGui, 1));
    EXPECT_EQ (effectCalls[4], call (7, &createParameters, 0));

    for (std::size_t c = 0; c < 3; ++c)
    {
        EXPECT_EQ (effectCalls[5 + c], call (3, components[c]->unknown()));

        const std::vector<HostCall> componentCalls {
            call (5, 0), call (6, 1), call (7, 2), call (11, 3, 4, 1), call (15, 4, 0, "Lumarro", 0xFFFF), call (13, 5, 8, 0),
            call (16, &audioCallback, maps[c]->unknown(), nullptr, nullptr, nullptr),
        };
        EXPECT_EQ (components[c]->operationCalls(), componentCalls);
        EXPECT_EQ (maps[c]->properties.at (12), fourCharCode ("QyLu"));
        EXPECT_EQ (maps[c]->properties.at (13), fourCharCode ("jcaa") + c);
    }

    EXPECT_EQ (maps[1]->properties.at (51), 1u);
    EXPECT_EQ (maps[1]->properties.at (52), 0x00010002u);

    definition->release();
}

TEST_F (Exports, AFailedDescriptionIsPassedOnWithNullOutput)
{
    testDescribe = [] (AAX_ICollection*) { return resultUnknownParameter; };

    IACFUnknown* definition = garbage;
    EXPECT_EQ (ACFRegisterPlugin (host().hostUnknown(), &definition), resultUnknownParameter);
    EXPECT_EQ (definition, nullptr);
    EXPECT_TRUE (host().pluginDefinition.calls().empty());
}

TEST_F (Exports, ACollectionWithoutAPluginDefinitionFailsWithNullOutput)
{
    aaxtest::SubstituteAaxHost::Options options;
    options.collectionAnswersPluginDefinition = false;
    useHost (options);

    IACFUnknown* definition = garbage;
    EXPECT_EQ (ACFRegisterPlugin (host().hostUnknown(), &definition), resultHostObjectMissing);
    EXPECT_EQ (definition, nullptr);
}

TEST_F (Exports, AHostWithoutACollectionFailsWithNullOutput)
{
    host().refuseClass (kCollectionClassId);

    IACFUnknown* definition = garbage;
    EXPECT_EQ (ACFRegisterPlugin (host().hostUnknown(), &definition), resultHostObjectMissing);
    EXPECT_EQ (definition, nullptr);

    definition = garbage;
    EXPECT_EQ (ACFRegisterPlugin (nullptr, &definition), resultHostObjectMissing);
    EXPECT_EQ (definition, nullptr);
}

TEST_F (Exports, ExceptionsStopAtTheExportAndLeaveNothingHeld)
{
    testDescribe = [] (AAX_ICollection* collection) -> ResultCode
    {
        collection->newEffectDescription()->newComponentDescriptor()->newPropertyMap();
        throw std::runtime_error ("describing failed");
    };

    IACFUnknown* definition = garbage;
    EXPECT_EQ (ACFRegisterPlugin (host().hostUnknown(), &definition), resultUnexpected);
    EXPECT_EQ (definition, nullptr);

    // A factory that claims success and hands back nothing.
    testDescribe = nullptr;
    host().unknown.answer (kComponentFactoryId, nullptr);
    definition = garbage;
    EXPECT_EQ (ACFRegisterPlugin (host().hostUnknown(), &definition), resultUnexpected);
    EXPECT_EQ (definition, nullptr);

    EXPECT_EQ (ACFStartup (host().hostUnknown()), resultUnexpected);
    EXPECT_EQ (getHostServices(), nullptr);
}

TEST_F (Exports, RegisteringWithoutAnOutPointerDescribesNothing)
{
    bool described = false;
    testDescribe = [&] (AAX_ICollection*) { described = true; return resultSuccess; };

    EXPECT_EQ (ACFRegisterPlugin (host().hostUnknown(), nullptr), resultNullPointer);
    EXPECT_FALSE (described);
    EXPECT_TRUE (host().unknown.calls().empty());
}
