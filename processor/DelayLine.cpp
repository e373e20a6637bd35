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

void DelayLine::advanceWritePosition() noexcept
{
    if (++writePos >= length)
        writePos -= length;
}

/** Glides and clamps the delay, places readPos and returns the fraction to interpolate by. */
float DelayLine::advanceReadPosition() noexcept
{
    lumarro::glideDelay (delay, targetDelay);

    if (delay < (float) minDelay) delay = (float) minDelay;
    if (delay > (float) maxDelay) delay = (float) maxDelay;

    const auto whole = (int32_t) std::floor (delay);
    readPos = writePos - whole;

    while (readPos < 0)
        readPos += length;

    return delay - (float) whole;
}

float DelayLine::readInterpolated (const float* ring, float frac) const noexcept
{
    const float older = readPos == 0 ? ring[length - 1] : ring[readPos - 1];
    return (1.0f - frac) * ring[readPos] + frac * older;
}

/** A crossfade that keeps the louder side at unity. */
void DelayLine::mixGains (float& dry, float& wet) noexcept
{
    lumarro::glideControl (mix, targetMix);

    if (mix <= 0.5f)
    {
        dry = 1.0f;
        wet = 2.0f * mix;
    }
    else
    {
        dry = 2.0f * (1.0f - mix);
        wet = 1.0f;
    }
}

void DelayLine::processMono (const float* in, float* out, int32_t n) noexcept
{
    for (int32_t i = 0; i < n; ++i)
    {
        advanceWritePosition();
        lumarro::glideControl (feedback, targetFeedback);

        const float x = in[i];
        bufferL[(size_t) writePos] = clamp2 (x + feedbackSampleL) * feedback;

        const float frac = advanceReadPosition();
        const float echo = lowPassL.process (highPassL.process (readInterpolated (bufferL.get(), frac)));
        feedbackSampleL = echo;

        float dry, wet;
        mixGains (dry, wet);
        out[i] = clamp2 (dry * x + wet * echo);
    }
}

void DelayLine::processStereo (const float* const* in, float* const* out, int32_t n) noexcept
{
    for (int32_t i = 0; i < n; ++i)
    {
        lumarro::glideControl (pingPong, targetPingPong);
        const float p = pingPong;

        advanceWritePosition();
        lumarro::glideControl (feedback, targetFeedback);

        const float inL = in[0][i];
        const float inR = in[1][i];
        const float a = inL + feedbackSampleL;
        const float b = inR + feedbackSampleR;
        bufferL[(size_t) writePos] = clamp2 ((1.0f - p) * a + p * b) * feedback;
        bufferR[(size_t) writePos] = clamp2 (p * a + (1.0f - p) * b) * feedback;

        const float frac = advanceReadPosition();
        const float echoL = lowPassL.process (highPassL.process (readInterpolated (bufferL.get(), frac)));
        feedbackSampleL = echoL;
        const float echoR = lowPassR.process (highPassR.process (readInterpolated (bufferR.get(), frac)));
        feedbackSampleR = echoR;

        float dry, wet;
        mixGains (dry, wet);
        out[0][i] = clamp2 (dry * inL + wet * echoL);
        out[1][i] = clamp2 (dry * inR + wet * echoR);
    }
}
