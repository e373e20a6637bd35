#include "DelayLine.h"

#include <algorithm>

using lumarro::clamp2;

void DelayLine::init (int32_t minD, int32_t maxD)
{
    lowPassL.init();
    lowPassR.init();
    highPassL.init();
    highPassR.init();

    targetMix = mix = 0.5f;
    targetPingPong = pingPong = 0.0f;
    minDelay = minD;
    maxDelay = maxD;
    delay = (float) minD;
    targetDelay = 0.0f;
    targetFeedback = feedback = feedbackSampleL = feedbackSampleR = 0.0f;
    writePos = readPos = 0;
    length = maxD + 1;

    // make_unique value-initialises, so the rings start as silence.
    bufferL = std::make_unique<float[]> ((size_t) length);
    bufferR = std::make_unique<float[]> ((size_t) length);
}

void DelayLine::setDelayTarget (float samples) noexcept
{
    targetDelay = std::min ((float) maxDelay, std::max ((float) minDelay, samples));
}

void DelayLine::setFeedback (float gain) noexcept
{
    targetFeedback = gain;
}

void DelayLine::setPingPong (float amount) noexcept
{
    targetPingPong = std::min (1.0f, std::max (0.0f, amount));
}

// Most blocks run with every control settled; those skip the glides, which would change nothing.
void DelayLine::processMono (const float* in, float* out, int32_t n) noexcept
{
    if (isSettled())
        runMono<false> (*this, in, out, bufferL.get(), n);
    else
        runMono<true> (*this, in, out, bufferL.get(), n);
}

void DelayLine::processStereo (const float* const* in, float* const* out, int32_t n) noexcept
{
    if (isSettled())
        runStereo<false> (*this, in[0], in[1], out[0], out[1], bufferL.get(), bufferR.get(), n);
    else
        runStereo<true> (*this, in[0], in[1], out[0], out[1], bufferL.get(), bufferR.get(), n);
}

// The loops mark their buffers __restrict: otherwise every store to an output or ring sample
// might alias a float field of the line, and the compiler would reload and re-store the whole
// state on every sample. A mono output may be its own input, so only its ring is restricted;
// each input sample is read before its output is written, which makes in-place use exact.
template <bool gliding>
void DelayLine::runMono (DelayLine& line, const float* in, float* out, float* __restrict ring, int32_t n) noexcept
{
    for (int32_t i = 0; i < n; ++i)
    {
        line.advanceWritePosition();

        if constexpr (gliding)
            lumarro::glideControl (line.feedback, line.targetFeedback);

        const float x = in[i];
        ring[line.writePos] = clamp2 (x + line.feedbackSampleL) * line.feedback;

        const float frac = line.advanceReadPosition<gliding>();
        const float heard = line.readInterpolated (ring, frac);
        const float echo = line.lowPassL.template process<gliding> (line.highPassL.template process<gliding> (heard));
        line.feedbackSampleL = echo;

        float dry, wet;
        line.mixGains<gliding> (dry, wet);
        out[i] = clamp2 (dry * x + wet * echo);
    }
}

template <bool gliding>
void DelayLine::runStereo (DelayLine& line, const float* __restrict inL, const float* __restrict inR,
                           float* __restrict outL, float* __restrict outR,
                           float* __restrict ringL, float* __restrict ringR, int32_t n) noexcept
{
    for (int32_t i = 0; i < n; ++i)
    {
        if constexpr (gliding)
            lumarro::glideControl (line.pingPong, line.targetPingPong);

        const float p = line.pingPong;

        line.advanceWritePosition();

        if constexpr (gliding)
            lumarro::glideControl (line.feedback, line.targetFeedback);

        const float left = inL[i];
        const float right = inR[i];
        const float a = left + line.feedbackSampleL;
        const float b = right + line.feedbackSampleR;
        ringL[line.writePos] = clamp2 ((1.0f - p) * a + p * b) * line.feedback;
        ringR[line.writePos] = clamp2 (p * a + (1.0f - p) * b) * line.feedback;

        const float frac = line.advanceReadPosition<gliding>();
        const float heardL = line.readInterpolated (ringL, frac);
        const float echoL = line.lowPassL.template process<gliding> (line.highPassL.template process<gliding> (heardL));
        line.feedbackSampleL = echoL;
        const float heardR = line.readInterpolated (ringR, frac);
        const float echoR = line.lowPassR.template process<gliding> (line.highPassR.template process<gliding> (heardR));
        line.feedbackSampleR = echoR;

        float dry, wet;
        line.mixGains<gliding> (dry, wet);
        outL[i] = clamp2 (dry * left + wet * echoL);
        outR[i] = clamp2 (dry * right + wet * echoR);
    }
}
