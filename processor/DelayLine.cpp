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

namespace
{
    /** The longest run worked at once: it bounds the scratch arrays on the audio thread's stack. */
    constexpr int32_t maxRun = 128;

    /** A control value as a run's loops see it: one value for the whole run... */
    struct Held
    {
        float value;
        float operator[] (int32_t) const noexcept { return value; }
        Held from (int32_t) const noexcept { return *this; }
    };

    /** ...or one value per sample, as its glide produced them. */
    struct Tracked
    {
        const float* values;
        float operator[] (int32_t i) const noexcept { return values[i]; }
        Tracked from (int32_t i) const noexcept { return { values + i }; }
    };

    /** Splits [0, m) where the ring index first + i passes the ring's end, and calls
        segment (run offset, ring index, count) for each piece.
    */
    template <typename Segment>
    void forEachRingSegment (int32_t first, int32_t m, int32_t length, Segment&& segment)
    {
        for (int32_t done = 0; done < m;)
        {
            const int32_t count = std::min (m - done, length - first);
            segment (done, first, count);
            done += count;
            first = 0;
        }
    }

    /** Interpolated reads at a fixed delay: ring[at + i] and the sample before it. */
    void readSegment (const float* __restrict ring, int32_t at, float frac, float* __restrict heard, int32_t count) noexcept
    {
        const float keep = 1.0f - frac;

        for (int32_t i = 0; i < count; ++i)
            heard[i] = keep * ring[at + i] + frac * ring[at + i - 1];
    }

    /** Reads at a fixed delay from the run's first read position onwards. A read at index 0
        interpolates with the ring's last element, so it is taken on its own.
    */
    void readSettled (const float* ring, int32_t length, int32_t at, float frac, float* heard, int32_t m) noexcept
    {
        for (int32_t done = 0; done < m;)
        {
            if (at == 0)
            {
                heard[done++] = (1.0f - frac) * ring[0] + frac * ring[length - 1];
                at = 1;
                continue;
            }

            const int32_t count = std::min (m - done, length - at);
            readSegment (ring, at, frac, heard + done, count);
            done += count;
            at += count;

            if (at == length)
                at = 0;
        }
    }

    template <typename Control>
    void filterRun (FeedbackFilters& state, const float* __restrict heard, float* __restrict echo, int32_t m,
                    Control highPass, Control lowPass) noexcept
    {
        for (int32_t i = 0; i < m; ++i)
            echo[i] = state.filter (heard[i], highPass[i], lowPass[i]);
    }

    /** Left and right side by side: two independent recurrences that the processor overlaps. */
    template <typename Control>
    void filterRun (FeedbackFilters& left, FeedbackFilters& right,
                    const float* __restrict heardL, const float* __restrict heardR,
                    float* __restrict echoL, float* __restrict echoR, int32_t m,
                    Control highPassL, Control highPassR, Control lowPassL, Control lowPassR) noexcept
    {
        FeedbackFilters l = left, r = right;

        for (int32_t i = 0; i < m; ++i)
        {
            echoL[i] = l.filter (heardL[i], highPassL[i], lowPassL[i]);
            echoR[i] = r.filter (heardR[i], highPassR[i], lowPassR[i]);
        }

        left = l;
        right = r;
    }

    /** The ring writes and outputs of a stretch of one channel that does not pass the ring's end.
        echo[i] is the echo of the sample before i, echo[i + 1] that of sample i.
    */
    template <typename Control>
    void writeMonoSegment (float* __restrict ring, const float* in, float* out, const float* __restrict echo,
                           int32_t count, Control feedback, Control dry, Control wet) noexcept
    {
        for (int32_t i = 0; i < count; ++i)
        {
            // Read before the output is written: in may be out.
            const float x = in[i];
            ring[i] = clamp2 (x + echo[i]) * feedback[i];
            out[i] = clamp2 (dry[i] * x + wet[i] * echo[i + 1]);
        }
    }

