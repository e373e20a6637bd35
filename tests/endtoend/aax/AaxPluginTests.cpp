// The built plug-in driven end to end by the substitute AAX host: loaded with dlopen and reached only
// through its seven exports and the objects and procedures they hand out.

#include "AaxPluginHost.h"
#include "SorvaneAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include <unistd.h>

using aaxtest::call;
using aaxtest::HostCall;
using namespace aaxplugin;

namespace
{
    constexpr std::uint32_t fourCharCode (const char (&code)[5])
    {
        return (std::uint32_t (std::uint8_t (code[0])) << 24) | (std::uint32_t (std::uint8_t (code[1])) << 16)
             | (std::uint32_t (std::uint8_t (code[2])) << 8) | std::uint32_t (std::uint8_t (code[3]));
    }

    constexpr std::uint32_t elckChunk = fourCharCode ("elck");
    constexpr std::uint32_t juceChunk = fourCharCode ("juce");
    constexpr double stereoLayout = 0x00010002;
    constexpr double monoLayout = 0x00000001;
    constexpr double sampleRate = 48000.0;
    constexpr int blockLength = 256;

    const char* const processorIds[] { "0", "1", "2", "3", "4", "5", "6", "7", "8" };

    void* asPointer (const void* p)                  { return const_cast<void*> (p); }
    template <typename Function>
    void* procedurePointer (Function* f)            { return reinterpret_cast<void*> (f); }

    std::vector<HostCall> callsFor (const aaxtest::FakeObject& object, const std::string& id)
    {
        std::vector<HostCall> result;

        for (const auto& c : object.operationCalls())
            if (c.arguments.rfind ("\"" + std::string (id) + "\"", 0) == 0)
                result.push_back (c);

        return result;
    }

    /** Noise bursts with silence between them, so echoes show up in the gaps. */
    std::vector<float> testSignal (int numSamples, unsigned seed)
    {
        std::mt19937 random (seed);
        std::uniform_real_distribution<float> noise (-0.5f, 0.5f);
        std::vector<float> samples ((size_t) numSamples);

        for (int i = 0; i < numSamples; ++i)
            samples[(size_t) i] = (i % 2000) < 300 ? noise (random) : 0.0f;

        return samples;
    }
}

class AaxPlugin : public testing::Test
{
protected:
    void SetUp() override
    {
        // Headless: the GUI here never reaches a window, so no X server should be involved.
        unsetenv ("DISPLAY");
        library = std::make_unique<PluginLibrary> (LUMARRO_PLUGIN_PATH);
        useHostLayout (stereoLayout, stereoLayout);

        ASSERT_EQ (library->startup (host.hostUnknown()), resultSuccess);
        ASSERT_EQ (library->registerPlugin (host.hostUnknown(), &definition), resultSuccess);
        registration = Registration::readFrom (host);
        ASSERT_NE (registration.createGui, nullptr);
        ASSERT_NE (registration.createEffectParameters, nullptr);
        ASSERT_NE (registration.process, nullptr);
    }

    void TearDown() override
    {
        if (definition != nullptr)
            definition->release();

        EXPECT_EQ (library->canUnloadNow (nullptr), 0);
        EXPECT_EQ (library->shutdown (nullptr), resultSuccess);
        EXPECT_EQ (host.unbalancedReferences(), "");
    }

    void useHostLayout (double inputs, double outputs)
    {
        host.controller.setOutputs (4, { sampleRate });
        host.controller.setOutputs (5, { inputs });
        host.controller.setOutputs (6, { outputs });
    }

    /** Plays the host's side of the parameter road: applies every value requested since the last call. */
    void applyRequests (Instance& instance)
    {
        for (const auto& c : host.automationDelegate.operationCalls())
        {
            if (c.position != 5)
                continue;

            const auto quote = c.arguments.find ('"', 1);
            const auto id = c.arguments.substr (1, quote - 1);
            instance->applyNormalizedParameterValue (id.c_str(), std::stod (c.arguments.substr (quote + 2)), 0);
        }

        host.automationDelegate.clearCalls();
    }

    std::string saveChunk (Instance& instance, std::uint32_t id)
    {
        std::uint32_t size = 0;
        EXPECT_EQ (instance->stateChunkSize (id, &size), resultSuccess);
        ChunkBuffer chunk (size);
        chunk.record()->chunkId = id;
        EXPECT_EQ (instance->saveStateChunk (id, chunk.record()), resultSuccess);
        EXPECT_EQ (chunk.record()->size, (std::int32_t) size);
        return chunk.data();
    }

    juce::ScopedJuceInitialiser_GUI juceForTheReference;
    aaxtest::SubstituteAaxHost host;
    std::unique_ptr<PluginLibrary> library;
    IACFUnknown* definition = nullptr;
    Registration registration;
};

