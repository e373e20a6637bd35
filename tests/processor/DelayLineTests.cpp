#include "DelayLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace
{
    struct FreshLine : ::testing::Test
    {
        void SetUp() override { line.init (10, 480000); }

        /** Runs n samples of silence (or an impulse at sample 0) through the stereo path. */
        void runStereo (std::vector<float>& inL, std::vector<float>& inR,
                        std::vector<float>& outL, std::vector<float>& outR)
        {
            outL.assign (inL.size(), 0.0f);
            outR.assign (inR.size(), 0.0f);
            const float* in[] { inL.data(), inR.data() };
            float* out[] { outL.data(), outR.data() };
            line.processStereo (in, out, (int32_t) inL.size());
        }

        /** Every smoothed value on its target. */
        void settle()
        {
            line.snapToTargets();
        }

        /** Filters wide open: the high-pass passes everything, the low-pass adds nothing. */
        void openFilters()
        {
            for (auto* lp : { &line.lowPassL, &line.lowPassR })
                lp->targetCoefficient = lp->coefficient = 0.0f;
            for (auto* hp : { &line.highPassL, &line.highPassR })
                hp->targetCoefficient = hp->coefficient = 1.0f;
        }

        DelayLine line;
    };
}

TEST_F (FreshLine, PassesItsInputThroughUnchanged)
{
    std::vector<float> in (256), out (256);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = 0.01f * (float) i - 0.9f;

    line.processMono (in.data(), out.data(), (int32_t) in.size());

    EXPECT_EQ (out, in);
    EXPECT_EQ (line.delay, 10.0f) << "before any target, the clamp holds the delay at its minimum";
}

TEST_F (FreshLine, ZeroOrNegativeLengthsChangeNothing)
{
    float sample = 0.5f;
    line.processMono (&sample, &sample, 0);
    line.processMono (&sample, &sample, -4);
    EXPECT_EQ (line.writePos, 0);
    EXPECT_EQ (sample, 0.5f);
}

TEST_F (FreshLine, DelayTargetsAreClampedToTheLine)
{
    line.setDelayTarget (1.0e9f);
    EXPECT_EQ (line.targetDelay, 480000.0f);
    line.setDelayTarget (3.0f);
    EXPECT_EQ (line.targetDelay, 10.0f);

    line.setPingPong (1.7f);
    EXPECT_EQ (line.targetPingPong, 1.0f);
    line.setPingPong (-0.2f);
    EXPECT_EQ (line.targetPingPong, 0.0f);
}

TEST_F (FreshLine, AnImpulseReturnsAfterTheDelayLinearlyInterpolated)
{
    line.setDelayTarget (100.25f);
    line.setFeedback (1.0f);
    line.targetMix = 1.0f;
    settle();
    openFilters();

    std::vector<float> in (300, 0.0f), out (300);
    in[0] = 1.0f;
    line.processMono (in.data(), out.data(), (int32_t) in.size());

    // 100.25 samples: three quarters at 100, one quarter at 101.
    EXPECT_FLOAT_EQ (out[100], 0.75f);
    EXPECT_FLOAT_EQ (out[101], 0.25f);
    EXPECT_EQ (out[99], 0.0f);
    EXPECT_EQ (out[0], 0.0f) << "mix 1 leaves only the echo";
}

TEST_F (FreshLine, ReadingAtTheRingStartInterpolatesWithItsLastElement)
{
    line.setDelayTarget (10.5f);
    line.setFeedback (1.0f);
    line.targetMix = 1.0f;
    settle();
    openFilters();

    line.bufferL[(size_t) line.length - 1] = 0.8f;
    line.writePos = 9; // the next write lands on 10, and a whole delay of 10 reads index 0
    float in = 0.0f, out = 0.0f;
    line.processMono (&in, &out, 1);

    EXPECT_EQ (line.readPos, 0);
    EXPECT_FLOAT_EQ (out, 0.5f * 0.8f);
}

TEST_F (FreshLine, MixZeroIsDryAndMixHalfKeepsBothAtUnity)
{
    line.setDelayTarget (20.0f);
    line.setFeedback (1.0f);
    openFilters();

    line.targetMix = 0.0f;
    settle();
    std::vector<float> in (64, 0.0f), out (64);
    in[0] = 1.0f;
    line.processMono (in.data(), out.data(), 64);
    EXPECT_EQ (out[0], 1.0f);
    EXPECT_EQ (out[20], 0.0f);

    DelayLine half;
    half.init (10, 480000);
    half.setDelayTarget (20.0f);
    half.setFeedback (1.0f);
    half.delay = 20.0f;
    half.feedback = 1.0f;
    half.lowPassL.targetCoefficient = half.lowPassL.coefficient = 0.0f;
    half.highPassL.targetCoefficient = half.highPassL.coefficient = 1.0f;
    half.processMono (in.data(), out.data(), 64);
    EXPECT_EQ (out[0], 1.0f);
    EXPECT_EQ (out[20], 1.0f);
}

