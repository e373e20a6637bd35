#include "ReferenceEngine.h"

#include <algorithm>
#include <cmath>

// The scalar rules are written out again here rather than taken from the engine's helpers, so
// that a change to those helpers shows up as a difference instead of moving both sides at once.
namespace
{
    /** A float that moved less than half a step rounds back to where it was: then it creeps
        one float step towards the target, which it still reaches exactly.
    */
    float stepOrCreep (float next, float value, float target)
    {
        if (next == value)
            return std::nextafter (value, target);

        return next;
    }

    /** v * k + t * (1 - k) in double precision, stored as float. */
    float step (float value, float target, double keep, double take)
    {
        const double next = (double) value * keep + (double) target * take;
        return stepOrCreep ((float) next, value, target);
    }

    /** Steps while the single-precision difference exceeds the threshold, else (NaN too) snaps. */
    float glide (float value, float target, double keep, double take, double threshold)
    {
        const float difference = value - target;
        const bool outside = std::fabs ((double) difference) > threshold;

        return outside ? step (value, target, keep, take) : target;
    }

    float glideControl (float value, float target)      { return glide (value, target, 0.995, 0.005, 1.0e-6); }
    float glideDelay (float value, float target)        { return glide (value, target, 0.99998, 0.00002, 1.0e-7); }

    /** The coefficients step as v + (t - v) * 0.005, the difference in single precision. */
    float glideCoefficient (float value, float target)
    {
        const float difference = value - target;

        if (! (std::fabs ((double) difference) > 1.0e-6))
            return target;

        const float towards = target - value;
        const double next = (double) value + (double) towards * 0.005;
        return stepOrCreep ((float) next, value, target);
    }

    /** [-2, 2], and a NaN becomes silence. */
    float clamp2 (float x)
    {
        if (std::isnan (x))
            return 0.0f;

        if (x > 2.0f)
            return 2.0f;

        return x < -2.0f ? -2.0f : x;
    }

    /** Magnitudes below 1e-8, and NaNs, become exact zeros. */
    float flushTiny (float y)
    {
        const bool tiny = (double) std::fabs (y) < 1.0e-8;
        return tiny || std::isnan (y) ? 0.0f : y;
    }

    /** [-1, 1], and a NaN becomes silence. */
    float limit (float x)
    {
        if (std::isnan (x))
            return 0.0f;

        return std::min (1.0f, std::max (-1.0f, x));
    }

    float lowPass (ReferenceEngine::LowPass& f, float x)
    {
        f.coefficient = glideCoefficient (f.coefficient, f.targetCoefficient);
        const float c = f.coefficient;
        const float y = flushTiny (c * f.lastOutput + (1.0f - c) * x);
        f.lastOutput = y;
        return y;
    }

    float highPass (ReferenceEngine::HighPass& f, float x)
    {
        f.coefficient = glideCoefficient (f.coefficient, f.targetCoefficient);
        const float y = flushTiny ((x - f.lastInput + f.lastOutput) * f.coefficient);
        f.lastOutput = y;
        f.lastInput = x;
        return y;
    }

    ReferenceEngine::LowPass copyOf (const OnePoleLowPass& f)
    {
        return { f.lastOutput, f.targetCoefficient, f.coefficient };
    }

    ReferenceEngine::HighPass copyOf (const OnePoleHighPass& f)
    {
        return { f.lastInput, f.lastOutput, f.targetCoefficient, f.coefficient };
    }

    std::vector<float> copyRing (const std::unique_ptr<float[]>& ring, int32_t length)
    {
        return { ring.get(), ring.get() + length };
    }
}

ReferenceEngine::Targets ReferenceEngine::Targets::of (const SorvaneAudioProcessor& p) noexcept
{
    const auto& line = p.delayLine;
    return { line.targetDelay, line.targetFeedback, line.targetPingPong, line.targetMix,
             line.lowPassL.targetCoefficient, line.lowPassR.targetCoefficient,
             line.highPassL.targetCoefficient, line.highPassR.targetCoefficient,
             p.targetBalance, p.targetGain };
}