//==============================================================================
TEST_F (AaxPlugin, ExportsTheAcfEntriesBesideTheVstEntryAndNothingElse)
{
    EXPECT_NE (library->findSymbol ("VSTPluginMain"), nullptr);
    EXPECT_EQ (library->findSymbol ("GetEffectDescriptions"), nullptr);
    EXPECT_EQ (library->findSymbol ("_Z21GetEffectDescriptionsP14AAX_ICollection"), nullptr);

    std::uint64_t version = 0;
    EXPECT_EQ (library->getSdkVersion (&version), resultSuccess);
    EXPECT_NE (version, 0u);

    IACFUnknown* component = host.hostUnknown();
    EXPECT_EQ (library->registerComponent (host.hostUnknown(), &kEffectGUIInterfaceId, &component), resultSuccess);
    EXPECT_EQ (component, nullptr);
}

TEST_F (AaxPlugin, RegistrationDescribesTheEffectCallByCall)
{
    EXPECT_EQ (definition, host.pluginDefinition.unknown());

    const auto collections = host.created (kCollectionClassId);
    const auto effects = host.created (kEffectDescriptorClassId);
    const auto components = host.created (kComponentDescriptorClassId);
    const auto maps = host.created (kPropertyMapClassId);
    ASSERT_EQ (collections.size(), 1u);
    ASSERT_EQ (effects.size(), 1u);
    ASSERT_EQ (components.size(), 3u);
    ASSERT_EQ (maps.size(), 3u);

    EXPECT_EQ (collections[0]->operationCalls(), (std::vector<HostCall> {
        call (7, "com.Quellory.Lumarro", asPointer (effects[0])),
        call (8, "Quellory"),
        call (9, "QY - Lumarro"),
        call (9, "Lumarro"),
        call (10, 0x00010100u) }));

    EXPECT_EQ (effects[0]->operationCalls(), (std::vector<HostCall> {
        call (4, "QY - Lumarro"),
        call (4, "Lumarro"),
        call (5, 0x10u),
        call (7, procedurePointer (registration.createGui), 1u),
        call (7, procedurePointer (registration.createEffectParameters), 0u),
        call (3, asPointer (components[0])),
        call (3, asPointer (components[1])),
        call (3, asPointer (components[2])) }));

    const double layouts[][2] = { { stereoLayout, stereoLayout }, { monoLayout, stereoLayout }, { monoLayout, monoLayout } };
    void* const none = nullptr;

    for (std::uint32_t c = 0; c < 3; ++c)
    {
        SCOPED_TRACE (c);
        EXPECT_EQ (components[c]->operationCalls(), (std::vector<HostCall> {
            call (5, 0u),
            call (6, 1u),
            call (7, 2u),
            call (11, 3u, 4u, 1u),
            call (15, 4u, 0u, "Lumarro", 0xFFFFu),
            call (13, 5u, 8u, 0u),
            call (16, procedurePointer (registration.process), asPointer (maps[c]), none, none, none) }));

        EXPECT_EQ (maps[c]->operationCalls(), (std::vector<HostCall> {
            call (4, 11u, fourCharCode ("QuLy")),
            call (4, 12u, fourCharCode ("QyLu")),
            call (4, 60u, 1u),
            call (4, 51u, (std::uint32_t) layouts[c][0]),
            call (4, 52u, (std::uint32_t) layouts[c][1]),
            call (4, 13u, fourCharCode ("jcaa") + c),
            call (4, 14u, fourCharCode ("jyaa") + c),
            call (4, 304u, 1u) }));
    }
}

TEST_F (AaxPlugin, EachCreationProcedureMakesAnUncountedComponentOfItsInterface)
{
    auto* gui = registration.createGui();
    auto* effect = registration.createEffectParameters();
    ASSERT_NE (gui, nullptr);
    ASSERT_NE (effect, nullptr);
    EXPECT_EQ (library->canUnloadNow (nullptr), 2);

    void* face = nullptr;
    EXPECT_EQ (gui->queryInterface (kEffectParametersInterfaceId, &face), resultNoInterface);
    EXPECT_EQ (effect->queryInterface (kEffectGUIInterfaceId, &face), resultNoInterface);

    // The host's first reference is the one its query takes; giving it back frees the component.
    ASSERT_EQ (gui->queryInterface (kEffectGUIInterfaceId, &face), resultSuccess);
    EXPECT_EQ (static_cast<AAX_IACFEffectGUI*> (face)->release(), 0u);
    ASSERT_EQ (effect->queryInterface (kEffectParametersV2InterfaceId, &face), resultSuccess);
    EXPECT_EQ (static_cast<AAX_IACFEffectParameters*> (face)->release(), 0u);
    EXPECT_EQ (library->canUnloadNow (nullptr), 0);
}

namespace
{
    /** Starts the module up, unloads it without shutting it down, and tells on stderr how many references
        the host's services object still holds and whether the module really left the process. */
    [[noreturn]] void startUpAndUnloadWithoutShutdown()
    {
        aaxtest::SubstituteAaxHost host;
        auto library = std::make_unique<PluginLibrary> (LUMARRO_PLUGIN_PATH);
        library->startup (host.hostUnknown());
        library = nullptr;

        const auto services = host.created (kHostServicesClassId);
        const bool unloaded = dlopen (LUMARRO_PLUGIN_PATH, RTLD_NOW | RTLD_NOLOAD) == nullptr;
        std::fprintf (stderr, "services made %zu, still referenced %d, unloaded %d\n", services.size(),
                      services.empty() ? -1 : services.front()->references(), unloaded ? 1 : 0);

        // Without running the exit handlers: the services proxy is lost with the module, as it must be.
        std::fflush (stderr);
        _exit (0);
    }
}

