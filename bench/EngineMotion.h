#pragma once

// The three states of the controls that the engine benchmarks measure, driven through
// setParameter as a host would drive them, and the counter they all report.
//
//  - settled: every smoothed value sits on its target;
//  - delayGliding: only the delay time glides, as it does for seconds after a delay change;
//  - allMoving: every parameter but Mode gets a new value every block. Mode is a switch, not a
//    glide: it only re-maps the delay target, which moves anyway.

#include "SorvaneAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace enginebench
{
    enum class Motion
    {
        settled,
        delayGliding,
        allMoving
    };

    constexpr double sampleRate = 48000.0;

    /** Long enough for every glide to reach its target, the delay's creep included. */
    constexpr int64_t settlingSamples = 48000 * 20;

    /** Two delay times far enough apart that the delay glides the whole time between flips. */
    constexpr float shortDelayValue = 0.2f, longDelayValue = 0.8f;
    constexpr int64_t samplesBetweenDelayFlips = 48000 * 2;

    /** Sets parameters before each block so that the processor's controls stay in one motion. */
    template <typename SetParameter>
    class MotionDriver
    {
    public:
        MotionDriver (Motion m, int samplesPerBlock, SetParameter setter)
            : motion (m), blockSize (samplesPerBlock), setParameter (setter)
        {
        }

        /** The settings every case starts from, with echoes crossing sides and a filtered feedback path. */
        void setUp()
        {
            setParameter (SorvaneAudioProcessor::delayTimeIndex, shortDelayValue);
            setParameter (SorvaneAudioProcessor::pingPongIndex, 0.5f);
            setParameter (SorvaneAudioProcessor::highCutIndex, 0.3f);
        }

        void beforeBlock()
        {
            if (motion == Motion::delayGliding)
                flipDelayWhenDue();
            else if (motion == Motion::allMoving)
                moveEveryParameter();

            samplesDone += blockSize;
        }

    private:
        void flipDelayWhenDue()
        {
            if (samplesDone < nextFlip)
                return;

            towardsLong = ! towardsLong;
            setParameter (SorvaneAudioProcessor::delayTimeIndex, towardsLong ? longDelayValue : shortDelayValue);
            nextFlip += samplesBetweenDelayFlips;
        }

        void moveEveryParameter()
        {
            const float value = 0.2f + 0.1f * (float) (block++ % 6);

            for (int i = 0; i < SorvaneAudioProcessor::numParameters; ++i)
                if (i != SorvaneAudioProcessor::modeIndex)
                    setParameter (i, value);
        }

        const Motion motion;
        const int blockSize;
        SetParameter setParameter;
        int64_t samplesDone = 0;
        int64_t nextFlip = 0;
        bool towardsLong = false;
        int block = 0;
    };

    /** True when every smoothed value but the delay sits on its target. */
    inline bool allButTheDelaySettled (const SorvaneAudioProcessor& processor)
    {
        bool settled = processor.balance == processor.targetBalance && processor.gain == processor.targetGain;

        const auto targets = processor.delayLine.currentTargets();

        DelayLine::forEachSmoothedValue (processor.delayLine, targets, [&] (auto how, float value, float target)
        {
            if constexpr (! std::is_same_v<decltype (how), DelayLine::DelayTime>)
                settled = settled && value == target;
        });

        return settled;
    }

    /** Called after the timed blocks: skips the case when the controls were not in the motion it
        names, so that a figure always means what its name says.
    */
    inline void checkMotion (benchmark::State& state, Motion motion, const SorvaneAudioProcessor& processor)
    {
        const bool delaySettled = processor.delayLine.delay == processor.delayLine.targetDelay;

        if (motion == Motion::settled && ! (delaySettled && allButTheDelaySettled (processor)))
            state.SkipWithError ("the controls did not settle");

        if (motion == Motion::delayGliding && (delaySettled || ! allButTheDelaySettled (processor)))
            state.SkipWithError ("something besides the delay moves, or the delay does not");
    }

    /** An inverted rate of samples is seconds per stereo sample, which the console prints in ns. */
    inline void reportPerSample (benchmark::State& state, int blockSize)
    {
        state.counters["per_stereo_sample"] = benchmark::Counter ((double) state.iterations() * blockSize,
                                                                  benchmark::Counter::kIsRate
                                                                      | benchmark::Counter::kInvert);
    }

    /** The block sizes every case runs at; with repetitions each case also reports its fastest run,
        the figure least disturbed by other work on a shared machine.
    */
    inline void engineCase (benchmark::internal::Benchmark* b)
    {
        b->Arg (1024)->Arg (64)->ComputeStatistics ("min", [] (const std::vector<double>& v)
        {
            return *std::min_element (v.begin(), v.end());
        });
    }
}
