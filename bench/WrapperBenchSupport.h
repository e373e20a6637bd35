#pragma once

// What the wrapper benchmarks compare against: processBlock alone on the same stereo noise,
// refilled every block as the wrappers' runs refill their outputs.

#include "SorvaneAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

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
}