    template <typename Control>
    void writeStereoSegment (float* __restrict ringL, float* __restrict ringR,
                             const float* __restrict inL, const float* __restrict inR,
                             float* __restrict outL, float* __restrict outR,
                             const float* __restrict echoL, const float* __restrict echoR, int32_t count,
                             Control pingPong, Control feedback, Control dry, Control wet) noexcept
    {
        for (int32_t i = 0; i < count; ++i)
        {
            const float p = pingPong[i];
            const float a = inL[i] + echoL[i];
            const float b = inR[i] + echoR[i];
            ringL[i] = clamp2 ((1.0f - p) * a + p * b) * feedback[i];
            ringR[i] = clamp2 (p * a + (1.0f - p) * b) * feedback[i];
            outL[i] = clamp2 (dry[i] * inL[i] + wet[i] * echoL[i + 1]);
            outR[i] = clamp2 (dry[i] * inR[i] + wet[i] * echoR[i + 1]);
        }
    }
}

/** What a run reads and filters, before it writes. */
struct DelayLine::RunBuffers
{
    float heardL[maxRun], heardR[maxRun];

    // [0] holds the echo of the sample before the run, which the run's first write feeds back.
    float echoL[maxRun + 1], echoR[maxRun + 1];
};

/** Each control value per sample of a run, for runs in which some of them glide. */
struct DelayLine::ControlTracks
{
    float pingPong[maxRun], feedback[maxRun], dry[maxRun], wet[maxRun];
    float highPassL[maxRun], highPassR[maxRun], lowPassL[maxRun], lowPassR[maxRun];
};

int32_t DelayLine::shortestWholeDelay() const noexcept
{
    // The delay moves monotonically from where it is to its clamped target, so every read of
    // the block lies between the two.
    float target = targetDelay;
    if (target < (float) minDelay) target = (float) minDelay;
    if (target > (float) maxDelay) target = (float) maxDelay;

    const float lowest = std::min (delay, target);
    const float highest = std::max (delay, target);

    // Written so that a NaN fails too.
    if (! (lowest >= 1.0f && highest < (float) (length - 1)))
        return 0;

    return wholeSamples (lowest);
}

void DelayLine::processMono (const float* in, float* out, int32_t n) noexcept
{
    if (n <= 0)
        return;

    const int32_t runLimit = std::min (shortestWholeDelay(), maxRun);

    if (runLimit == 0)
    {
        runMono (*this, in, out, bufferL.get(), n);
        return;
    }

    for (int32_t done = 0; done < n;)
    {
        const int32_t m = std::min (n - done, runLimit);
        monoRun (in + done, out + done, m);
        done += m;
    }
}

void DelayLine::processStereo (const float* const* in, float* const* out, int32_t n) noexcept
{
    if (n <= 0)
        return;

    const int32_t runLimit = std::min (shortestWholeDelay(), maxRun);

    if (runLimit == 0)
    {
        runStereo (*this, in[0], in[1], out[0], out[1], bufferL.get(), bufferR.get(), n);
        return;
    }

    for (int32_t done = 0; done < n;)
    {
        const int32_t m = std::min (n - done, runLimit);
        stereoRun (in[0] + done, in[1] + done, out[0] + done, out[1] + done, m);
        done += m;
    }
}

bool DelayLine::controlsMove (bool stereo) const noexcept
{
    return feedback != targetFeedback || mix != targetMix || (stereo && pingPong != targetPingPong);
}

bool DelayLine::filtersMove (bool stereo) const noexcept
{
    return lowPassL.coefficient != lowPassL.targetCoefficient || highPassL.coefficient != highPassL.targetCoefficient
        || (stereo && (lowPassR.coefficient != lowPassR.targetCoefficient
                       || highPassR.coefficient != highPassR.targetCoefficient));
}

int32_t DelayLine::firstWritePosition() const noexcept
{
    return writePos + 1 >= length ? writePos + 1 - length : writePos + 1;
}

bool DelayLine::delayHolds() const noexcept
{
    return delay == targetDelay && delay >= (float) minDelay && delay <= (float) maxDelay;
}

void DelayLine::readSettledDelay (RunBuffers& run, int32_t m, bool stereo) noexcept
{
    const auto whole = wholeSamples (delay);
    const float frac = delay - (float) whole;
    const int32_t first = wrapBehind (firstWritePosition() - whole, length);
    readSettled (bufferL.get(), length, first, frac, run.heardL, m);

    if (stereo)
        readSettled (bufferR.get(), length, first, frac, run.heardR, m);

    readPos = first + m - 1 >= length ? first + m - 1 - length : first + m - 1;
}

