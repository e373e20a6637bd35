#include "DelayLine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>

// How the engine runs a block
// ===========================
//
// The line is defined one sample at a time: advance the write position, glide the
// feedback, write the ring, glide and clamp the delay, read and interpolate, filter, glide the
// mix, write the output. The engine gives exactly that, bit for bit, but takes the cheapest of
// these paths that the block allows:
//
// 1. Per sample, or in runs (process). A run of up to maxRun samples does all its reads first,
//    then filters them, then writes the ring and the outputs. That is exact when no read of the
//    run meets a ring sample written in the same run. Each read lies `whole` and `whole + 1`
//    samples behind its own step's write, so runs no longer than the block's shortest whole
//    delay, while the longest stays below length - 1, read only samples written before the run.
//    The delay moves monotonically from where it is to its clamped target, so shortestWholeDelay
//    bounds it from those two alone. With the processor's minDelay of 10, the per-sample path
//    (runPerSample) runs only when the delay or its target reaches maxDelay (or is not a
//    number): there the older sample of the interpolation is the very one written in the same
//    step.
//
// 2. Held or tracked controls (run). When no control but the delay moves, a glide would leave
//    each on its target at every sample, so one value serves the whole run (Held). Otherwise
//    glideControls runs the moving controls' glides for the whole run, in one loop, and keeps
//    each value per sample (Tracked). A control's glide depends only on itself and its target,
//    which the block took when it started (`taken`: a target that another thread sets meanwhile
//    waits for the next block), so running it ahead gives the values that the steps in their
//    defined order would. The sides' filters normally stand and aim alike (the processor sets
//    both sides at once); then one glide serves both sides. Which values there
//    are, and which of them a mono line leaves alone, comes from the one list of smoothed values,
//    DelayLine::forEachSmoothedValue.
//
// 3. Settled or gliding delay (run). A delay on its target and within its bounds stays there, so
//    the read position moves in step with the write: readSettledDelay reads each ring at one
//    fraction in straight, vectorised stretches and filterRun filters them. Otherwise
//    readAndFilterGliding glides the delay sample by sample and filters in the same loop.
//
// 4. In-range read, or clamp (readAndFilterGliding). A glide from within [minDelay, maxDelay]
//    towards a target within it stays between the two (its step is a weighted mean rounded to
//    a float, or one float step towards the target), so the clamp could change nothing and is
//    left out. Otherwise every step clamps, as defined.
//
// 5. Ring segments (forEachRingSegment, readSettled). Writes and settled reads split where the
//    ring wraps, so that each loop runs over contiguous memory; a settled read at index 0
//    interpolates with the ring's last element, and is taken on its own.
//
// Mono and stereo share all of this: the functions are templates over the channel count, with
// `if constexpr` for the ping-pong cross-feed, which only stereo has.
//
// What keeps the paths equal to the definition is the bit-exact suite: tests/processor/
// BitExactTests.cpp drives the processor through scenarios that reach each path and compares
// every output sample, every ring sample and every smoothed value, bit for bit, with the plain
// one-sample-at-a-time engine of tests/processor/ReferenceEngine.*. A change here must keep it
// passing.

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
    taken = currentTargets();

    // make_unique value-initialises, so the rings start as silence.
    bufferL = std::make_unique<float[]> ((size_t) length);
    bufferR = std::make_unique<float[]> ((size_t) length);
}

void DelayLine::clear() noexcept
{
    std::fill_n (bufferL.get(), length, 0.0f);
    std::fill_n (bufferR.get(), length, 0.0f);
    feedbackSampleL = feedbackSampleR = 0.0f;
    writePos = readPos = 0;

    for (auto* lowPass : { &lowPassL, &lowPassR })
        lowPass->clear();

    for (auto* highPass : { &highPassL, &highPassR })
        highPass->clear();
}

bool DelayLine::isSettled() const noexcept
{
    bool settled = true;
    const auto targets = currentTargets();
    forEachSmoothedValue (*this, targets, [&] (auto, float value, float target) { settled = settled && value == target; });
    return settled;
}