TEST (AaxModule, UnloadingWithoutAShutdownLeavesTheHostsServicesAlone)
{
    // The host may have torn its objects down already, so only a shutdown may release them.
    GTEST_FLAG_SET (death_test_style, "threadsafe");
    EXPECT_EXIT (startUpAndUnloadWithoutShutdown(), testing::ExitedWithCode (0),
                 "services made 1, still referenced 1, unloaded 1");
}

TEST_F (AaxPlugin, InitialisingAddsTheBypassFirstAndTheNineProcessorParameters)
{
    Instance instance (registration, host);
    ASSERT_EQ (instance.initialized, resultSuccess);

    std::int32_t count = 0;
    ASSERT_EQ (instance->parameterCount (&count), resultSuccess);
    ASSERT_EQ (count, 10);

    AAX_CString id;
    instance->parameterIdAt (0, &id);
    EXPECT_EQ (text (id), "MasterBypassID");
    instance->masterBypassParameterId (&id);
    EXPECT_EQ (text (id), "MasterBypassID");

    AAX_CString name;
    std::int32_t steps = 0, type = -1, orientation = -1;
    bool automatable = false;
    instance->parameterDisplayName ("MasterBypassID", &name);
    EXPECT_EQ (text (name), "Master Bypass");
    instance->parameterStepCount ("MasterBypassID", &steps);
    instance->parameterTypeOf ("MasterBypassID", &type);
    instance->isParameterAutomatable ("MasterBypassID", &automatable);
    EXPECT_EQ (steps, 2);
    EXPECT_EQ (type, 0);
    EXPECT_TRUE (automatable);

    AAX_CString valueText;
    instance->parameterValueText ("MasterBypassID", &valueText, 31);
    EXPECT_EQ (text (valueText), "bypass");
    instance->parameterTextFromValue ("MasterBypassID", 1.0, &valueText, 31);
    EXPECT_EQ (text (valueText), "on");

    SorvaneAudioProcessor reference;

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    for (int i = 0; i < 9; ++i)
    {
        SCOPED_TRACE (i);
        instance->parameterIdAt (i + 1, &id);
        EXPECT_EQ (text (id), processorIds[i]);

        instance->parameterDisplayName (processorIds[i], &name);
        EXPECT_EQ (text (name), reference.getParameterName (i, 31).toStdString());
        instance->parameterShortName (processorIds[i], &name, 4);
        EXPECT_EQ (text (name), reference.getParameterName (i, 4).toStdString());

        instance->parameterStepCount (processorIds[i], &steps);
        instance->parameterTypeOf (processorIds[i], &type);
        instance->parameterOrientationOf (processorIds[i], &orientation);
        EXPECT_EQ (steps, reference.getParameterNumSteps (i));
        EXPECT_EQ (type, reference.getParameterNumSteps (i) > 1000 ? 1 : 0);
        EXPECT_EQ (orientation, reference.isParameterOrientationInverted (i) ? 0x13 : 0);

        double normalizedDefault = -1.0;
        instance->normalizedParameterDefault (processorIds[i], &normalizedDefault);
        EXPECT_EQ ((float) normalizedDefault, reference.getParameterDefaultValue (i));
    }
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE

    // Every parameter went to the host's automation delegate, bypass first; the host's rate and layouts
    // were read and the latency reported.
    const auto attached = host.automationDelegate.operationCalls();
    ASSERT_GE (attached.size(), 10u);
    EXPECT_EQ (attached[0], call (3, "MasterBypassID"));
    EXPECT_EQ (attached[9], call (3, "8"));

    std::vector<int> controllerSlots;

    for (const auto& c : host.controller.operationCalls())
        controllerSlots.push_back (c.position);

    EXPECT_EQ (controllerSlots, (std::vector<int> { 4, 6, 5, 10 }));
}

TEST_F (AaxPlugin, ValuesAndTextsByIdGoThroughTheHostAndReachTheProcessor)
{
    Instance instance (registration, host);
    host.automationDelegate.clearCalls();

    ASSERT_EQ (instance->setNormalizedParameterValue ("1", 0.25), resultSuccess);
    EXPECT_EQ (host.automationDelegate.operationCalls(), (std::vector<HostCall> {
        call (7, "1"), call (5, "1", 0.25), call (8, "1") }));

    double value = -1.0;
    ASSERT_EQ (instance->normalizedParameterValue ("1", &value), resultSuccess);
    EXPECT_EQ (value, 0.25);

    // The parameter's own text follows once the host has applied its value.
    applyRequests (instance);
    AAX_CString valueText;
    instance->parameterValueText ("1", &valueText, 31);
    EXPECT_EQ (text (valueText), "0.250");
    instance->parameterTextFromValue ("5", 0.5, &valueText, 31);
    EXPECT_EQ (text (valueText), "0.500");
    ASSERT_EQ (instance->valueFromParameterText ("7", &value, AAX_CString ("0.125")), resultSuccess);
    EXPECT_EQ (value, 0.125);

    EXPECT_EQ (instance->normalizedParameterValue ("9", &value), resultUnknownParameter);
    EXPECT_EQ (instance->setNormalizedParameterValue ("10", 0.5), resultUnknownParameter);
    EXPECT_EQ (instance->setNormalizedParameterValue ("1", std::nan ("")), resultConversionFailed);
    EXPECT_EQ (instance->normalizedParameterValue ("1", &value), resultSuccess);
    EXPECT_EQ (value, 0.25);
}

