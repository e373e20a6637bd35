// What the VST road adds to the processor's own work (the host's call through the effect record,
// the copy of the inputs into the outputs and the callback lock) for the three motions of the
// controls (see EngineMotion.h), at 1024- and 64-sample stereo blocks, as ns per stereo sample.
// The road's own goal is under 5 % on top of processBlock alone; the engine's goals are those of
// processor_bench. On a shared machine, pin it to one core and compare the pairs interleaved:
//   taskset -c 3 vst_wrapper_bench --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true

#include "LumarroVSTWrapper.h"
#include "WrapperBenchSupport.h"

#include <memory>
#include <vector>

namespace
{
    using enginebench::Motion;
    using wrapperbench::fillWithNoise;

    void processBlockAlone (benchmark::State& state, Motion motion)
    {
        wrapperbench::processBlockInMotion (state, motion);
    }

    void throughTheVstWrapper (benchmark::State& state, Motion motion)
    {
        const int blockSize = (int) state.range (0);

        // Built into this program rather than loaded, so that both runs use the same processor code.
        const VstHostCallback host = [] (VstEffectRecord*, int32_t opcode, int32_t, intptr_t, void*, float) -> intptr_t
        {
            return opcode == AudioEffect::versionHostOpcode ? 2400 : 0;
        };

        LumarroVSTWrapper wrapper (host, std::unique_ptr<juce::AudioProcessor> (createPluginFilter()));
        auto& record = *wrapper.effectRecord();
        record.dispatch (&record, AudioEffect::setSampleRateOpcode, 0, 0, nullptr, (float) enginebench::sampleRate);
        record.dispatch (&record, AudioEffect::setBlockSizeOpcode, 0, blockSize, nullptr, 0.0f);
        record.dispatch (&record, AudioEffect::switchProcessingOpcode, 0, 1, nullptr, 0.0f);

        // Parameters arrive as a host sends them, through the record's entry.
        enginebench::MotionDriver driver (motion, blockSize, [&] (int index, float value)
        {
            record.setParameter (&record, index, value);
        });
        driver.setUp();

        std::vector<float> inL ((size_t) blockSize), inR ((size_t) blockSize), outL ((size_t) blockSize), outR ((size_t) blockSize);
        fillWithNoise (inL.data(), blockSize, 1);
        fillWithNoise (inR.data(), blockSize, 2);
        float* inputs[] { inL.data(), inR.data() };
        float* outputs[] { outL.data(), outR.data() };

        for (int64_t done = 0; done < enginebench::settlingSamples; done += blockSize)
            record.processReplacing (&record, inputs, outputs, blockSize);

        for (auto _ : state)
        {
            driver.beforeBlock();
            record.processReplacing (&record, inputs, outputs, blockSize);
            benchmark::DoNotOptimize (outL.data());
            benchmark::ClobberMemory();
        }

        enginebench::checkMotion (state, motion, static_cast<const SorvaneAudioProcessor&> (wrapper.getProcessor()));
        enginebench::reportPerSample (state, blockSize);
    }
}

BENCHMARK_CAPTURE (processBlockAlone, settled, Motion::settled)->Apply (enginebench::engineCase);
BENCHMARK_CAPTURE (throughTheVstWrapper, settled, Motion::settled)->Apply (enginebench::engineCase);
BENCHMARK_CAPTURE (processBlockAlone, delayGliding, Motion::delayGliding)->Apply (enginebench::engineCase);
BENCHMARK_CAPTURE (throughTheVstWrapper, delayGliding, Motion::delayGliding)->Apply (enginebench::engineCase);
BENCHMARK_CAPTURE (processBlockAlone, allMoving, Motion::allMoving)->Apply (enginebench::engineCase);
BENCHMARK_CAPTURE (throughTheVstWrapper, allMoving, Motion::allMoving)->Apply (enginebench::engineCase);

BENCHMARK_MAIN();