DelayLine::Targets DelayLine::currentTargets() const noexcept
{
    return { targetDelay, targetFeedback, targetMix, targetPingPong,
             { highPassL.targetCoefficient, lowPassL.targetCoefficient },
             { highPassR.targetCoefficient, lowPassR.targetCoefficient } };
}

namespace
{
    /** The longest run worked at once: it bounds the scratch arrays on the audio thread's stack. */
    constexpr int32_t maxRun = 128;

    //==============================================================================
    // The line one channel at a time: channel 0 is the left side, channel 1 the right.

    /** Calls body (c) for each channel c, as a compile-time constant, so that arrays indexed by
        channel stay in registers.
    */
    template <int channels, typename Body>
    void forEachChannel (Body&& body)
    {
        static_assert (channels == 1 || channels == 2);

        body (std::integral_constant<int, 0> {});

        if constexpr (channels == 2)
            body (std::integral_constant<int, 1> {});
    }

    /** What one side of the line owns besides its ring, and its filters' targets for the block. */
    struct Side
    {
        float& feedbackSample;
        OnePoleHighPass& highPass;
        OnePoleLowPass& lowPass;
        const DelayLine::Targets::Filters& targets;
    };

    inline Side sideOf (DelayLine& line, int channel) noexcept
    {
        if (channel == 0)
            return { line.feedbackSampleL, line.highPassL, line.lowPassL, line.taken.left };

        return { line.feedbackSampleR, line.highPassR, line.lowPassR, line.taken.right };
    }

    /** A pointer marked __restrict only where the channel count allows it: a mono output may be
        its own input.
    */
    template <int channels, typename Pointer>
    using RestrictedInStereo = std::conditional_t<channels == 1, Pointer, Pointer __restrict>;

    /** One channel's ring, input and output, from the same sample on.

        Marked __restrict, so that a store to a ring or an output is not taken to reach the line's
        fields or another buffer: otherwise the loops would reload and re-store the line's whole
        state on every sample. In mono each input sample is read before its output is written,
        which makes in-place use exact.
    */
    template <int channels>
    struct Channel
    {
        float* __restrict ring;
        RestrictedInStereo<channels, const float*> in;
        RestrictedInStereo<channels, float*> out;

        Channel shifted (int32_t ringIndex, int32_t sample) const noexcept
        {
            return { ring + ringIndex, in + sample, out + sample };
        }
    };

    /** The buffers of a stretch of the block; mono leaves the right side empty.

        The compiler keeps __restrict only for the members of a function's own by-value parameter
        used in that function's body, not through a lambda or an array: so the loops that store
        to these buffers name `left` and `right` themselves, and call the per-channel steps below
        (functions, not lambdas) for each, the right side under `if constexpr`.
    */
    template <int channels>
    struct Buffers
    {
        Channel<channels> left, right;

        const Channel<channels>& operator[] (int channel) const noexcept { return channel == 0 ? left : right; }

        /** The rings from ring index `ringIndex` on, the inputs and outputs from `sample` on. */
        Buffers shifted (int32_t ringIndex, int32_t sample) const noexcept
        {
            if constexpr (channels == 1)
                return { left.shifted (ringIndex, sample), {} };
            else
                return { left.shifted (ringIndex, sample), right.shifted (ringIndex, sample) };
        }
    };

    template <int channels>
    Buffers<channels> buffersOf (DelayLine& line, const float* const* in, float* const* out) noexcept
    {
        Buffers<channels> b {};
        b.left = { line.bufferL.get(), in[0], out[0] };

        if constexpr (channels == 2)
            b.right = { line.bufferR.get(), in[1], out[1] };

        return b;
    }

    /** A channel's input sample, and what its ring takes before any cross-feed: the input plus
        the echo fed back.
    */
    struct Incoming
    {
        float input, toRing;
    };

