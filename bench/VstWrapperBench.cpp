// What the VST road adds to the processor's own work: the host's call through the effect
// record, the copy of the inputs into the outputs and the callback lock, against processBlock
// alone, at 256-sample stereo blocks. The goal is under 5 % more. On a shared machine, compare
// them interleaved:  vst_wrapper_bench --benchmark_repetitions=12 --benchmark_enable_random_interleaving=true

#include "LumarroVSTWrapper.h"
#include "WrapperBenchSupport.h"

#include <memory>
#include <vector>

namespace
{
    using wrapperbench::blockSize;
    using wrapperbench::fillWithNoise;
    constexpr double sampleRate = 48000.0;

    void processBlockAlone (benchmark::State& state)
    {
        wrapperbench::processBlockAlone (state, sampleRate);
    }

    void throughTheVstWrapper (benchmark::State& state)
    {
        // Built into this program rather than loaded, so that both runs use the same processor code.
        const VstHostCallback host = [] (VstEffectRecord*, int32_t opcode, int32_t, intptr_t, void*, float) -> intptr_t
        {
            return opcode == AudioEffect::versionHostOpcode ? 2400 : 0;
        };

        LumarroVSTWrapper wrapper (host, std::unique_ptr<juce::AudioProcessor> (createPluginFilter()));
        auto& record = *wrapper.effectRecord();
        record.dispatch (&record, AudioEffect::setSampleRateOpcode, 0, 0, nullptr, (float) sampleRate);
        record.dispatch (&record, AudioEffect::setBlockSizeOpcode, 0, blockSize, nullptr, 0.0f);
        record.dispatch (&record, AudioEffect::switchProcessingOpcode, 0, 1, nullptr, 0.0f);

        std::vector<float> inL (blockSize), inR (blockSize), outL (blockSize), outR (blockSize);
        fillWithNoise (inL.data(), blockSize, 1);
        fillWithNoise (inR.data(), blockSize, 2);
        float* inputs[] { inL.data(), inR.data() };
        float* outputs[] { outL.data(), outR.data() };

        for (auto _ : state)
        {
            record.processReplacing (&record, inputs, outputs, blockSize);
            benchmark::DoNotOptimize (outL.data());
            benchmark::ClobberMemory();
        }

        state.SetItemsProcessed (state.iterations() * blockSize);
    }
}

BENCHMARK (processBlockAlone)->MinTime (1.0);
BENCHMARK (throughTheVstWrapper)->MinTime (1.0);

BENCHMARK_MAIN();
