// processBlock cost per stereo sample at 48 kHz. Goal: at most 10 ns settled at 1024-sample
// blocks in a Release build, and under twice that while all nine parameters move every block.
#include "SorvaneAudioProcessor.h"

#include <benchmark/benchmark.h>

namespace
{
    void fillNoise (juce::AudioSampleBuffer& buffer, juce::Random& random)
    {
        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (channel, i, random.nextFloat() * 0.5f - 0.25f);
    }

    void processBlock (benchmark::State& state, bool moving)
    {
        const int blockSize = (int) state.range (0);
        SorvaneAudioProcessor processor;
        processor.prepareToPlay (48000.0, blockSize);
        processor.setParameter (SorvaneAudioProcessor::pingPongIndex, 0.5f);
        processor.setParameter (SorvaneAudioProcessor::highCutIndex, 0.3f);

        juce::AudioSampleBuffer input (2, blockSize), buffer (2, blockSize);
        juce::MidiBuffer midi;
        juce::Random random (42);
        fillNoise (input, random);

        // Run long enough for every glide to settle, unless the test keeps them moving.
        for (int i = 0; i < 48000 * 20 / blockSize; ++i)
        {
            buffer.makeCopyOf (input, true);
            processor.processBlock (buffer, midi);
        }

        int block = 0;
        for (auto _ : state)
        {
            if (moving)
            {
                const float value = 0.2f + 0.1f * (float) (block++ % 6);
                for (int i = 0; i < SorvaneAudioProcessor::numParameters; ++i)
                    if (i != SorvaneAudioProcessor::modeIndex)
                        processor.setParameter (i, value);
            }

            buffer.makeCopyOf (input, true);
            processor.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
        }

        // An inverted rate of samples / 1e9 reads as nanoseconds per stereo sample.
        state.counters["ns_per_stereo_sample"] = benchmark::Counter ((double) state.iterations() * blockSize / 1.0e9,
                                                                     benchmark::Counter::kIsRate
                                                                         | benchmark::Counter::kInvert);
    }

    void settled (benchmark::State& state) { processBlock (state, false); }
    void gliding (benchmark::State& state) { processBlock (state, true); }

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
    }
}

BENCHMARK (settled)->Arg (64)->Arg (256)->Arg (1024)->Arg (16384);
BENCHMARK (gliding)->Arg (64)->Arg (256)->Arg (1024)->Arg (16384);
BENCHMARK (memoryPerInstance);

BENCHMARK_MAIN();
