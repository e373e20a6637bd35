// Parameter values far outside [0, 1], as a careless host or a corrupt session sends them,
// must never leave an instance stuck: once the values are sane again, so is the sound.
#include "SubstituteHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace
{
    constexpr int32_t numParameters = 9;
    constexpr float defaults[numParameters] { 0.0f, 0.5f, 0.33f, 0.5f, 0.0f, 0.0f, 0.0f, 0.5f, 0.9f };
    constexpr float extremes[] { FLT_MAX, -FLT_MAX, 1.0e38f, 1.0e30f, -5.0f, 7.0f };

    constexpr float sampleRate = 48000.0f;
    constexpr int32_t blockSize = 4096;
    constexpr int64_t second = (int64_t) sampleRate;

    // Long enough for the slowest glide, the delay time, to come back from the longest delay
    // that the extreme values reach, so that every smoothed value is exactly where a fresh
    // instance's is.
    constexpr int64_t settleSamples = 11 * second;

    class ExtremeParameters : public ::testing::Test
    {
    protected:
        static void SetUpTestSuite() { library = std::make_unique<VstPluginLibrary> (LUMARRO_PLUGIN_PATH); }
        static void TearDownTestSuite() { library.reset(); }

        static inline std::unique_ptr<VstPluginLibrary> library;
    };

    struct Stereo
    {
        std::vector<float> left, right;
    };

    /** Full scale, the sign flipping every sample and between the sides: it drives the rings
        and the feedback filters' sums as hard as any input can.
    */
    void processLoudly (SubstituteHost& host, int64_t samples)
    {
        Stereo loud { std::vector<float> ((size_t) samples), std::vector<float> ((size_t) samples) };

        for (size_t i = 0; i < loud.left.size(); ++i)
        {
            loud.left[i] = (i % 2 == 0) ? 1.0f : -1.0f;
            loud.right[i] = -loud.left[i];
        }

        host.processInPlace (loud.left, loud.right);
    }

    /** Processes silence and answers how many samples passed before the output stayed silent. */
    int64_t samplesUntilSilent (SubstituteHost& host, int64_t samples)
    {
        Stereo block { std::vector<float> ((size_t) blockSize), std::vector<float> ((size_t) blockSize) };
        int64_t lastSound = 0;

        for (int64_t done = 0; done < samples; done += blockSize)
        {
            std::fill (block.left.begin(), block.left.end(), 0.0f);
            std::fill (block.right.begin(), block.right.end(), 0.0f);
            host.processInPlace (block.left, block.right);

            for (size_t i = 0; i < block.left.size(); ++i)
                if (block.left[i] != 0.0f || block.right[i] != 0.0f)
                    lastSound = done + (int64_t) i + 1;
        }

        return lastSound;
    }

    Stereo sineThrough (SubstituteHost& host)
    {
        Stereo sine { std::vector<float> ((size_t) second), std::vector<float> ((size_t) second) };

        for (size_t i = 0; i < sine.left.size(); ++i)
        {
            sine.left[i] = 0.5f * std::sin (2.0f * 3.14159265f * 440.0f * (float) i / sampleRate);
            sine.right[i] = 0.25f * sine.left[i];
        }

        host.processInPlace (sine.left, sine.right);
        return sine;
    }

    /** One instance through the whole story: extreme values on the given parameters while loud
        audio plays, then the defaults; answers its sine output after the settling time.
    */
    Stereo sineAfterExtremes (const VstPluginLibrary& library, const std::vector<int32_t>& parameters, float value,
                              int64_t& samplesBeforeSilence)
    {
        SubstituteHost host (library, sampleRate, blockSize);
        host.resume();

        // The extremes arrive while the instance plays: a first block would start on them.
        samplesUntilSilent (host, blockSize);

        for (const auto index : parameters)
            host.setParameter (index, value);

        processLoudly (host, blockSize);

        for (int32_t index = 0; index < numParameters; ++index)
            host.setParameter (index, defaults[index]);

        samplesBeforeSilence = samplesUntilSilent (host, settleSamples);
        return sineThrough (host);
    }

    std::string describe (const std::vector<int32_t>& parameters, float value)
    {
        char text[64];
        std::snprintf (text, sizeof (text), " at %g", (double) value);
        return (parameters.size() == 1 ? "parameter " + std::to_string (parameters[0]) : std::string ("all parameters")) + text;
    }
}

TEST_F (ExtremeParameters, SaneValuesBringBackTheSoundOfAFreshInstance)
{
    int64_t freshSilence = 0;
    const auto fresh = sineAfterExtremes (*library, {}, 0.0f, freshSilence);

    std::vector<std::vector<int32_t>> cases;
    for (int32_t index = 0; index < numParameters; ++index)
        cases.push_back ({ index });
    cases.push_back ({ 0, 1, 2, 3, 4, 5, 6, 7, 8 });

    for (const auto& parameters : cases)
    {
        for (const auto value : extremes)
        {
            int64_t samplesBeforeSilence = 0;
            const auto output = sineAfterExtremes (*library, parameters, value, samplesBeforeSilence);

            EXPECT_LT (samplesBeforeSilence, 5 * second) << describe (parameters, value);
            EXPECT_EQ (output.left, fresh.left) << describe (parameters, value);
            EXPECT_EQ (output.right, fresh.right) << describe (parameters, value);
        }
    }
}