TEST_F (FreshLine, MonoInPlaceMatchesSeparateBuffers)
{
    line.setDelayTarget (37.3f);
    line.setFeedback (0.8f);
    line.targetMix = 0.6f;

    DelayLine twin;
    twin.init (10, 480000);
    twin.setDelayTarget (37.3f);
    twin.setFeedback (0.8f);
    twin.targetMix = 0.6f;

    std::vector<float> in (2048), out (2048);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = (i % 97 == 0) ? 0.9f : 0.001f * (float) (i % 13);

    std::vector<float> inPlace = in;
    line.processMono (inPlace.data(), inPlace.data(), (int32_t) inPlace.size());
    twin.processMono (in.data(), out.data(), (int32_t) in.size());

    EXPECT_EQ (inPlace, out);
}

TEST_F (FreshLine, PingPongSendsALeftImpulseRightThenLeft)
{
    line.setDelayTarget (50.0f);
    line.setFeedback (0.9f);
    line.setPingPong (1.0f);
    line.targetMix = 1.0f;
    settle();
    openFilters();

    std::vector<float> inL (200, 0.0f), inR (200, 0.0f), outL, outR;
    inL[0] = 1.0f;
    runStereo (inL, inR, outL, outR);

    EXPECT_EQ (outL[50], 0.0f);
    EXPECT_FLOAT_EQ (outR[50], 0.9f);
    // Each pass back through the feedback path adds one sample.
    EXPECT_FLOAT_EQ (outL[101], 0.9f * 0.9f);
    EXPECT_EQ (outR[101], 0.0f);
    EXPECT_FLOAT_EQ (outR[152], 0.9f * 0.9f * 0.9f);
    EXPECT_EQ (outL[152], 0.0f);
}

TEST_F (FreshLine, ASettledBlockSoundsExactlyLikeTheGlidingPath)
{
    // The twin is a hair off its ping-pong target, below the snap threshold: it takes the
    // gliding path, snaps on its first sample and from then on must match the settled line.
    DelayLine twin;
    twin.init (10, 480000);

    for (auto* l : { &line, &twin })
    {
        l->setDelayTarget (321.37f);
        l->setFeedback (0.95f);
        l->setPingPong (0.4f);
        l->targetMix = 0.7f;
        l->lowPassL.targetCoefficient = l->lowPassR.targetCoefficient = 0.3f;
        l->highPassL.targetCoefficient = l->highPassR.targetCoefficient = 0.97f;
    }

    std::vector<float> inL (4000), inR (4000), outL, outR;
    for (size_t i = 0; i < inL.size(); ++i)
    {
        inL[i] = (i % 331 == 0) ? 0.8f : 0.0f;
        inR[i] = (i % 577 == 0) ? -0.6f : 0.0f;
    }

    settle();
    ASSERT_TRUE (line.isSettled());

    twin.delay = line.delay;
    twin.feedback = line.feedback;
    twin.mix = line.mix;
    twin.pingPong = line.pingPong + 5.0e-7f;
    twin.lowPassL = line.lowPassL;
    twin.lowPassR = line.lowPassR;
    twin.highPassL = line.highPassL;
    twin.highPassR = line.highPassR;
    ASSERT_FALSE (twin.isSettled());

    runStereo (inL, inR, outL, outR);

    std::vector<float> twinL (inL.size()), twinR (inR.size());
    const float* in[] { inL.data(), inR.data() };
    float* out[] { twinL.data(), twinR.data() };
    twin.processStereo (in, out, (int32_t) inL.size());

    EXPECT_EQ (twinL, outL);
    EXPECT_EQ (twinR, outR);
    EXPECT_NE (outR, std::vector<float> (outR.size(), 0.0f));
}

TEST_F (FreshLine, RingSamplesAndOutputsStayWithinTwo)
{
    line.setFeedback (1.0f);
    settle();
    float in = 3.0f, out = 0.0f;
    line.processMono (&in, &out, 1);
    EXPECT_EQ (line.bufferL[(size_t) line.writePos], 2.0f);
    EXPECT_LE (out, 2.0f);
}

