// A delay change heard through the built plug-in, as a user hears it: a steady sine, wet only,
// with feedback, while the delay glides to a new length and after it has landed.
#include "SubstituteHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <memory>

namespace
{
    constexpr int32_t delayTimeIndex = 0, feedbackIndex = 1, modeIndex = 2, dryWetIndex = 7;
    constexpr float sampleRate = 48000.0f;
    constexpr int64_t seconds = 48000;

    constexpr float sineAmplitude = 0.25f;
    // 440 Hz has no period that divides the ring's lengths neatly, so a read position that
    // jumps shows as a step in the sine whatever the jump's length.
    constexpr double sineFrequency = 440.0;
    constexpr double pi = 3.14159265358979323846;

    /** One delay change: how the instance is set before it and what the change does. */
    struct DelayChange
    {
        const char* name;
        std::function<void (SubstituteHost&)> before, change;
        double startDelay, targetDelay; // in samples
    };

    VstTimeInfoRecord transportAt (double tempo)
    {
        VstTimeInfoRecord time {};
        time.tempo = tempo;
        time.timeSignatureNumerator = 4;
        time.timeSignatureDenominator = 4;
        time.flags = VstTimeInfoRecord::tempoValid | VstTimeInfoRecord::timeSignatureValid;
        return time;
    }

    float mode (int index) { return (float) index / 3.0f; }

    const DelayChange changes[] {
        { "Normal, 0.1 s to 0.55 s",
          [] (SubstituteHost& h) { h.setParameter (modeIndex, mode (1)); h.setParameter (delayTimeIndex, 0.0f); },
          [] (SubstituteHost& h) { h.setParameter (delayTimeIndex, 0.5f); },
          4800.0, 26400.0 },
        { "Long, 1 s to 3 s",
          [] (SubstituteHost& h) { h.setParameter (modeIndex, mode (2)); h.setParameter (delayTimeIndex, 0.0f); },
          [] (SubstituteHost& h) { h.setParameter (delayTimeIndex, 1.0f); },
          48000.0, 144000.0 },
        { "Sync, 1/4 at 120 bpm to 2/1 at 20 bpm",
          [] (SubstituteHost& h)
          {
              h.timeInfo = transportAt (120.0);
              h.setParameter (modeIndex, mode (3));
              h.setParameter (delayTimeIndex, 15.0f / 24.0f);
          },
          [] (SubstituteHost& h)
          {
              h.timeInfo = transportAt (20.0);
              h.setParameter (delayTimeIndex, 1.0f);
          },
          24000.0, 480000.0 },
    };

    /** A wet-only echo with feedback, fed a steady sine (plus, if asked, one impulse). */
    struct EchoRun
    {
        EchoRun (const VstPluginLibrary& library, const DelayChange& c)
            : host (library, sampleRate, 512), setting (c)
        {
            setting.before (host);
            host.setParameter (feedbackIndex, 0.3f);
            host.setParameter (dryWetIndex, 1.0f);
            host.resume();
        }

        /** The next `count` samples of the sine through the plug-in; the left output. */
        std::vector<float> run (int64_t count, int64_t impulseAt = -1)
        {
            std::vector<float> left ((size_t) count), right ((size_t) count);

            for (int64_t i = 0; i < count; ++i, ++position)
            {
                const auto phase = 2.0 * pi * sineFrequency * (double) position / (double) sampleRate;
                left[(size_t) i] = right[(size_t) i] = sineAmplitude * (float) std::sin (phase);
            }

            if (impulseAt >= 0)
                left[(size_t) impulseAt] += 1.0f;

            host.processInPlace (left, right);
            return left;
        }

        SubstituteHost host;
        const DelayChange& setting;
        int64_t position = 0;
    };

    class DelayGlide : public ::testing::TestWithParam<size_t>
    {
    protected:
        static void SetUpTestSuite() { library = std::make_unique<VstPluginLibrary> (LUMARRO_PLUGIN_PATH); }
        static void TearDownTestSuite() { library.reset(); }

        static inline std::unique_ptr<VstPluginLibrary> library;
    };
}

TEST_P (DelayGlide, StaysContinuousAndLandsExactlyOnItsLength)
{
    const auto& setting = changes[GetParam()];
    EchoRun echo (*library, setting);
    EchoRun twin (*library, setting);

    // Long enough for the starting delay to land and its echoes to be steady.
    const auto settled = echo.run (10 * seconds);
    twin.run (10 * seconds);

    setting.change (echo.host);
    setting.change (twin.host);

    // The longest glide lands in about 7.2 s; ten seconds covers the whole glide and its end.
    const auto gliding = echo.run (10 * seconds);
    twin.run (10 * seconds);

    // The bound, per sample n after the change. The sine's own largest step is s = 2 pi f / fs
    // times its amplitude. The echoes of the sine sum to at most 0.3 / (1 - 0.3) < 1 of it, and
    // a glide that moves the delay by r samples per sample reads the ring up to (1 + r) times
    // as fast: r(t) = 0.00002 of the remaining distance, t samples into the glide, and never
    // more than one float step of the target once the step rounds away. The part of the echo
    // that went round the feedback was shifted once more when it was read before, one delay
    // d(n) earlier (nothing moved before the change). So the step may reach
    //     2 s (1 + r(n) + r(n - d(n)) + float step),
    // twice leaving room for the feedback filters, yet far below the read position jumping.
    const auto sineStep = sineAmplitude * (float) (2.0 * pi * sineFrequency / (double) sampleRate);
    const auto distance = setting.targetDelay - setting.startDelay;
    const auto floatStep = (double) (std::nextafter ((float) setting.targetDelay, 1.0e9f) - (float) setting.targetDelay);
    const auto rate = [&] (double t) { return t < 0.0 ? 0.0 : 0.00002 * std::abs (distance) * std::exp (-t / 50000.0); };

    float largest = 0.0f, previous = settled.back();
    bool withinBound = true;

    for (size_t i = 0; i < gliding.size(); ++i)
    {
        const auto n = (double) i;
        const auto delay = setting.targetDelay - distance * std::exp (-n / 50000.0);
        const auto bound = 2.0 * sineStep * (1.0 + rate (n) + rate (n - delay) + floatStep);
        const auto step = std::abs (gliding[i] - previous);
        previous = gliding[i];
        largest = std::max (largest, step);

        if (withinBound && step > bound)
        {
            withinBound = false;
            ADD_FAILURE() << "a step of " << step << " at " << n / (double) sampleRate << " s, bound " << bound;
        }
    }

    std::cout << "[ " << setting.name << " ] largest step " << largest << ", the sine's own " << sineStep << std::endl;
    RecordProperty ("largestStep", std::to_string (largest));

    // After the glide: the twin hears one impulse more, so the two outputs differ first where
    // its echo comes back, exactly targetDelay samples later and not a fraction sooner.
    constexpr int64_t impulseAt = 100;
    const auto length = (int64_t) setting.targetDelay + 1000;
    const auto plain = echo.run (length);
    const auto marked = twin.run (length, impulseAt);

    int64_t firstDifference = -1;
    for (int64_t i = impulseAt + 1; i < length && firstDifference < 0; ++i)
        if (plain[(size_t) i] != marked[(size_t) i])
            firstDifference = i;

    EXPECT_EQ (firstDifference - impulseAt, (int64_t) setting.targetDelay);
}

INSTANTIATE_TEST_SUITE_P (NormalLongAndSync, DelayGlide, ::testing::Values (0, 1, 2));
