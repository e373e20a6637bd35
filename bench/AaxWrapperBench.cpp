// What the AAX road adds to the processor's own work: the process procedure's record, the copy of
// the inputs into the outputs and the callback lock, against processBlock alone, at 256-sample stereo
// blocks. The goal is under 5 % more. On a shared machine, compare them interleaved:
//   aax_wrapper_bench --benchmark_repetitions=12 --benchmark_enable_random_interleaving=true

#include "LumarroAAXProcessor.h"
#include "WrapperBenchSupport.h"

#include <memory>
#include <vector>

namespace
{
    using wrapperbench::blockSize;
    using wrapperbench::fillWithNoise;
    constexpr double sampleRate = 44100.0;

    void processBlockAlone (benchmark::State& state)
    {
        wrapperbench::processBlockAlone (state, sampleRate);
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
