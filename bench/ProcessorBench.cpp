// processBlock cost per stereo sample at 48 kHz, in a Release build, for the three motions of the
// controls (see EngineMotion.h) at 1024- and 64-sample blocks. Goals at 1024-sample blocks: at most
// 5 ns settled, 8 ns while only the delay glides and 20 ns while every parameter moves; 64-sample
// blocks no worse than 1.5 times the 1024-sample figure of the same case. The quiet tail feeds noise
// around the filters' flush level, where a long echo tail spends its last seconds: it should cost
// what the settled case costs. On a shared machine, pin it to one core and repeat:
//     taskset -c 3 processor_bench --benchmark_repetitions=5
#include "EngineMotion.h"

#include "SorvaneAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace
{
    using enginebench::Motion;

    void fillNoise (juce::AudioSampleBuffer& buffer, juce::Random& random, float level = 1.0f)
    {
        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (channel, i, level * (random.nextFloat() * 0.5f - 0.25f));
    }

    void processBlock (benchmark::State& state, Motion motion, float inputLevel = 1.0f)
    {
        const int blockSize = (int) state.range (0);
        SorvaneAudioProcessor processor;
        processor.prepareToPlay (enginebench::sampleRate, blockSize);

        enginebench::MotionDriver driver (motion, blockSize, [&] (int index, float value)
        {
            processor.setParameter (index, value);
        });
        driver.setUp();

        juce::AudioSampleBuffer input (2, blockSize), buffer (2, blockSize);
        juce::MidiBuffer midi;
        juce::Random random (42);
        fillNoise (input, random, inputLevel);

        for (int64_t done = 0; done < enginebench::settlingSamples; done += blockSize)
        {
            buffer.makeCopyOf (input, true);
            processor.processBlock (buffer, midi);
        }

        for (auto _ : state)
        {
            driver.beforeBlock();
            buffer.makeCopyOf (input, true);
            processor.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        enginebench::checkMotion (state, motion, processor);
        enginebench::reportPerSample (state, blockSize);
    }

    void memoryPerInstance (benchmark::State& state)
    {
        for (auto _ : state)
        {
            SorvaneAudioProcessor processor;
            benchmark::DoNotOptimize (processor.delayLine.bufferL.get());
        }

        const auto ringBytes = 2.0 * (SorvaneAudioProcessor::maxDelaySamples + 1) * sizeof (float);
        const auto workBytes = 2.0 * SorvaneAudioProcessor::maxBlockSize * sizeof (float);
        const auto scopeBytes = 2.0 * SorvaneAudioProcessor::scopeSize * sizeof (float);
        state.counters["buffer_bytes"] = ringBytes + workBytes + scopeBytes;
        state.counters["instance_bytes"] = (double) sizeof (SorvaneAudioProcessor);
    }

    // A host's resume clears the line on its own thread, holding the callback lock, so the audio
    // thread may wait for it: goal well under 1 ms, with the rings gone cold in the caches while
    // the host was away.
    void resetAfterEchoes (benchmark::State& state)
    {
        std::vector<char> evictCaches (64 << 20);
        SorvaneAudioProcessor processor;
        processor.prepareToPlay (enginebench::sampleRate, 1024);
        processor.setParameter (SorvaneAudioProcessor::delayFeedbackIndex, 0.8f);

        juce::AudioSampleBuffer buffer (2, 1024);
        juce::MidiBuffer midi;
        juce::Random random (42);

        for (auto _ : state)
        {
            state.PauseTiming();
            fillNoise (buffer, random);
            processor.processBlock (buffer, midi);
            std::fill (evictCaches.begin(), evictCaches.end(), (char) state.iterations());
            benchmark::ClobberMemory();
            state.ResumeTiming();

            processor.reset();
            benchmark::DoNotOptimize (processor.delayLine.bufferL.get());
        }
    }
}

BENCHMARK_CAPTURE (processBlock, settled, Motion::settled)->Apply (enginebench::engineCase);
BENCHMARK_CAPTURE (processBlock, delayGliding, Motion::delayGliding)->Apply (enginebench::engineCase);
BENCHMARK_CAPTURE (processBlock, allMoving, Motion::allMoving)->Apply (enginebench::engineCase);
BENCHMARK_CAPTURE (processBlock, quietTail, Motion::settled, 1.0e-7f)->Apply (enginebench::engineCase);
BENCHMARK (memoryPerInstance);
BENCHMARK (resetAfterEchoes)->Unit (benchmark::kMicrosecond);

BENCHMARK_MAIN();
