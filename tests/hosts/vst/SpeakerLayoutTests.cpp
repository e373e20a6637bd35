#include "EffectSpy.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
    class SpeakerLayouts : public ::testing::Test
    {
    protected:
        ~SpeakerLayouts() override
        {
            effect.releaseLayout (&layout);
            effect.releaseLayout (&source);
        }

        RecordingHost host;
        EffectSpy effect;
        SpeakerLayoutRecord* layout = nullptr;
        SpeakerLayoutRecord* source = nullptr;
    };
}

TEST_F (SpeakerLayouts, AllocatingGivesAZeroedLayoutOfTheRightSize)
{
    ASSERT_TRUE (effect.allocateLayout (&layout, 2));
    ASSERT_NE (layout, nullptr);

    const auto* bytes = reinterpret_cast<const unsigned char*> (layout);
    EXPECT_EQ (layout->channelCount, 2);

    // Every byte of the 232 but the channel count is zero (ASan would catch a short block).
    for (size_t i = 0; i < 232; ++i)
    {
        if (i < 4 || i >= 8)
        {
            EXPECT_EQ (bytes[i], 0) << i;
        }
    }

    // A second allocation replaces the first without leaking it.
    ASSERT_TRUE (effect.allocateLayout (&layout, 8));
    EXPECT_EQ (layout->channelCount, 8);
}

TEST_F (SpeakerLayouts, CorruptChannelCountsFailWithoutThrowing)
{
    ASSERT_TRUE (effect.allocateLayout (&layout, 1));

    for (const int32_t channels : { -1, std::numeric_limits<int32_t>::min(), 19173962, std::numeric_limits<int32_t>::max() })
    {
        bool allocated = true;
        EXPECT_NO_THROW (allocated = effect.allocateLayout (&layout, channels));
        EXPECT_FALSE (allocated) << channels;
        EXPECT_EQ (layout, nullptr);
    }

    EXPECT_FALSE (effect.allocateLayout (nullptr, 2));
}

TEST_F (SpeakerLayouts, ReleasingIsSafeOnEmptyAndNullAddresses)
{
    EXPECT_TRUE (effect.releaseLayout (&layout));
    EXPECT_TRUE (effect.releaseLayout (nullptr));
    ASSERT_TRUE (effect.allocateLayout (&layout, 2));
    EXPECT_TRUE (effect.releaseLayout (&layout));
    EXPECT_EQ (layout, nullptr);
}

TEST_F (SpeakerLayouts, CopyingAnEntryCutsALongNameAndKeepsEverythingElse)
{
    SpeakerEntry from, to;
    std::memset (&from, 0x33, sizeof (from));
    std::memset (&to, 0x77, sizeof (to));
    std::memset (from.name, 'n', sizeof (from.name)); // 64 characters and no end

    ASSERT_TRUE (effect.copySpeakerEntry (&to, &from));
    EXPECT_EQ (std::string (to.name), std::string (63, 'n'));
    EXPECT_EQ (to.name[63], 0);
    EXPECT_EQ (std::memcmp (to.position, from.position, sizeof (to.position)), 0);
    EXPECT_EQ (to.type, from.type);
    EXPECT_EQ (std::memcmp (to.reserved, from.reserved, sizeof (to.reserved)), 0);

    std::strcpy (from.name, "L");
    ASSERT_TRUE (effect.copySpeakerEntry (&to, &from));
    EXPECT_EQ (std::string (to.name), "L");

    for (size_t i = 1; i < sizeof (to.name); ++i)
        EXPECT_EQ (to.name[i], 0);

    EXPECT_FALSE (effect.copySpeakerEntry (nullptr, &from));
    EXPECT_FALSE (effect.copySpeakerEntry (&to, nullptr));
}

TEST_F (SpeakerLayouts, MatchingCopiesTypeAndEveryEntry)
{
    ASSERT_TRUE (effect.allocateLayout (&source, 2));
    source->type = 1;
    std::strcpy (source->entries()[0].name, "L");
    std::strcpy (source->entries()[1].name, "R");
    source->entries()[1].type = 2;

    ASSERT_TRUE (effect.allocateLayout (&layout, 6));
    ASSERT_TRUE (effect.matchLayout (&layout, source));
    EXPECT_EQ (layout->type, 1);
    EXPECT_EQ (layout->channelCount, 2);
    EXPECT_STREQ (layout->entries()[0].name, "L");
    EXPECT_STREQ (layout->entries()[1].name, "R");
    EXPECT_EQ (layout->entries()[1].type, 2);

    auto* before = layout;
    EXPECT_FALSE (effect.matchLayout (&layout, nullptr));
    EXPECT_EQ (layout, before);
}
