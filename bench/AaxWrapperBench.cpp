// What the AAX road adds to the processor's own work: the process procedure's record, the copy of
// the inputs into the outputs and the callback lock, against processBlock alone, at 256-sample stereo
// blocks. The goal is under 5 % more. On a shared machine, compare them interleaved:
//   aax_wrapper_bench --benchmark_repetitions=12 --benchmark_enable_random_interleaving=true

#include "LumarroAAXProcessor.h"
#include "SorvaneAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace
{
    constexpr double sampleRate = 44100.0;
    constexpr int blockSize = 256;

    void fillWithNoise (float* samples, int count, unsigned seed)
    {
        std::minstd_rand random (seed);
        std::uniform_real_distribution<float> level (-0.25f, 0.25f);

        for (int i = 0; i < count; ++i)
            samples[i] = level (random);
    }

    void processBlockAlone (benchmark::State& state)
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

    void throughTheAaxWrapper (benchmark::State& state)
    {
        // Built into this program rather than loaded, so that both runs use the same processor code.
        // Without a host the instance keeps its default rate and stereo layout.
        auto instance = std::make_unique<LumarroAAXProcessor> (std::unique_ptr<juce::AudioProcessor> (createPluginFilter()));
        instance->initialize (nullptr);

        std::vector<float> inL (blockSize), inR (blockSize), outL (blockSize), outR (blockSize);
        fillWithNoise (inL.data(), blockSize, 1);
        fillWithNoise (inR.data(), blockSize, 2);
        const float* const inputs[] { inL.data(), inR.data() };
        float* const outputs[] { outL.data(), outR.data() };
        const int32_t length = blockSize;
        const int32_t bypass = 0;
        const AaxMidiNode midi { 0, nullptr };
        const AaxInstanceRecord record { inputs, outputs, &length, &bypass, &midi, nullptr };

        for (auto _ : state)
        {
            instance->process (record);
            benchmark::DoNotOptimize (outL.data());
            benchmark::ClobberMemory();
        }

        state.SetItemsProcessed (state.iterations() * blockSize);
        instance->uninitialize();
    }
}

BENCHMARK (processBlockAlone)->MinTime (1.0);
BENCHMARK (throughTheAaxWrapper)->MinTime (1.0);

BENCHMARK_MAIN();