TEST_F (AaxPlugin, ChangesFromTheHostAndFromInsideThePluginTravelTheAutomationRoad)
{
    Instance instance (registration, host);
    host.automationDelegate.clearCalls();

    // The host applies a value: the processor takes it and the host hears it back.
    ASSERT_EQ (instance->applyNormalizedParameterValue ("4", 0.75, 0), resultSuccess);
    double value = 0.0;
    instance->normalizedParameterValue ("4", &value);
    EXPECT_EQ (value, 0.75);
    std::int32_t changes = 0;
    instance->changeCount (&changes);
    EXPECT_EQ (changes, 1);

    // A mode change inside the processor re-sends the delay time: a request bracketed by touch.
    host.automationDelegate.clearCalls();
    ASSERT_EQ (instance->applyNormalizedParameterValue ("2", 1.0, 0), resultSuccess);
    const auto delayTime = callsFor (host.automationDelegate, "0");
    ASSERT_EQ (delayTime.size(), 3u);
    EXPECT_EQ (delayTime[0], call (7, "0"));
    EXPECT_EQ (delayTime[1].position, 5);
    EXPECT_EQ (delayTime[2], call (8, "0"));

    // A MIDI controller bound in the saved state moves its parameter through the host too.
    auto state = saveChunk (instance, juceChunk);
    const std::string unbound = "<midiMapDryWet>-1</midiMapDryWet>";
    const std::string bound = "<midiMapDryWet>07</midiMapDryWet>";
    ASSERT_NE (state.find (unbound), std::string::npos);
    state.replace (state.find (unbound), unbound.size(), bound);
    auto chunk = ChunkBuffer::holding (juceChunk, state);
    ASSERT_EQ (instance->loadStateChunk (juceChunk, chunk.record()), resultSuccess);
    host.automationDelegate.clearCalls();

    std::vector<float> left (blockLength), right (blockLength);
    float* const outputs[] { left.data(), right.data() };
    const float* const inputs[] { left.data(), right.data() };
    const std::int32_t length = blockLength;
    const AaxMidiMessage controller { 10, { 0xB0, 7, 127 } };
    const AaxMidiNode midi { 1, &controller };
    auto record = instance.record (inputs, outputs, &length, nullptr, &midi);
    void* const records[] { &record };
    registration.process (records, records + 1);

    EXPECT_EQ (host.automationDelegate.operationCalls(), (std::vector<HostCall> {
        call (7, "7"), call (5, "7", 1.0), call (8, "7") }));

    // The bypass reaches the processing side as a 4-byte packet on port 3.
    host.controller.clearCalls();
    ASSERT_EQ (instance->applyNormalizedParameterValue ("MasterBypassID", 1.0, 0), resultSuccess);
    ASSERT_EQ (instance->postDirtyPackets(), resultSuccess);
    const auto posted = host.controller.operationCalls();
    ASSERT_EQ (posted.size(), 1u);
    EXPECT_EQ (posted[0].position, 12);
    EXPECT_EQ (posted[0].arguments.substr (0, 3), "3, ");
    EXPECT_EQ (posted[0].arguments.substr (posted[0].arguments.size() - 3), ", 4");
}

namespace
{
    /** Runs the same blocks through the plug-in's process procedure and through a processor of its own. */
    struct ProcessingRun
    {
        int numInputs;
        int numOutputs;
        std::vector<std::vector<float>> inputs;
        std::vector<std::vector<float>> pluginOutputs;
        std::vector<std::vector<float>> referenceOutputs;
    };
}

class AaxProcessing : public AaxPlugin
{
protected:
    /** Blocks listed in bypassed are bypassed in the plug-in and skipped by the reference processor. */
    using Settings = std::vector<std::pair<const char*, float>>;