    template <int channels>
    inline Incoming takeInput (const Channel<channels>& c, int32_t i, float fedBack) noexcept
    {
        const float x = c.in[i];
        return { x, x + fedBack };
    }

    /** Ping-pong: each side's ring takes (1 - p) of its own signal and p of the other's. */
    inline void crossFeed (Incoming& left, Incoming& right, float p) noexcept
    {
        const float a = left.toRing, b = right.toRing;
        left.toRing = (1.0f - p) * a + p * b;
        right.toRing = p * a + (1.0f - p) * b;
    }

    template <int channels>
    inline void writeRing (const Channel<channels>& c, int32_t at, const Incoming& s, float feedback) noexcept
    {
        c.ring[at] = clamp2 (s.toRing) * feedback;
    }

    struct Gains
    {
        float dry, wet;
    };

    /** A crossfade that keeps the louder side at unity: dry 1 and wet 2m up to m = 0.5, then dry
        2(1 - m) and wet 1.

        Written without a branch: each choice is made on its own product, so both products are
        always computed and the choice compiles to a select, and a mix that glides across 0.5
        costs no mispredicted branches. It is the same choice for every float m: 2m <= 1 exactly
        when m <= 0.5, since doubling is exact; 2(1 - m) >= 1 likewise, since 1 - m is exact
        where m lies in [0.5, 2] and stays on the same side of 0.5 elsewhere; a NaN fails both,
        as it fails m <= 0.5.
    */
    inline Gains gainsForMix (float m) noexcept
    {
        const float twice = 2.0f * m, twiceRest = 2.0f * (1.0f - m);
        return { twiceRest >= 1.0f ? 1.0f : twiceRest, twice <= 1.0f ? twice : 1.0f };
    }

    template <int channels>
    inline void writeOutput (const Channel<channels>& c, int32_t i, const Incoming& s, float dry, float wet, float echo) noexcept
    {
        c.out[i] = clamp2 (dry * s.input + wet * echo);
    }

    //==============================================================================
    // The per-sample steps. They, and the channel steps above, are marked inline so that the
    // loops inline them: a call would make a loop keep every value in memory around it.

    inline void advanceWritePosition (DelayLine& line) noexcept
    {
        if (++line.writePos >= line.length)
            line.writePos -= line.length;
    }

    inline float glidedDelay (float value, float target) noexcept
    {
        lumarro::glideDelay (value, target);
        return value;
    }

    /** The line's bounds on the delay, as each step applies them after its glide. */
    inline float clampDelay (float value, float lowest, float highest) noexcept
    {
        if (value < lowest) value = lowest;
        if (value > highest) value = highest;
        return value;
    }

    inline float glideAndClampDelay (float value, float target, float lowest, float highest) noexcept
    {
        return clampDelay (glidedDelay (value, target), lowest, highest);
    }

    /** floorf without a library call: truncate, then step down for negative fractions. */
    inline int32_t wholeSamples (float samples) noexcept
    {
        auto whole = (int32_t) samples;
        if ((float) whole > samples)
            --whole;
        return whole;
    }

    /** A ring index that fell behind the ring's start, brought back into it. */
    inline int32_t wrapBehind (int32_t index, int32_t ringLength) noexcept
    {
        while (index < 0)
            index += ringLength;
        return index;
    }

    /** ring[readAt] is `whole` samples old, the one before it a sample older. */
    inline float interpolate (const float* ring, int32_t readAt, int32_t ringLength, float frac) noexcept
    {
        const float older = readAt == 0 ? ring[ringLength - 1] : ring[readAt - 1];
        return (1.0f - frac) * ring[readAt] + frac * older;
    }

    /** Glides and clamps the delay, places readPos and returns the fraction to interpolate by. */
    inline float advanceReadPosition (DelayLine& line) noexcept
    {
        line.delay = glideAndClampDelay (line.delay, line.taken.delay, (float) line.minDelay, (float) line.maxDelay);

        const auto whole = wholeSamples (line.delay);
        line.readPos = wrapBehind (line.writePos - whole, line.length);
        return line.delay - (float) whole;
    }

