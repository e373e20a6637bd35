#include "ConcurrencyHarness.h"

#include "SavedBlocks.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <random>
#include <thread>

namespace concurrency
{
namespace
{
    constexpr int blockLength = 256;
    constexpr int savedSettings = 20;

    // The least each thread does before a run may end, so that a slow (sanitized) build still mixes them.
    constexpr int minBlocks = 40, minChanges = 100, minSaves = 5, minInstances = 2;

    void pause()
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

    /** What is wrong with a saved block; empty when it holds the magic, its text's length, the text
        and a zero byte, and the text is a "Root" document with every setting. */
    std::string problemsOf (const std::vector<char>& block)
    {
        const unsigned char magic[] { 0x56, 0x43, 0x32, 0x21 };

        if (block.size() < 9 || std::memcmp (block.data(), magic, sizeof (magic)) != 0)
            return "no magic in " + std::to_string (block.size()) + " bytes";

        int32_t length = 0;
        std::memcpy (&length, block.data() + 4, 4);

        if (length <= 0 || block.size() != (size_t) length + 9 || block.back() != 0)
            return "length " + std::to_string (length) + " in " + std::to_string (block.size()) + " bytes";

        const auto document = juce::parseXML (juce::String::fromUTF8 (block.data() + 8, length));

        if (document == nullptr)
            return "text that does not parse";

        if (! document->hasTagName ("Root") || document->getNumChildElements() != savedSettings)
            return document->getTagName().toStdString() + " with " + std::to_string (document->getNumChildElements()) + " elements";

        return {};
    }

    int samplesOutOfRange (const std::vector<float>& samples)
    {
        return (int) std::count_if (samples.begin(), samples.end(), [] (float s) { return ! (std::abs (s) <= 1.0f); });
    }

    class Run
    {
    public:
        explicit Run (HostRoads& hostToUse) : host (hostToUse) {}

        RunResult together (std::chrono::milliseconds duration, const std::function<void()>& hostGuiWork)
        {
            const auto end = std::chrono::steady_clock::now() + duration;
            std::thread audio ([this] { playAudio(); });
            std::thread automation ([this] { automate(); });
            std::thread state ([this] { saveAndRestore(); });
            std::thread instances ([this] { openAndClose(); });

            if (hostGuiWork)
                hostGuiWork();

            while (std::chrono::steady_clock::now() < end || ! everyThreadHasWorked())
                pause();

            // The state and instance threads stop, then the controllers go quiet; only then is the
            // automation's sweep the last word on every parameter.
            mixing = false;
            state.join();
            instances.join();
            quietControllers();
            sweepAllowed = true;
            automation.join();
            playing = false;
            audio.join();

            result.blocks = blocks;
            result.blocksSaved = saves;
            return result;
        }

    private:
        bool everyThreadHasWorked() const
        {
            return blocks >= minBlocks && changes >= minChanges && saves >= minSaves && instancesOpened >= minInstances;
        }

        /** Noise with an impulse at full scale now and then, and both controllers at random values. */
        void playAudio()
        {
            std::mt19937 random (1);
            std::uniform_real_distribution<float> noise (-0.5f, 0.5f);
            std::uniform_int_distribution<int> controllerValue (0, 127);
            std::vector<float> left (blockLength), right (blockLength);

            while (playing)
            {
                std::generate (left.begin(), left.end(), [&] { return noise (random); });
                std::generate (right.begin(), right.end(), [&] { return noise (random); });

                if (blocks % 8 == 0)
                    left[0] = right[blockLength / 2] = 1.0f;

                std::vector<ControllerMessage> controllers;

                if (controllersOn)
                    controllers = { { 0xB0, modeController, (std::uint8_t) controllerValue (random) },
                                    { 0xB0, dryWetController, (std::uint8_t) controllerValue (random) } };

                host.process (left, right, controllers);
                result.samplesOutOfRange += samplesOutOfRange (left) + samplesOutOfRange (right);
                ++blocks;
            }
        }

        /** Random values for random parameters, Mode among them; then, once nothing else changes
            them, one value for each. */
        void automate()
        {
            std::mt19937 random (2);
            std::uniform_int_distribution<int> anyParameter (0, numParameters - 1);
            std::uniform_real_distribution<float> anyValue (0.0f, 1.0f);

            while (mixing)
            {
                const auto index = anyParameter (random);
                host.setParameter (index, anyValue (random));
                host.readTexts (index);
                ++changes;
            }

            while (! sweepAllowed)
                pause();

            for (int index = 0; index < numParameters; ++index)
            {
                result.lastValuesSet[(size_t) index] = anyValue (random);
                host.setParameter (index, result.lastValuesSet[(size_t) index]);
            }
        }

        void saveAndRestore()
        {
            for (int round = 0; mixing; ++round)
            {
                const auto block = host.saveState();

                if (auto problem = problemsOf (block); ! problem.empty())
                    result.malformedBlocks.push_back (std::move (problem));

                ++saves;

                if (round % 2 == 0)
                    host.restoreState (block);
                else
                    host.restoreState (withBinding (withBinding (block, "midiMapMode", modeController), "midiMapDryWet", dryWetController));
            }
        }

        void openAndClose()
        {
            while (mixing)
            {
                host.openAndCloseAnother();
                ++instancesOpened;
            }
        }

        /** The block under way may still carry controllers; the one after it carries none. */
        void quietControllers()
        {
            controllersOn = false;
            const int seen = blocks;

            while (blocks < seen + 2)
                pause();
        }

        HostRoads& host;
        RunResult result;
        std::atomic<bool> playing { true }, mixing { true }, controllersOn { true }, sweepAllowed { false };
        std::atomic<int> blocks { 0 }, changes { 0 }, saves { 0 }, instancesOpened { 0 };
    };
}

RunResult runTogether (HostRoads& host, std::chrono::milliseconds together, const std::function<void()>& hostGuiWork)
{
    return Run (host).together (together, hostGuiWork);
}

void expectRunHeld (HostRoads& host, const RunResult& result)
{
    EXPECT_EQ (result.samplesOutOfRange, 0) << "in " << result.blocks << " blocks";
    EXPECT_EQ (result.malformedBlocks, std::vector<std::string>()) << "of " << result.blocksSaved << " saved";

    for (int index = 0; index < numParameters; ++index)
        EXPECT_EQ (host.parameter (index), result.lastValuesSet[(size_t) index]) << "parameter " << index;
}

} // namespace concurrency