    ProcessingRun run (int numInputs, int numOutputs, int numBlocks, std::vector<int> bypassed,
                       // Short mode, so that the echoes fall within a run of a few blocks.
                       Settings settings = { { "2", 0.0f }, { "0", 0.05f }, { "1", 0.6f }, { "4", 0.3f }, { "7", 0.5f } },
                       juce::AudioPlayHead* referencePlayHead = nullptr)
    {
        useHostLayout (numInputs == 1 ? monoLayout : stereoLayout, numOutputs == 1 ? monoLayout : stereoLayout);
        Instance instance (registration, host);

        SorvaneAudioProcessor reference;
        reference.setPlayHead (referencePlayHead);
        reference.setPlayConfigDetails (numInputs, numOutputs, sampleRate, blockLength);
        reference.prepareToPlay (sampleRate, blockLength);

        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
        for (const auto& [id, value] : settings)
        {
            instance->applyNormalizedParameterValue (id, value, 0);
            reference.setParameter (std::atoi (id), value);
        }
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE

        ProcessingRun result { numInputs, numOutputs, {}, {}, {} };
        const int total = numBlocks * blockLength;

        for (int c = 0; c < numInputs; ++c)
            result.inputs.push_back (testSignal (total, 17u + (unsigned) c));

        result.pluginOutputs.assign ((size_t) numOutputs, std::vector<float> ((size_t) total));
        result.referenceOutputs.assign ((size_t) numOutputs, std::vector<float> ((size_t) total));

        juce::MidiBuffer noMidi;
        const std::int32_t length = blockLength;

        for (int block = 0; block < numBlocks; ++block)
        {
            const auto offset = (size_t) (block * blockLength);
            const bool isBypassed = std::find (bypassed.begin(), bypassed.end(), block) != bypassed.end();
            const std::int32_t bypass = isBypassed ? 1 : 0;

            std::vector<const float*> in;
            std::vector<float*> out;

            for (auto& channel : result.inputs)
                in.push_back (channel.data() + offset);

            for (auto& channel : result.pluginOutputs)
                out.push_back (channel.data() + offset);

            auto record = instance.record (in.data(), out.data(), &length, &bypass, nullptr);
            void* const records[] { &record };
            registration.process (records, records + 1);

            if (isBypassed)
                continue;

            juce::AudioBuffer<float> buffer (numOutputs, blockLength);

            for (int c = 0; c < numOutputs; ++c)
                buffer.copyFrom (c, 0, result.inputs[(size_t) std::min (c, numInputs - 1)].data() + offset, blockLength);

            reference.processBlock (buffer, noMidi);

            for (int c = 0; c < numOutputs; ++c)
                std::copy_n (buffer.getReadPointer (c), blockLength, result.referenceOutputs[(size_t) c].data() + offset);
        }

        return result;
    }

    static void expectBlocksEqual (const std::vector<float>& a, const std::vector<float>& b, int block)
    {
        const auto begin = (std::ptrdiff_t) block * blockLength;
        EXPECT_TRUE (std::equal (a.begin() + begin, a.begin() + begin + blockLength, b.begin() + begin)) << "block " << block;
    }
};

TEST_F (AaxProcessing, StereoBlocksMatchTheProcessorAndABypassPassesTheInputWithTheDelayStandingStill)
{
    const int numBlocks = 12;
    const auto result = run (2, 2, numBlocks, { 4, 5 });

    for (int c = 0; c < 2; ++c)
    {
        SCOPED_TRACE (c);

        for (int block = 0; block < numBlocks; ++block)
        {
            if (block == 4 || block == 5)
                expectBlocksEqual (result.pluginOutputs[(size_t) c], result.inputs[(size_t) c], block);
            else
                expectBlocksEqual (result.pluginOutputs[(size_t) c], result.referenceOutputs[(size_t) c], block);
        }
    }

    // The comparison means something only if the delay was heard.
    EXPECT_NE (result.pluginOutputs[0], result.inputs[0]);
}

TEST_F (AaxProcessing, MonoAndMonoToStereoConfigurationsMatchTheProcessor)
{
    for (const auto outputs : { 1, 2 })
    {
        SCOPED_TRACE (outputs);
        const auto result = run (1, outputs, 8, {});

        for (int c = 0; c < outputs; ++c)
            for (int block = 0; block < 8; ++block)
                expectBlocksEqual (result.pluginOutputs[(size_t) c], result.referenceOutputs[(size_t) c], block);
    }
}

TEST_F (AaxProcessing, ARestoredStateSoundsAtOnceAsItDoesOnceSettled)
{
    host.transport.setOutputs (3, { 120.0 });
    host.transport.setOutputs (4, { 4.0, 4.0 });

    // Normal at 0.5 s, and Sync at "1/4"; both with feedback, both filters, full ping-pong and
    // balance and gain away from their defaults.
    const Settings states[] {
        { { "2", 1.0f / 3.0f }, { "0", 4.0f / 9.0f }, { "1", 0.5f }, { "3", 0.3f }, { "4", 1.0f }, { "5", 0.3f }, { "6", 0.2f }, { "7", 0.6f }, { "8", 0.8f } },
        { { "2", 1.0f }, { "0", 15.0f / 24.0f }, { "1", 0.5f }, { "3", 0.3f }, { "4", 1.0f }, { "5", 0.3f }, { "6", 0.2f }, { "7", 0.6f }, { "8", 0.8f } }
    };

    for (const auto& settings : states)
    {
        Instance saving (registration, host);
        for (const auto& [id, value] : settings)
            saving->applyNormalizedParameterValue (id, value, 0);
        const auto saved = saveChunk (saving, juceChunk);

        const auto impulseAfter = [&] (int silentBlocks)
        {
            Instance instance (registration, host);
            EXPECT_EQ (instance.loadChunk (juceChunk, saved), resultSuccess);

            const int numBlocks = 240;
            std::vector<float> left ((size_t) (numBlocks * blockLength)), right (left.size());
            const std::int32_t length = blockLength, bypass = 0;

            for (int block = -silentBlocks; block < numBlocks; ++block)
            {
                std::vector<float> silentL (blockLength), silentR (blockLength);
                const auto offset = (size_t) std::max (0, block) * blockLength;

                if (block == 0)
                    left[0] = 1.0f, right[0] = 0.5f;

                float* const out[] { block < 0 ? silentL.data() : left.data() + offset, block < 0 ? silentR.data() : right.data() + offset };
                const float* const in[] { out[0], out[1] };
                auto record = instance.record (in, out, &length, &bypass, nullptr);
                void* const records[] { &record };
                registration.process (records, records + 1);
            }

            return std::pair { left, right };
        };

        const auto atOnce = impulseAfter (0);
        const auto settled = impulseAfter ((int) sampleRate * 20 / blockLength);
        EXPECT_EQ (atOnce.first, settled.first) << settings[0].second;
        EXPECT_EQ (atOnce.second, settled.second) << settings[0].second;
        EXPECT_NE (atOnce.second, std::vector<float> (atOnce.second.size())) << "the echoes were heard";
    }
}