    /** A side's echo: the read through its high-pass and low-pass, which is also what it feeds back. */
    inline float echoOf (Side side, float heard) noexcept
    {
        side.feedbackSample = side.lowPass.process (side.highPass.process (heard, side.targets.highPass), side.targets.lowPass);
        return side.feedbackSample;
    }

    /** The steps one sample after another, in their defined order: for reads that may meet their
        own step's write.
    */
    template <int channels>
    void runPerSample (DelayLine& line, Buffers<channels> b, int32_t n) noexcept
    {
        constexpr bool stereo = channels == 2;

        for (int32_t i = 0; i < n; ++i)
        {
            if constexpr (stereo)
                lumarro::glideControl (line.pingPong, line.taken.pingPong);

            advanceWritePosition (line);

            lumarro::glideControl (line.feedback, line.taken.feedback);

            auto left = takeInput (b.left, i, line.feedbackSampleL);
            Incoming right {};

            if constexpr (stereo)
            {
                right = takeInput (b.right, i, line.feedbackSampleR);
                crossFeed (left, right, line.pingPong);
            }

            writeRing (b.left, line.writePos, left, line.feedback);
            if constexpr (stereo)
                writeRing (b.right, line.writePos, right, line.feedback);

            const float frac = advanceReadPosition (line);
            const float echoL = echoOf (sideOf (line, 0), interpolate (b.left.ring, line.readPos, line.length, frac));
            float echoR = 0.0f;
            if constexpr (stereo)
                echoR = echoOf (sideOf (line, 1), interpolate (b.right.ring, line.readPos, line.length, frac));

            lumarro::glideControl (line.mix, line.taken.mix);
            const auto gains = gainsForMix (line.mix);

            writeOutput (b.left, i, left, gains.dry, gains.wet, echoL);
            if constexpr (stereo)
                writeOutput (b.right, i, right, gains.dry, gains.wet, echoR);
        }
    }

    //==============================================================================
    // Runs: the controls.

    /** A control value as a run's loops see it: one value for the whole run... */
    struct Held
    {
        float value;
        float operator[] (int32_t) const noexcept { return value; }
    };

    /** ...or one value per sample, as its glide produced them. */
    struct Tracked
    {
        const float* values;
        float operator[] (int32_t i) const noexcept { return values[i]; }
    };

    /** One T for each smoothed control of a run, by name: the `sets` of DelayLine's list. */
    template <typename T>
    struct Controls
    {
        struct Filters
        {
            T highPass, lowPass;
        };

        T feedback, mix, pingPong;
        Filters left, right;

        const Filters& filters (int channel) const noexcept { return channel == 0 ? left : right; }
    };

    /** DelayLine's list without the delay, which glides inside the reads, aimed at the block's targets. */
    template <typename Line, typename Visit, typename... Sets>
    void forEachControl (Line& line, Visit&& visit, Sets&... sets)
    {
        DelayLine::forEachSmoothedValue (line, line.taken, [&visit] (auto how, auto& value, auto& target, auto&... members)
        {
            if constexpr (! std::is_same_v<decltype (how), DelayLine::DelayTime>)
                visit (how, value, target, members...);
        }, sets...);
    }

    /** What a run's loops read: its controls, and the mix as the dry and wet gains that the
        writes take.
    */
    template <typename Track>
    struct RunControls : Controls<Track>
    {
        Track dry, wet;
    };

    RunControls<Held> heldControls (const DelayLine& line) noexcept
    {
        RunControls<Held> held {};
        forEachControl (line, [] (auto, float value, float, Held& h) { h = { value }; }, held);

        const auto gains = gainsForMix (line.mix);
        held.dry = { gains.dry };
        held.wet = { gains.wet };
        return held;
    }