TEST_F (FreshLine, DelayGlidesWithAFiftyThousandSampleTimeConstant)
{
    line.delay = 1000.0f;
    line.setDelayTarget (2000.0f);
    float silence = 0.0f, out = 0.0f;
    line.processMono (&silence, &out, 1);
    EXPECT_FLOAT_EQ (line.delay, 1000.0f + 1000.0f * 0.00002f);

    std::vector<float> in (50000, 0.0f), outs (50000);
    line.delay = 1000.0f;
    line.processMono (in.data(), outs.data(), 50000);
    EXPECT_NEAR (line.delay, 2000.0f - 1000.0f * std::exp (-1.0f), 2.0f) << "one time constant covers 63 %";
}

TEST_F (FreshLine, TheLongestDelayGlideCreepsOntoItsTargetWithoutAJump)
{
    // From 10 to 480,000 samples the glide's step first follows v * 0.99998 + t * 0.00002
    // exactly; once that step rounds back to the value, the delay creeps one float step a sample.
    line.setDelayTarget (480000.0f);
    float silence = 0.0f, out = 0.0f;
    float expected = line.delay;
    int64_t samples = 0, firstCreep = -1;
    float largestMoveNearTheEnd = 0.0f, floatStepThere = 0.0f;

    while (line.delay != line.targetDelay && samples < 1000000)
    {
        const float before = line.delay;
        line.processMono (&silence, &out, 1);
        ++samples;

        const auto plainStep = (float) ((double) before * 0.99998 + (double) line.targetDelay * 0.00002);

        if (firstCreep < 0 && plainStep == before)
            firstCreep = samples;

        if (firstCreep < 0)
        {
            expected = plainStep;
            ASSERT_EQ (line.delay, expected) << "sample " << samples << ": the plain step until it rounds away";
        }
        else if (line.targetDelay - before < 1000.0f)
        {
            largestMoveNearTheEnd = std::max (largestMoveNearTheEnd, line.delay - before);
            floatStepThere = std::max (floatStepThere, std::nextafter (before, line.targetDelay) - before);
        }
    }

    EXPECT_EQ (line.delay, 480000.0f);
    ASSERT_GT (firstCreep, 0);
    EXPECT_GT (largestMoveNearTheEnd, 0.0f);
    EXPECT_LE (largestMoveNearTheEnd, floatStepThere) << "one float step at most near the end";
    EXPECT_EQ (floatStepThere, 0.03125f);

    // About 7.2 s at 48 kHz: the creep itself covers the last ~780 samples in ~25,000 steps.
    RecordProperty ("samplesToLand", std::to_string (samples));
    RecordProperty ("samplesCreeping", std::to_string (samples - firstCreep + 1));
    EXPECT_GT (samples, 300000);
    EXPECT_LT (samples, 400000);
}

TEST_F (FreshLine, DecayingEchoesEndInExactZeros)
{
    line.setDelayTarget (10.0f);
    line.setFeedback (0.5f);
    settle();

    std::vector<float> in (20000, 0.0f), out (20000);
    in[0] = 1.0f;
    line.processMono (in.data(), out.data(), (int32_t) in.size());

    EXPECT_EQ (line.feedbackSampleL, 0.0f);
    EXPECT_EQ (out.back(), 0.0f);
    EXPECT_EQ (line.lowPassL.lastOutput, 0.0f);
}

TEST (OnePoleFilters, FlushTinyOutputsButKeepTheUnflushedInput)
{
    OnePoleHighPass highPass;
    highPass.init();
    EXPECT_EQ (highPass.process (5.0e-9f, highPass.targetCoefficient), 0.0f);
    EXPECT_EQ (highPass.lastInput, 5.0e-9f);

    OnePoleLowPass lowPass;
    lowPass.init();
    EXPECT_EQ (lowPass.process (1.0e-8f, lowPass.targetCoefficient), 0.0f) << "0.9 * 1e-8 is below the flush level";
    EXPECT_FLOAT_EQ (lowPass.process (1.0f, lowPass.targetCoefficient), 0.9f);

    // The float nearest 1e-8 lies just under it; the next one up is kept, on either side of zero.
    const float justOver = std::nextafter (1.0e-8f, 1.0f);
    EXPECT_EQ (lumarro::flushTiny (1.0e-8f), 0.0f);
    EXPECT_EQ (lumarro::flushTiny (-1.0e-8f), 0.0f);
    EXPECT_EQ (lumarro::flushTiny (justOver), justOver);
    EXPECT_EQ (lumarro::flushTiny (-justOver), -justOver);
}

TEST (OnePoleFilters, CoefficientsGlideTowardTheirTargets)
{
    OnePoleLowPass lowPass;
    lowPass.init();
    lowPass.targetCoefficient = 0.5f;
    lowPass.process (0.0f, lowPass.targetCoefficient);
    EXPECT_FLOAT_EQ (lowPass.coefficient, 0.1f + 0.4f * 0.005f);

    for (int i = 0; i < 10000; ++i)
        lowPass.process (0.0f, lowPass.targetCoefficient);
    EXPECT_EQ (lowPass.coefficient, 0.5f);
}