TEST_F (AaxPlugin, BothChunksSavedFromOneInstanceRestoreAnother)
{
    Instance first (registration, host);
    first->applyNormalizedParameterValue ("1", 0.6, 0);
    first->applyNormalizedParameterValue ("3", 0.2, 0);

    std::int32_t count = 0;
    first->stateChunkCount (&count);
    ASSERT_EQ (count, 2);
    std::uint32_t id = 0;
    EXPECT_EQ (first->stateChunkId (0, &id), resultSuccess);
    EXPECT_EQ (id, elckChunk);
    EXPECT_EQ (first->stateChunkId (1, &id), resultSuccess);
    EXPECT_EQ (id, juceChunk);
    EXPECT_EQ (first->stateChunkId (2, &id), resultBadChunkIndex);

    const auto parameters = saveChunk (first, elckChunk);
    const auto state = saveChunk (first, juceChunk);
    auto parametersChunk = ChunkBuffer::holding (elckChunk, parameters);
    auto stateChunk = ChunkBuffer::holding (juceChunk, state);

    Instance second (registration, host);
    bool equal = true;
    second->compareStateChunk (parametersChunk.record(), &equal);
    EXPECT_FALSE (equal);

    // The parameter chunk comes back as requests, which the host applies; the state block at once.
    host.automationDelegate.clearCalls();
    ASSERT_EQ (second->loadStateChunk (elckChunk, parametersChunk.record()), resultSuccess);
    applyRequests (second);
    ASSERT_EQ (second->loadStateChunk (juceChunk, stateChunk.record()), resultSuccess);

    for (const auto* parameter : processorIds)
    {
        double a = -1.0, b = -2.0;
        first->normalizedParameterValue (parameter, &a);
        second->normalizedParameterValue (parameter, &b);
        EXPECT_EQ (a, b) << parameter;
    }

    second->compareStateChunk (parametersChunk.record(), &equal);
    EXPECT_TRUE (equal);
    second->compareStateChunk (stateChunk.record(), &equal);
    EXPECT_TRUE (equal);
    EXPECT_EQ (saveChunk (second, juceChunk), state);
}

TEST_F (AaxPlugin, TheStateChunkIsComparedByItsBytesSoAChangedBackgroundShows)
{
    Instance instance (registration, host);
    const auto state = saveChunk (instance, juceChunk);
    auto saved = ChunkBuffer::holding (juceChunk, state);

    bool equal = false;
    ASSERT_EQ (instance->compareStateChunk (saved.record(), &equal), resultSuccess);
    EXPECT_TRUE (equal);

    // Only the editor's background differs from what the host holds.
    auto other = state;
    const std::string background = "<idxGUI>0</idxGUI>";
    ASSERT_NE (other.find (background), std::string::npos);
    other.replace (other.find (background), background.size(), "<idxGUI>1</idxGUI>");
    auto changed = ChunkBuffer::holding (juceChunk, other);
    instance->compareStateChunk (changed.record(), &equal);
    EXPECT_FALSE (equal);

    ASSERT_EQ (instance->loadStateChunk (juceChunk, changed.record()), resultSuccess);
    instance->compareStateChunk (changed.record(), &equal);
    EXPECT_TRUE (equal);
    instance->compareStateChunk (saved.record(), &equal);
    EXPECT_FALSE (equal);

    // A save needs the size asked first, so the host's record is never too small.
    ChunkBuffer unsized (4096);
    EXPECT_EQ (instance->saveStateChunk (juceChunk, unsized.record()), resultBadChunkSize);
}