template <typename Control>
void DelayLine::readAndFilterGliding (RunBuffers& run, int32_t m, FeedbackFilters& left, Control highPass, Control lowPass) noexcept
{
    // Locals, so that the stores of the echoes cannot be taken to alias the line's fields. The
    // delay's glide and the filters are independent recurrences: in one loop they overlap.
    const float* ring = bufferL.get();
    const float target = targetDelay, lowest = (float) minDelay, highest = (float) maxDelay;
    const int32_t ringLength = length;
    float d = delay;
    int32_t write = writePos, read = readPos;

    // A glide from within the range towards a target within it stays between the two, so the
    // clamp would change nothing: leaving it out shortens the glide's chain from sample to sample.
    const bool staysInRange = target >= lowest && target <= highest && d >= lowest && d <= highest;
    FeedbackFilters l = left;

    for (int32_t i = 0; i < m; ++i)
    {
        if (++write >= ringLength)
            write -= ringLength;

        d = staysInRange ? glidedDelay (d, target) : glideAndClampDelay (d, target, lowest, highest);
        const auto whole = wholeSamples (d);
        read = wrapBehind (write - whole, ringLength);
        run.echoL[i + 1] = l.filter (interpolate (ring, read, ringLength, d - (float) whole), highPass[i], lowPass[i]);
    }

    left = l;
    delay = d;
    readPos = read;
}

template <typename Control>
void DelayLine::readAndFilterGliding (RunBuffers& run, int32_t m, FeedbackFilters& left, FeedbackFilters& right,
                                      Control highPassL, Control highPassR, Control lowPassL, Control lowPassR) noexcept
{
    const float* ringL = bufferL.get();
    const float* ringR = bufferR.get();
    const float target = targetDelay, lowest = (float) minDelay, highest = (float) maxDelay;
    const int32_t ringLength = length;
    float d = delay;
    int32_t write = writePos, read = readPos;

    // A glide from within the range towards a target within it stays between the two, so the
    // clamp would change nothing: leaving it out shortens the glide's chain from sample to sample.
    const bool staysInRange = target >= lowest && target <= highest && d >= lowest && d <= highest;
    FeedbackFilters l = left, r = right;

    for (int32_t i = 0; i < m; ++i)
    {
        if (++write >= ringLength)
            write -= ringLength;

        d = staysInRange ? glidedDelay (d, target) : glideAndClampDelay (d, target, lowest, highest);
        const auto whole = wholeSamples (d);
        const float frac = d - (float) whole;
        read = wrapBehind (write - whole, ringLength);
        run.echoL[i + 1] = l.filter (interpolate (ringL, read, ringLength, frac), highPassL[i], lowPassL[i]);
        run.echoR[i + 1] = r.filter (interpolate (ringR, read, ringLength, frac), highPassR[i], lowPassR[i]);
    }

    left = l;
    right = r;
    delay = d;
    readPos = read;
}