    template <int channels>
    bool controlsMove (const DelayLine& line) noexcept
    {
        bool move = false;
        forEachControl (line, [&] (auto how, float value, float target)
        {
            move = move || (how.usedWith (channels) && value != target);
        });
        return move;
    }

    /** A control as the glide loop keeps it. Both fields are floats, so that the two sides'
        filters compare bit for bit as plain memory.
    */
    struct Glider
    {
        float value, target;
    };

    /** Compares copies, so that the glide loop's own values never have their address taken. */
    template <typename T>
    bool sameBits (T a, T b) noexcept
    {
        return std::memcmp (&a, &b, sizeof (T)) == 0;
    }

    /** A track's room: a run's samples and a cache line more. With tracks of exactly 512 bytes
        a run's arrays fall on offsets that repeat every 4 KB, where a load whose address matches
        a pending store's in its low 12 bits waits for it (4K aliasing); with the extra line the
        all-moving bench cases ran 2 % faster (GCC 12, x86-64).
    */
    constexpr int32_t trackRoom = maxRun + 16;

    using TrackStorage = RunControls<float[trackRoom]>;

    /** Glides every moving control through the run in one loop, so that their independent steps
        overlap, and keeps each value per sample. A settled control would stay on its target
        anyway, so it skips its glide and only fills its track. Mono leaves the stereo-only
        controls out altogether.
    */
    template <int channels>
    RunControls<Tracked> glideControls (DelayLine& line, TrackStorage& storage, int32_t m) noexcept
    {
        Controls<Glider> gliders;
        Controls<bool> glides;
        RunControls<Tracked> tracks;

        forEachControl (line, [] (auto, float value, float target, Glider& glider, bool& moves,
                                  Tracked& track, const float (&values)[trackRoom])
        {
            glider = { value, target };
            moves = value != target;
            track = { values };
        }, gliders, glides, tracks, storage);

        tracks.dry = { storage.dry };
        tracks.wet = { storage.wet };

        // When the sides stand and aim alike, they glide alike: the right side follows the left.
        // Equal bits glide to equal bits, so comparing bits is exact, NaN and -0 included.
        const bool sidesAlike = channels == 2 && sameBits (gliders.left, gliders.right);

        if (sidesAlike)
        {
            glides.right = { false, false };
            tracks.right = tracks.left;
        }

        for (int32_t i = 0; i < m; ++i)
        {
            forEachControl (line, [i] (auto how, auto&, auto&, Glider& glider, bool moves, float (&values)[trackRoom])
            {
                if constexpr (decltype (how)::usedWith (channels))
                {
                    if (moves)
                        how.glide (glider.value, glider.target);

                    values[i] = glider.value;
                }
            }, gliders, glides, storage);

            const auto gains = gainsForMix (gliders.mix.value);
            storage.dry[i] = gains.dry;
            storage.wet[i] = gains.wet;
        }

        if (sidesAlike)
            gliders.right = gliders.left;

        forEachControl (line, [] (auto, float& value, float, const Glider& glider) { value = glider.value; }, gliders);
        return tracks;
    }

    //==============================================================================
    // Runs: the reads and the filters.

    /** What a run reads and filters, before it writes. */
    template <int channels>
    struct RunBuffers
    {
        float heard[channels][maxRun];

        // [c][0] holds the echo of the sample before the run, which the run's first write feeds back.
        float echo[channels][maxRun + 1];
    };

    /** The whole delay, in samples, that no read of this block can fall short of; 0 when a read
        may land on the sample written in its own step, which only the per-sample path orders right.
    */
    int32_t shortestWholeDelay (const DelayLine& line) noexcept
    {
        // The delay moves monotonically from where it is to its clamped target, so every read of
        // the block lies between the two.
        float target = line.taken.delay;
        if (target < (float) line.minDelay) target = (float) line.minDelay;
        if (target > (float) line.maxDelay) target = (float) line.maxDelay;

        const float lowest = std::min (line.delay, target);
        const float highest = std::max (line.delay, target);

        // Written so that a NaN fails too.
        if (! (lowest >= 1.0f && highest < (float) (line.length - 1)))
            return 0;

        return wholeSamples (lowest);
    }