ReferenceEngine::ReferenceEngine (const SorvaneAudioProcessor& p)
    : numInputs (p.getTotalNumInputChannels()),
      numOutputs (p.getTotalNumOutputChannels()),
      workL ((size_t) SorvaneAudioProcessor::maxBlockSize),
      workR ((size_t) SorvaneAudioProcessor::maxBlockSize)
{
    const auto& line = p.delayLine;

    s.minDelay = line.minDelay;
    s.maxDelay = line.maxDelay;
    s.targetDelay = line.targetDelay;
    s.delay = line.delay;
    s.targetFeedback = line.targetFeedback;
    s.feedback = line.feedback;
    s.feedbackSampleL = line.feedbackSampleL;
    s.feedbackSampleR = line.feedbackSampleR;
    s.writePos = line.writePos;
    s.readPos = line.readPos;
    s.length = line.length;
    s.ringL = copyRing (line.bufferL, line.length);
    s.ringR = copyRing (line.bufferR, line.length);
    s.targetPingPong = line.targetPingPong;
    s.pingPong = line.pingPong;
    s.targetMix = line.targetMix;
    s.mix = line.mix;
    s.lowPassL = copyOf (line.lowPassL);
    s.lowPassR = copyOf (line.lowPassR);
    s.highPassL = copyOf (line.highPassL);
    s.highPassR = copyOf (line.highPassR);
    s.targetBalance = p.targetBalance;
    s.balance = p.balance;
    s.targetGain = p.targetGain;
    s.gain = p.gain;
}

void ReferenceEngine::takeTargets (const Targets& t) noexcept
{
    s.targetDelay = t.delay;
    s.targetFeedback = t.feedback;
    s.targetPingPong = t.pingPong;
    s.targetMix = t.mix;
    s.lowPassL.targetCoefficient = t.lowPassL;
    s.lowPassR.targetCoefficient = t.lowPassR;
    s.highPassL.targetCoefficient = t.highPassL;
    s.highPassR.targetCoefficient = t.highPassR;
    s.targetBalance = t.balance;
    s.targetGain = t.gain;
}

void ReferenceEngine::processBlock (juce::AudioSampleBuffer& buffer)
{
    const int n = std::min (buffer.getNumSamples(), SorvaneAudioProcessor::maxBlockSize);
    const int delayChannels = std::min (numOutputs, buffer.getNumChannels());

    if (delayChannels == 1)
    {
        processMono (buffer.getWritePointer (0), n);
    }
    else if (delayChannels >= 2)
    {
        balanceInput (buffer, n);
        processStereo (buffer.getWritePointer (0), buffer.getWritePointer (1), n);
    }

    applyOutputGain (buffer, n);
    limitOutput (buffer, n);
}

//==============================================================================
void ReferenceEngine::balanceInput (const juce::AudioSampleBuffer& buffer, int n)
{
    for (int i = 0; i < n; ++i)
    {
        s.balance = glideControl (s.balance, s.targetBalance);
        const float b = s.balance;
        const float keepL = b <= 0.5f ? 1.0f : 2.0f * (1.0f - b);
        const float keepR = b <= 0.5f ? 2.0f * b : 1.0f;

        if (numInputs == 1)
        {
            const float x = buffer.getSample (0, i);
            workL[(size_t) i] = keepL * x;
            workR[(size_t) i] = keepR * x;
        }
        else
        {
            const float l = buffer.getSample (0, i);
            const float r = buffer.getSample (1, i);
            workL[(size_t) i] = keepL * l + (1.0f - keepR) * r;
            workR[(size_t) i] = (1.0f - keepL) * l + keepR * r;
        }
    }
}

void ReferenceEngine::advanceWritePosition()
{
    s.writePos += 1;

    if (s.writePos >= s.length)
        s.writePos -= s.length;
}