void DelayLine::glideControls (ControlTracks& tracks, int32_t m, bool stereo) noexcept
{
    // Every moving value glides in the same loop, so that their independent steps overlap. A
    // settled value would stay on its target anyway, so it skips its glide and only fills its track.
    // Mono leaves the ping-pong amount and the right filters alone.
    float p = pingPong, f = feedback, x = mix;
    float highL = highPassL.coefficient, highR = highPassR.coefficient;
    float lowL = lowPassL.coefficient, lowR = lowPassR.coefficient;
    const float pTarget = targetPingPong, fTarget = targetFeedback, xTarget = targetMix;
    const float highLTarget = highPassL.targetCoefficient, highRTarget = highPassR.targetCoefficient;
    const float lowLTarget = lowPassL.targetCoefficient, lowRTarget = lowPassR.targetCoefficient;
    const bool pMoves = stereo && p != pTarget, fMoves = f != fTarget, xMoves = x != xTarget;
    const bool highLMoves = highL != highLTarget, lowLMoves = lowL != lowLTarget;

    // Both sides' filters normally share value and target; then they glide alike, so one glide serves both.
    const bool highShared = highR == highL && highRTarget == highLTarget;
    const bool lowShared = lowR == lowL && lowRTarget == lowLTarget;
    const bool highRMoves = stereo && ! highShared && highR != highRTarget;
    const bool lowRMoves = stereo && ! lowShared && lowR != lowRTarget;

    for (int32_t i = 0; i < m; ++i)
    {
        if (pMoves)     lumarro::glideControl (p, pTarget);
        if (fMoves)     lumarro::glideControl (f, fTarget);
        if (xMoves)     lumarro::glideControl (x, xTarget);
        if (highLMoves) lumarro::glideCoefficient (highL, highLTarget);
        if (highRMoves) lumarro::glideCoefficient (highR, highRTarget);
        if (lowLMoves)  lumarro::glideCoefficient (lowL, lowLTarget);
        if (lowRMoves)  lumarro::glideCoefficient (lowR, lowRTarget);
        if (stereo && highShared) highR = highL;
        if (stereo && lowShared)  lowR = lowL;

        tracks.pingPong[i] = p;
        tracks.feedback[i] = f;
        gainsForMix (x, tracks.dry[i], tracks.wet[i]);
        tracks.highPassL[i] = highL;
        tracks.highPassR[i] = highR;
        tracks.lowPassL[i] = lowL;
        tracks.lowPassR[i] = lowR;
    }

    pingPong = p;
    feedback = f;
    mix = x;
    highPassL.coefficient = highL;
    highPassR.coefficient = highR;
    lowPassL.coefficient = lowL;
    lowPassR.coefficient = lowR;
}

void DelayLine::advanceWritePosition (int32_t m) noexcept
{
    writePos += m;
    if (writePos >= length)
        writePos -= length;
}

void DelayLine::monoRun (const float* in, float* out, int32_t m) noexcept
{
    RunBuffers run;
    run.echoL[0] = feedbackSampleL;
    auto left = filtersOf (highPassL, lowPassL);
    float* ring = bufferL.get();
    const int32_t first = firstWritePosition();
    const bool holds = delayHolds();

    const auto runWith = [&] (auto highPass, auto lowPass, auto feedbackGain, auto dry, auto wet)
    {
        if (holds)
        {
            readSettledDelay (run, m, false);
            filterRun (left, run.heardL, run.echoL + 1, m, highPass, lowPass);
        }
        else
        {
            readAndFilterGliding (run, m, left, highPass, lowPass);
        }

        forEachRingSegment (first, m, length, [&] (int32_t offset, int32_t at, int32_t count)
        {
            writeMonoSegment (ring + at, in + offset, out + offset, run.echoL + offset, count,
                              feedbackGain.from (offset), dry.from (offset), wet.from (offset));
        });
    };

    if (controlsMove (false) || filtersMove (false))
    {
        ControlTracks tracks;
        glideControls (tracks, m, false);
        runWith (Tracked { tracks.highPassL }, Tracked { tracks.lowPassL },
                 Tracked { tracks.feedback }, Tracked { tracks.dry }, Tracked { tracks.wet });
    }
    else
    {
        float dry, wet;
        gainsForMix (mix, dry, wet);
        runWith (Held { highPassL.coefficient }, Held { lowPassL.coefficient }, Held { feedback }, Held { dry }, Held { wet });
    }

    storeFilters (left, highPassL, lowPassL);
    feedbackSampleL = run.echoL[m];
    advanceWritePosition (m);
}