TEST_F (AaxPlugin, TheGuiShowsTheEditorHeadlessAndLeavesNothingBehind)
{
    Instance instance (registration, host);
    ControllerWithEffect controller (*host.controllerUnknown(), reinterpret_cast<IACFUnknown*> (instance.effect));

    auto* unknown = registration.createGui();
    AAX_IACFEffectGUI* gui = nullptr;
    ASSERT_EQ (unknown->queryInterface (kEffectGUIInterfaceId, reinterpret_cast<void**> (&gui)), resultSuccess);

    AAX_Point size { 0.0f, 0.0f };
    EXPECT_EQ (gui->viewSize (&size), resultHostObjectMissing);

    ASSERT_EQ (gui->initialize (&controller), resultSuccess);
    ASSERT_EQ (gui->viewSize (&size), resultSuccess);
    EXPECT_EQ (size.vertical, 305.0f);
    EXPECT_EQ (size.horizontal, 620.0f);

    // Kind 0 is no view this platform can draw into: the editor stays off screen.
    ASSERT_EQ (gui->setViewContainer (host.viewContainerUnknown()), resultSuccess);
    EXPECT_TRUE (host.viewContainer.operationCalls().size() <= 2u);

    EXPECT_EQ (gui->parameterUpdated ("MasterBypassID"), resultSuccess);

    for (const auto* id : processorIds)
    {
        EXPECT_EQ (gui->parameterUpdated (id), resultSuccess);
        EXPECT_EQ (gui->highlightParameter (id, true, 2), resultSuccess);
    }

    EXPECT_EQ (gui->highlightParameter ("MasterBypassID", true, 0), resultSuccess);
    EXPECT_EQ (gui->highlightParameter ("3", false, 99), resultSuccess);

    EXPECT_EQ (gui->setViewContainer (nullptr), resultSuccess);
    EXPECT_EQ (gui->uninitialize(), resultSuccess);
    EXPECT_EQ (gui->highlightParameter ("3", true, 0), resultHostObjectMissing);
    EXPECT_EQ (gui->release(), 0u);
    EXPECT_EQ (controller.references, 0);
}

namespace
{
    /** Effect parameters of the host's own making, as a host may hand them to a GUI: the count and the
        identifiers answer, and nothing in them is ours. A host's object carries no type information of
        ours; the sanitizer build checks the type of every object it calls into, so there it carries the
        interface's. */
    const aaxtest::AnySlot* foreignEffectParameters()
    {
        using aaxtest::slots::slot;

        static const auto table = []
        {
            aaxtest::SlotTable<19> t { 0, LUMARRO_SANITIZED ? &typeid (AAX_IACFEffectParameters) : nullptr, {} };
            t.slots[0] = slot (&aaxtest::slots::queryInterface);
            t.slots[1] = slot (&aaxtest::slots::addRef);
            t.slots[2] = slot (&aaxtest::slots::release);
            t.slots[6] = slot<6, ResultCode, std::int32_t*>();
            t.slots[18] = slot<18, ResultCode, std::int32_t, void*>();
            return t;
        }();

        return table.slots;
    }
}

TEST_F (AaxPlugin, AGuiHandedEffectParametersOfTheHostsOwnShowsNoEditorAndGivesThemBack)
{
    aaxtest::FakeObject hostEffect (foreignEffectParameters(), "host's effect parameters");
    hostEffect.answer (kEffectParametersInterfaceId, &hostEffect);
    hostEffect.setOutputs (6, { 2 });
    ControllerWithEffect controller (*host.controllerUnknown(), hostEffect.unknown());

    auto* unknown = registration.createGui();
    AAX_IACFEffectGUI* gui = nullptr;
    ASSERT_EQ (unknown->queryInterface (kEffectGUIInterfaceId, reinterpret_cast<void**> (&gui)), resultSuccess);
    ASSERT_EQ (gui->initialize (&controller), resultSuccess);

    AAX_Point size {};
    EXPECT_EQ (gui->viewSize (&size), resultHostObjectMissing) << "only an instance of ours has an editor";
    ASSERT_EQ (gui->setViewContainer (host.viewContainerUnknown()), resultSuccess);
    EXPECT_EQ (hostEffect.operationCalls().size(), 3u) << "the count, then the identifiers at 0 and 1";

    EXPECT_EQ (gui->release(), 0u);
    EXPECT_EQ (hostEffect.references(), 0);
}

TEST_F (AaxPlugin, AGuiThatOutlivesTheHostsHoldOnItsInstanceStillClosesCleanly)
{
    auto instance = std::make_unique<Instance> (registration, host);
    ControllerWithEffect controller (*host.controllerUnknown(), reinterpret_cast<IACFUnknown*> (instance->effect));

    auto* unknown = registration.createGui();
    AAX_IACFEffectGUI* gui = nullptr;
    ASSERT_EQ (unknown->queryInterface (kEffectGUIInterfaceId, reinterpret_cast<void**> (&gui)), resultSuccess);
    ASSERT_EQ (gui->initialize (&controller), resultSuccess);
    ASSERT_EQ (gui->setViewContainer (host.viewContainerUnknown()), resultSuccess);

    // Initialising twice and handing over a second container leave one editor and one reference.
    ASSERT_EQ (gui->initialize (&controller), resultSuccess);
    ASSERT_EQ (gui->setViewContainer (host.viewContainerUnknown()), resultSuccess);
    ASSERT_EQ (gui->setViewContainer (host.viewContainerUnknown()), resultSuccess);

    // The host gives up the instance first; the GUI's own reference keeps the processor alive.
    instance = nullptr;
    EXPECT_EQ (library->canUnloadNow (nullptr), 2);

    AAX_Point size {};
    EXPECT_EQ (gui->viewSize (&size), resultSuccess);
    EXPECT_EQ (gui->release(), 0u);
    EXPECT_EQ (controller.references, 0);
}

