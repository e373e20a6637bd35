#include "DelayLine.h"

#include <gtest/gtest.h>

TEST (DelayLine, AFreshLinePassesItsInputThrough)
{
    DelayLine line;
    line.init (10, 480000);
    float samples[64];
    for (int i = 0; i < 64; ++i)
        samples[i] = 0.01f * (float) i - 0.3f;
    float out[64];
    line.processMono (samples, out, 64);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ (out[i], samples[i]);
}