void DelayLine::stereoRun (const float* inL, const float* inR, float* outL, float* outR, int32_t m) noexcept
{
    RunBuffers run;
    run.echoL[0] = feedbackSampleL;
    run.echoR[0] = feedbackSampleR;
    auto left = filtersOf (highPassL, lowPassL);
    auto right = filtersOf (highPassR, lowPassR);
    float* ringL = bufferL.get();
    float* ringR = bufferR.get();
    const int32_t first = firstWritePosition();
    const bool holds = delayHolds();

    const auto runWith = [&] (auto highPassL_, auto highPassR_, auto lowPassL_, auto lowPassR_,
                              auto pingPongAmount, auto feedbackGain, auto dry, auto wet)
    {
        if (holds)
        {
            readSettledDelay (run, m, true);
            filterRun (left, right, run.heardL, run.heardR, run.echoL + 1, run.echoR + 1, m,
                       highPassL_, highPassR_, lowPassL_, lowPassR_);
        }
        else
        {
            readAndFilterGliding (run, m, left, right, highPassL_, highPassR_, lowPassL_, lowPassR_);
        }

        forEachRingSegment (first, m, length, [&] (int32_t offset, int32_t at, int32_t count)
        {
            writeStereoSegment (ringL + at, ringR + at, inL + offset, inR + offset, outL + offset, outR + offset,
                                run.echoL + offset, run.echoR + offset, count, pingPongAmount.from (offset),
                                feedbackGain.from (offset), dry.from (offset), wet.from (offset));
        });
    };

    if (controlsMove (true) || filtersMove (true))
    {
        ControlTracks tracks;
        glideControls (tracks, m, true);
        runWith (Tracked { tracks.highPassL }, Tracked { tracks.highPassR }, Tracked { tracks.lowPassL },
                 Tracked { tracks.lowPassR }, Tracked { tracks.pingPong }, Tracked { tracks.feedback },
                 Tracked { tracks.dry }, Tracked { tracks.wet });
    }
    else
    {
        float dry, wet;
        gainsForMix (mix, dry, wet);
        runWith (Held { highPassL.coefficient }, Held { highPassR.coefficient }, Held { lowPassL.coefficient },
                 Held { lowPassR.coefficient }, Held { pingPong }, Held { feedback }, Held { dry }, Held { wet });
    }

    storeFilters (left, highPassL, lowPassL);
    storeFilters (right, highPassR, lowPassR);
    feedbackSampleL = run.echoL[m];
    feedbackSampleR = run.echoR[m];
    advanceWritePosition (m);
}

// The loops mark their buffers __restrict: otherwise every store to an output or ring sample
// might alias a float field of the line, and the compiler would reload and re-store the whole
// state on every sample. A mono output may be its own input, so only its ring is restricted;
// each input sample is read before its output is written, which makes in-place use exact.
void DelayLine::runMono (DelayLine& line, const float* in, float* out, float* __restrict ring, int32_t n) noexcept
{
    for (int32_t i = 0; i < n; ++i)
    {
        line.advanceWritePosition();

        lumarro::glideControl (line.feedback, line.targetFeedback);

        const float x = in[i];
        ring[line.writePos] = clamp2 (x + line.feedbackSampleL) * line.feedback;

        const float frac = line.advanceReadPosition();
        const float heard = line.readInterpolated (ring, frac);
        const float echo = line.lowPassL.process (line.highPassL.process (heard));
        line.feedbackSampleL = echo;

        float dry, wet;
        line.mixGains (dry, wet);
        out[i] = clamp2 (dry * x + wet * echo);
    }
}

void DelayLine::runStereo (DelayLine& line, const float* __restrict inL, const float* __restrict inR,
                           float* __restrict outL, float* __restrict outR,
                           float* __restrict ringL, float* __restrict ringR, int32_t n) noexcept
{
    for (int32_t i = 0; i < n; ++i)
    {
        lumarro::glideControl (line.pingPong, line.targetPingPong);

        const float p = line.pingPong;

        line.advanceWritePosition();

        lumarro::glideControl (line.feedback, line.targetFeedback);

        const float left = inL[i];
        const float right = inR[i];
        const float a = left + line.feedbackSampleL;
        const float b = right + line.feedbackSampleR;
        ringL[line.writePos] = clamp2 ((1.0f - p) * a + p * b) * line.feedback;
        ringR[line.writePos] = clamp2 (p * a + (1.0f - p) * b) * line.feedback;

        const float frac = line.advanceReadPosition();
        const float heardL = line.readInterpolated (ringL, frac);
        const float echoL = line.lowPassL.process (line.highPassL.process (heardL));
        line.feedbackSampleL = echoL;
        const float heardR = line.readInterpolated (ringR, frac);
        const float echoR = line.lowPassR.process (line.highPassR.process (heardR));
        line.feedbackSampleR = echoR;

        float dry, wet;
        line.mixGains (dry, wet);
        outL[i] = clamp2 (dry * left + wet * echoL);
        outR[i] = clamp2 (dry * right + wet * echoR);
    }
}