    bool delayHolds (const DelayLine& line) noexcept
    {
        return line.delay == line.taken.delay && line.delay >= (float) line.minDelay && line.delay <= (float) line.maxDelay;
    }

    int32_t firstWritePosition (const DelayLine& line) noexcept
    {
        return line.writePos + 1 >= line.length ? line.writePos + 1 - line.length : line.writePos + 1;
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

    template <int channels>
    void readSettledDelay (DelayLine& line, const Buffers<channels>& b, RunBuffers<channels>& run, int32_t m) noexcept
    {
        const auto whole = wholeSamples (line.delay);
        const float frac = line.delay - (float) whole;
        const int32_t first = wrapBehind (firstWritePosition (line) - whole, line.length);

        forEachChannel<channels> ([&] (auto ch) { readSettled (b[ch].ring, line.length, first, frac, run.heard[ch], m); });

        line.readPos = first + m - 1 >= line.length ? first + m - 1 - line.length : first + m - 1;
    }

    template <int channels>
    using FilterStates = std::array<FeedbackFilters, (size_t) channels>;

    template <int channels, typename Track>
    void filterRun (FilterStates<channels>& state, RunBuffers<channels>& run, Controls<Track> controls, int32_t m) noexcept
    {
        // Left and right side by side: two independent recurrences that the processor overlaps.
        auto s = state;

        for (int32_t i = 0; i < m; ++i)
        {
            forEachChannel<channels> ([&] (auto ch)
            {
                const auto& filters = controls.filters (ch);
                run.echo[ch][i + 1] = s[ch].filter (run.heard[ch][i], filters.highPass[i], filters.lowPass[i]);
            });
        }

        state = s;
    }

    template <int channels, typename Track>
    void readAndFilterGliding (DelayLine& line, const Buffers<channels>& b, RunBuffers<channels>& run,
                               FilterStates<channels>& state, Controls<Track> controls, int32_t m) noexcept
    {
        // Locals, so that the stores of the echoes cannot be taken to alias the line's fields. The
        // delay's glide and the filters are independent recurrences: in one loop they overlap.
        std::array<const float*, channels> rings;
        forEachChannel<channels> ([&] (auto ch) { rings[ch] = b[ch].ring; });
        const float target = line.taken.delay, lowest = (float) line.minDelay, highest = (float) line.maxDelay;
        const int32_t ringLength = line.length;
        float d = line.delay;
        int32_t write = line.writePos, read = line.readPos;

        // A glide from within the range towards a target within it stays between the two, so the
        // clamp would change nothing: leaving it out shortens the glide's chain from sample to sample.
        const bool staysInRange = target >= lowest && target <= highest && d >= lowest && d <= highest;
        auto s = state;

        for (int32_t i = 0; i < m; ++i)
        {
            if (++write >= ringLength)
                write -= ringLength;

            d = staysInRange ? glidedDelay (d, target) : glideAndClampDelay (d, target, lowest, highest);
            const auto whole = wholeSamples (d);
            const float frac = d - (float) whole;
            read = wrapBehind (write - whole, ringLength);

            forEachChannel<channels> ([&] (auto ch)
            {
                const auto& filters = controls.filters (ch);
                const float heard = interpolate (rings[ch], read, ringLength, frac);
                run.echo[ch][i + 1] = s[ch].filter (heard, filters.highPass[i], filters.lowPass[i]);
            });
        }

        state = s;
        line.delay = d;
        line.readPos = read;
    }

    //==============================================================================
    // Runs: the writes.

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

    /** The ring writes and outputs of a stretch that does not pass the ring's end, `offset`
        samples into its run. echo[c][offset + i] is the echo of the sample before i,
        echo[c][offset + i + 1] that of sample i.
    */
    template <int channels, typename Track>
    void writeSegment (Buffers<channels> b, const RunBuffers<channels>& run, int32_t offset, int32_t count,
                       RunControls<Track> controls) noexcept
    {
        constexpr bool stereo = channels == 2;

        for (int32_t i = 0; i < count; ++i)
        {
            const int32_t r = offset + i;
            const float feedback = controls.feedback[r], dry = controls.dry[r], wet = controls.wet[r];

            // Each input is read before its output is written: a mono input may be its output.
            auto left = takeInput (b.left, i, run.echo[0][r]);
            Incoming right {};

            if constexpr (stereo)
            {
                right = takeInput (b.right, i, run.echo[1][r]);
                crossFeed (left, right, controls.pingPong[r]);
            }

            writeRing (b.left, i, left, feedback);
            writeOutput (b.left, i, left, dry, wet, run.echo[0][r + 1]);

            if constexpr (stereo)
            {
                writeRing (b.right, i, right, feedback);
                writeOutput (b.right, i, right, dry, wet, run.echo[1][r + 1]);
            }
        }
    }

    //==============================================================================
    /** One run of m samples, at most the block's shortest whole delay: reads, filters, writes. */
    template <int channels>
    void run (DelayLine& line, const Buffers<channels>& b, int32_t m) noexcept
    {
        RunBuffers<channels> buffers;
        FilterStates<channels> state;

        forEachChannel<channels> ([&] (auto ch)
        {
            const auto side = sideOf (line, ch);
            buffers.echo[ch][0] = side.feedbackSample;
            state[ch] = filtersOf (side.highPass, side.lowPass);
        });

        const int32_t first = firstWritePosition (line);
        const bool holds = delayHolds (line);

        const auto runWith = [&] (auto controls)
        {
            if (holds)
            {
                readSettledDelay (line, b, buffers, m);
                filterRun (state, buffers, controls, m);
            }
            else
            {
                readAndFilterGliding (line, b, buffers, state, controls, m);
            }

            forEachRingSegment (first, m, line.length, [&] (int32_t offset, int32_t at, int32_t count)
            {
                writeSegment (b.shifted (at, offset), buffers, offset, count, controls);
            });
        };

        if (controlsMove<channels> (line))
        {
            TrackStorage storage;
            runWith (glideControls<channels> (line, storage, m));
        }
        else
        {
            runWith (heldControls (line));
        }

        forEachChannel<channels> ([&] (auto ch)
        {
            const auto side = sideOf (line, ch);
            storeFilters (state[ch], side.highPass, side.lowPass);
            side.feedbackSample = buffers.echo[ch][m];
        });

        line.writePos += m;
        if (line.writePos >= line.length)
            line.writePos -= line.length;
    }

    template <int channels>
    void process (DelayLine& line, const Buffers<channels>& b, int32_t n) noexcept
    {
        if (n <= 0)
            return;

        // Another thread may set a target while the block runs: the block keeps what it took, so
        // that all its paths see the same targets. A later one lands with the next block.
        line.taken = line.currentTargets();

        const int32_t runLimit = std::min (shortestWholeDelay (line), maxRun);

        if (runLimit == 0)
        {
            runPerSample<channels> (line, b, n);
            return;
        }

        for (int32_t done = 0; done < n;)
        {
            const int32_t m = std::min (n - done, runLimit);
            run<channels> (line, b.shifted (0, done), m);
            done += m;
        }
    }
}

void DelayLine::snapToTargets() noexcept
{
    taken = currentTargets();
    forEachSmoothedValue (*this, taken, [] (auto, float& value, float target) { value = target; });
    delay = clampDelay (delay, (float) minDelay, (float) maxDelay);
}

void DelayLine::processMono (const float* in, float* out, int32_t n) noexcept
{
    process<1> (*this, buffersOf<1> (*this, &in, &out), n);
}

void DelayLine::processStereo (const float* const* in, float* const* out, int32_t n) noexcept
{
    process<2> (*this, buffersOf<2> (*this, in, out), n);
}
