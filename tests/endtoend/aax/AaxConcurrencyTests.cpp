// The built plug-in's AAX exports under a host's threads at once: the process procedure with MIDI
// controllers, parameter requests and updates with their texts, both state chunks saved and
// restored, and other instances created and released.

#include "AaxPluginHost.h"
#include "ConcurrencyHarness.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace aaxplugin;

namespace
{
    constexpr std::uint32_t parameterChunkId = 0x656C636B; // 'elck'
    constexpr std::uint32_t stateChunkId = 0x6A756365;     // 'juce'
    constexpr double stereoLayout = 0x00010002;

    const char* const parameterIds[] { "0", "1", "2", "3", "4", "5", "6", "7", "8" };

    /** Runs one block through the process procedure, in place, as the host fills the instance's record. */
    void processBlock (const Registration& registration, const Instance& instance, std::vector<float>& left,
                       std::vector<float>& right, const AaxMidiNode* midi)
    {
        const float* const inputs[] { left.data(), right.data() };
        float* const outputs[] { left.data(), right.data() };
        const auto length = (std::int32_t) left.size();
        const std::int32_t bypass = 0;
        auto record = instance.record (inputs, outputs, &length, &bypass, midi);
        void* const records[] { &record };
        registration.process (records, records + 1);
    }

    /** One instance as an AAX host's threads reach it. */
    class AaxHostRoads final : public concurrency::HostRoads
    {
    public:
        AaxHostRoads (const Registration& registrationToUse, aaxtest::SubstituteAaxHost& hostToUse)
            : instance (registrationToUse, hostToUse), registration (registrationToUse), host (hostToUse) {}

        void process (std::vector<float>& left, std::vector<float>& right,
                      const std::vector<concurrency::ControllerMessage>& controllers) override
        {
            std::vector<AaxMidiMessage> messages;

            for (const auto& c : controllers)
                messages.push_back ({ 0, { c[0], c[1], c[2] } });

            const AaxMidiNode midi { (std::uint32_t) messages.size(), messages.data() };
            processBlock (registration, instance, left, right, &midi);
        }

        /** A control surface asks for the value, and the host's automation answers with it. */
        void setParameter (int index, float value) override
        {
            instance->setNormalizedParameterValue (parameterIds[index], value);
            instance->applyNormalizedParameterValue (parameterIds[index], value, 0);
        }

        float parameter (int index) override
        {
            double value = -1.0;
            instance->normalizedParameterValue (parameterIds[index], &value);
            return (float) value;
        }

        void readTexts (int index) override
        {
            AAX_CString text;
            instance->parameterValueText (parameterIds[index], &text, 31);
            instance->parameterDisplayName (parameterIds[index], &text);
        }

        /** Both chunks, as a session save takes them; the parameter chunk is kept for the restore. */
        std::vector<char> saveState() override
        {
            parameterChunk = instance.saveChunk (parameterChunkId);
            const auto state = instance.saveChunk (stateChunkId);
            return { state.begin(), state.end() };
        }

        void restoreState (const std::vector<char>& block) override
        {
            instance.loadChunk (parameterChunkId, parameterChunk);
            instance.loadChunk (stateChunkId, std::string (block.begin(), block.end()));
        }

        void openAndCloseAnother() override
        {
            const Instance other (registration, host);
            std::vector<float> left (256), right (256);
            processBlock (registration, other, left, right, nullptr);
        }

        const Instance instance;

    private:
        const Registration& registration;
        aaxtest::SubstituteAaxHost& host;
        std::string parameterChunk;
    };
}

TEST (AaxConcurrency, EveryThreadAtOnceKeepsTheOutputSoundTheBlocksWholeAndTheLastValuesSet)
{
    // Headless: no GUI is made here.
    unsetenv ("DISPLAY");

    aaxtest::SubstituteAaxHost host;
    host.controller.setOutputs (4, { 48000.0 });
    host.controller.setOutputs (5, { stereoLayout });
    host.controller.setOutputs (6, { stereoLayout });
    host.transport.setOutputs (3, { 120.0 });
    host.transport.setOutputs (4, { 4.0, 4.0 });

    PluginLibrary library (LUMARRO_PLUGIN_PATH);
    ASSERT_EQ (library.startup (host.hostUnknown()), resultSuccess);
    IACFUnknown* definition = nullptr;
    ASSERT_EQ (library.registerPlugin (host.hostUnknown(), &definition), resultSuccess);

    {
        const auto registration = Registration::readFrom (host);
        AaxHostRoads roads (registration, host);
        const auto result = concurrency::runTogether (roads, std::chrono::milliseconds (300));
        concurrency::expectRunHeld (roads, result);
    }

    definition->release();
    EXPECT_EQ (library.canUnloadNow (nullptr), 0);
    EXPECT_EQ (library.shutdown (nullptr), resultSuccess);
}