TEST (OnePoleFilters, ANaNNeverStaysInAFilter)
{
    OnePoleHighPass highPass;
    highPass.init();
    highPass.process (std::numeric_limits<float>::quiet_NaN(), highPass.targetCoefficient);
    EXPECT_EQ (highPass.lastOutput, 0.0f);
    EXPECT_EQ (highPass.process (0.5f, highPass.targetCoefficient), 0.0f);
    EXPECT_FLOAT_EQ (highPass.process (1.0f, highPass.targetCoefficient), 0.9f * 0.5f);
}

TEST (GlideSteps, TheInlineNextFloatMatchesTheLibraryBitForBit)
{
    const auto bitsOf = [] (float x)
    {
        uint32_t bits;
        std::memcpy (&bits, &x, sizeof bits);
        return bits;
    };

    constexpr float inf = std::numeric_limits<float>::infinity();
    const float edges[] { 0.0f, -0.0f, std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::denorm_min(),
                          std::numeric_limits<float>::min(), std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                          inf, -inf, 1.0f, -1.0f, 480000.0f, 10.0f, std::numeric_limits<float>::quiet_NaN() };

    for (const float from : edges)
    {
        for (const float to : edges)
        {
            const float expected = std::nextafter (from, to);
            const float got = lumarro::nextFloatTowards (from, to);

            if (std::isnan (expected))
                EXPECT_TRUE (std::isnan (got)) << from << " towards " << to;
            else
                EXPECT_EQ (bitsOf (got), bitsOf (expected)) << from << " towards " << to;
        }
    }

    std::mt19937 random (7);
    for (int i = 0; i < 100000; ++i)
    {
        uint32_t a = (uint32_t) random(), b = (uint32_t) random();
        float from, to;
        std::memcpy (&from, &a, sizeof from);
        std::memcpy (&to, &b, sizeof to);

        if (std::isnan (from) || std::isnan (to))
            continue;

        ASSERT_EQ (bitsOf (lumarro::nextFloatTowards (from, to)), bitsOf (std::nextafter (from, to))) << from << " towards " << to;
    }
}

TEST (GlideSteps, TheEngineBoundsPassInRangeValuesAndSilenceNaN)
{
    // Signed zeros and the bounds themselves come through unchanged: the echoes must be exact.
    EXPECT_EQ (std::signbit (lumarro::clamp2 (-0.0f)), true);
    EXPECT_EQ (lumarro::clamp2 (2.0f), 2.0f);
    EXPECT_EQ (lumarro::clamp2 (-2.0f), -2.0f);
    EXPECT_EQ (lumarro::clamp2 (2.5f), 2.0f);
    EXPECT_EQ (lumarro::clamp2 (-std::numeric_limits<float>::infinity()), -2.0f);
    EXPECT_EQ (lumarro::clamp2 (std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ (lumarro::boundOrSilence (0.75f, 1.0f), 0.75f);
    EXPECT_EQ (lumarro::boundOrSilence (1.5f, 1.0f), 1.0f);
}

TEST_F (FreshLine, EachSidesFilterGlidesTowardsItsOwnTarget)
{
    // The sides normally share their filter settings; set apart, each must follow its own glide.
    line.setDelayTarget (200.0f);
    settle();
    line.lowPassL.targetCoefficient = 0.6f;
    line.lowPassR.targetCoefficient = 0.2f;
    line.highPassR.targetCoefficient = 0.95f;

    OnePoleLowPass lowL = line.lowPassL, lowR = line.lowPassR;
    OnePoleHighPass highR = line.highPassR;

    std::vector<float> inL (300, 0.0f), inR (300, 0.0f), outL, outR;
    runStereo (inL, inR, outL, outR);

    for (int i = 0; i < 300; ++i)
    {
        lowL.process (0.0f, lowL.targetCoefficient);
        lowR.process (0.0f, lowR.targetCoefficient);
        highR.process (0.0f, highR.targetCoefficient);
    }

    EXPECT_EQ (line.lowPassL.coefficient, lowL.coefficient);
    EXPECT_EQ (line.lowPassR.coefficient, lowR.coefficient);
    EXPECT_EQ (line.highPassR.coefficient, highR.coefficient);
    EXPECT_EQ (line.highPassL.coefficient, 0.9f) << "a settled filter stays where it is";
    EXPECT_NE (line.lowPassL.coefficient, line.lowPassR.coefficient);
}