float ReferenceEngine::advanceReadPosition()
{
    s.delay = glideDelay (s.delay, s.targetDelay);

    if (s.delay < (float) s.minDelay)
        s.delay = (float) s.minDelay;

    if (s.delay > (float) s.maxDelay)
        s.delay = (float) s.maxDelay;

    const auto whole = (int32_t) std::floor (s.delay);
    s.readPos = s.writePos - whole;

    while (s.readPos < 0)
        s.readPos += s.length;

    return s.delay - (float) whole;
}

float ReferenceEngine::readInterpolated (const std::vector<float>& ring, float frac) const
{
    const auto at = [&ring] (int32_t index) { return ring[(size_t) index]; };
    const float older = s.readPos == 0 ? at (s.length - 1) : at (s.readPos - 1);
    return (1.0f - frac) * at (s.readPos) + frac * older;
}

void ReferenceEngine::mixGains (float& dry, float& wet)
{
    s.mix = glideControl (s.mix, s.targetMix);
    const float m = s.mix;

    dry = m <= 0.5f ? 1.0f : 2.0f * (1.0f - m);
    wet = m <= 0.5f ? 2.0f * m : 1.0f;
}

void ReferenceEngine::processMono (float* channel, int n)
{
    for (int i = 0; i < n; ++i)
    {
        const float x = channel[i];

        advanceWritePosition();
        s.feedback = glideControl (s.feedback, s.targetFeedback);
        s.ringL[(size_t) s.writePos] = clamp2 (x + s.feedbackSampleL) * s.feedback;

        const float frac = advanceReadPosition();
        const float v = readInterpolated (s.ringL, frac);
        const float w = lowPass (s.lowPassL, highPass (s.highPassL, v));
        s.feedbackSampleL = w;

        float dry, wet;
        mixGains (dry, wet);
        channel[i] = clamp2 (dry * x + wet * w);
    }
}

void ReferenceEngine::processStereo (float* outL, float* outR, int n)
{
    for (int i = 0; i < n; ++i)
    {
        const float inL = workL[(size_t) i];
        const float inR = workR[(size_t) i];

        s.pingPong = glideControl (s.pingPong, s.targetPingPong);
        const float p = s.pingPong;

        advanceWritePosition();
        s.feedback = glideControl (s.feedback, s.targetFeedback);

        const float a = inL + s.feedbackSampleL;
        const float b = inR + s.feedbackSampleR;
        s.ringL[(size_t) s.writePos] = clamp2 ((1.0f - p) * a + p * b) * s.feedback;
        s.ringR[(size_t) s.writePos] = clamp2 (p * a + (1.0f - p) * b) * s.feedback;

        const float frac = advanceReadPosition();
        const float vL = readInterpolated (s.ringL, frac);
        const float vR = readInterpolated (s.ringR, frac);

        const float wL = lowPass (s.lowPassL, highPass (s.highPassL, vL));
        s.feedbackSampleL = wL;
        const float wR = lowPass (s.lowPassR, highPass (s.highPassR, vR));
        s.feedbackSampleR = wR;

        float dry, wet;
        mixGains (dry, wet);
        outL[i] = clamp2 (dry * inL + wet * wL);
        outR[i] = clamp2 (dry * inR + wet * wR);
    }
}

void ReferenceEngine::applyOutputGain (juce::AudioSampleBuffer& buffer, int n)
{
    const float difference = s.gain - s.targetGain;

    // Decided for the whole block: a gliding gain only steps, and snaps in a later block.
    if (std::fabs ((double) difference) > 1.0e-6)
    {
        for (int i = 0; i < n; ++i)
        {
            s.gain = step (s.gain, s.targetGain, 0.995, 0.005);

            for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
                buffer.setSample (channel, i, buffer.getSample (channel, i) * s.gain);
        }

        return;
    }

    s.gain = s.targetGain;

    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < n; ++i)
            buffer.setSample (channel, i, buffer.getSample (channel, i) * s.gain);
}

void ReferenceEngine::limitOutput (juce::AudioSampleBuffer& buffer, int n)
{
    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        for (int i = 0; i < n; ++i)
            buffer.setSample (channel, i, limit (buffer.getSample (channel, i)));
}
