#pragma once

// What the wrapper benchmarks compare against: processBlock alone on the same stereo noise,
// refilled every block as the wrappers' runs refill their outputs.

#include "EngineMotion.h"
#include "SorvaneAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace wrapperbench
{
    constexpr int blockSize = 256;

    inline void fillWithNoise (float* samples, int count, unsigned seed)
    {
        std::minstd_rand random (seed);
        std::uniform_real_distribution<float> level (-0.25f, 0.25f);

        for (int i = 0; i < count; ++i)
            samples[i] = level (random);
    }

    inline void processBlockAlone (benchmark::State& state, double sampleRate)
    {
        std::unique_ptr<juce::AudioProcessor> processor (createPluginFilter());
        processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor->prepareToPlay (sampleRate, blockSize);

        juce::AudioBuffer<float> input (2, blockSize), buffer (2, blockSize);
        fillWithNoise (input.getWritePointer (0), blockSize, 1);
        fillWithNoise (input.getWritePointer (1), blockSize, 2);
        juce::MidiBuffer midi;

        for (auto _ : state)
        {
            buffer.copyFrom (0, 0, input, 0, 0, blockSize);
            buffer.copyFrom (1, 0, input, 1, 0, blockSize);
            processor->processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getWritePointer (0));
            benchmark::ClobberMemory();
        }

        state.SetItemsProcessed (state.iterations() * blockSize);
    }

    /** processBlock alone, through the AudioProcessor interface as a wrapper calls it, with the
        controls in one motion, at the given block size, after they have settled.
    */
    inline void processBlockInMotion (benchmark::State& state, enginebench::Motion motion)
    {
        const int samples = (int) state.range (0);
        std::unique_ptr<juce::AudioProcessor> processor (createPluginFilter());
        auto& lumarro = static_cast<SorvaneAudioProcessor&> (*processor);
        processor->setRateAndBufferSizeDetails (enginebench::sampleRate, samples);
        processor->prepareToPlay (enginebench::sampleRate, samples);

        enginebench::MotionDriver driver (motion, samples, [&] (int index, float value)
        {
            lumarro.setParameter (index, value);
        });
        driver.setUp();

        juce::AudioBuffer<float> input (2, samples), buffer (2, samples);
        fillWithNoise (input.getWritePointer (0), samples, 1);
        fillWithNoise (input.getWritePointer (1), samples, 2);
        juce::MidiBuffer midi;

        const auto processOneBlock = [&]
        {
            buffer.copyFrom (0, 0, input, 0, 0, samples);
            buffer.copyFrom (1, 0, input, 1, 0, samples);
            processor->processBlock (buffer, midi);
        };

        for (int64_t done = 0; done < enginebench::settlingSamples; done += samples)
            processOneBlock();

        for (auto _ : state)
        {
            driver.beforeBlock();
            processOneBlock();
            benchmark::DoNotOptimize (buffer.getWritePointer (0));
            benchmark::ClobberMemory();
        }

        enginebench::checkMotion (state, motion, lumarro);
        enginebench::reportPerSample (state, samples);
    }
}