namespace
{
    /** What the host's transport tells the plug-in, as the reference processor's play head. */
    struct FixedTransport final : public juce::AudioPlayHead
    {
        juce::Optional<PositionInfo> getPosition() const override
        {
            PositionInfo info;
            info.setBpm (100.0);
            info.setTimeSignature (TimeSignature { 3, 8 });
            return info;
        }
    };
}

TEST_F (AaxProcessing, SyncFollowsTheHostsTempoAndMeterLikeTheProcessorWithTheSameTransport)
{
    host.transport.setOutputs (3, { 100.0 });
    host.transport.setOutputs (4, { 3.0, 8.0 });

    FixedTransport transport;
    const Settings sync { { "2", 1.0f }, { "0", 0.0f }, { "1", 0.5f }, { "7", 0.5f } };
    const auto result = run (2, 2, 12, {}, sync, &transport);

    for (int c = 0; c < 2; ++c)
        for (int block = 0; block < 12; ++block)
            expectBlocksEqual (result.pluginOutputs[(size_t) c], result.referenceOutputs[(size_t) c], block);

    // Stopped: the stopped position is asked of the newer interface instead of the sample position.
    std::vector<int> slots;

    for (const auto& c : host.transport.operationCalls())
        slots.push_back (c.position);

    ASSERT_GE (slots.size(), 5u);
    EXPECT_EQ (std::vector<int> (slots.begin(), slots.begin() + 5), (std::vector<int> { 3, 4, 5, 6, 7 }));
    ASSERT_FALSE (host.transportNewer.operationCalls().empty());
    EXPECT_EQ (host.transportNewer.operationCalls()[0].position, 13);

    // Another tempo gives another echo, so the match above rests on the host's tempo.
    host.transport.setOutputs (3, { 140.0 });
    const auto faster = run (2, 2, 12, {}, sync, &transport);
    EXPECT_NE (faster.pluginOutputs[0], result.pluginOutputs[0]);
}

TEST_F (AaxPlugin, OneCallProcessesEveryInstanceItIsGivenAndSkipsEmptyEntries)
{
    Instance bypassed (registration, host);
    Instance running (registration, host);
    running->applyNormalizedParameterValue ("2", 0.0, 0);
    running->applyNormalizedParameterValue ("7", 1.0, 0);

    const auto input = testSignal (blockLength, 5u);
    std::vector<float> bypassedOut (blockLength), runningOut (blockLength);
    std::vector<float> bypassedRight (blockLength), runningRight (blockLength);
    const float* const inputs[] { input.data(), input.data() };
    float* const bypassedOutputs[] { bypassedOut.data(), bypassedRight.data() };
    float* const runningOutputs[] { runningOut.data(), runningRight.data() };
    const std::int32_t length = blockLength;
    const std::int32_t on = 1, off = 0;

    auto first = bypassed.record (inputs, bypassedOutputs, &length, &on, nullptr);
    auto second = running.record (inputs, runningOutputs, &length, &off, nullptr);
    void* const records[] { &first, nullptr, &second };
    registration.process (records, records + 3);

    EXPECT_EQ (bypassedOut, input);
    EXPECT_NE (runningOut, input);
    EXPECT_NE (runningOut, std::vector<float> (blockLength));

    // An instance whose private block the host never had filled is left alone.
    void* empty = nullptr;
    std::fill (runningOut.begin(), runningOut.end(), 2.0f);
    auto unfilled = running.record (inputs, runningOutputs, &length, &off, nullptr);
    unfilled.privateData = &empty;
    void* const lone[] { &unfilled };
    registration.process (lone, lone + 1);
    EXPECT_EQ (runningOut, std::vector<float> (blockLength, 2.0f));
}

TEST_F (AaxPlugin, ABlockLongerThanTheProcessorTakesAtOnceIsProcessedToItsEnd)
{
    Instance instance (registration, host);
    instance->applyNormalizedParameterValue ("7", 0.0, 0);
    instance->applyNormalizedParameterValue ("8", 0.0, 0);

    // Silence the whole way: with the output turned fully down, no sample may pass unchanged.
    const int length = 40000;
    std::vector<float> left (length, 0.5f), right (length, 0.5f);
    float* const outputs[] { left.data(), right.data() };
    const float* const inputs[] { left.data(), right.data() };
    const std::int32_t blockSize = length;
    auto record = instance.record (inputs, outputs, &blockSize, nullptr, nullptr);
    void* const records[] { &record };

    for (int block = 0; block < 3; ++block)
    {
        std::fill (left.begin(), left.end(), 0.5f);
        std::fill (right.begin(), right.end(), 0.5f);
        registration.process (records, records + 1);
    }

    EXPECT_LT (std::abs (left.back()), 0.01f);
    EXPECT_LT (std::abs (right[20000]), 0.01f);
}
