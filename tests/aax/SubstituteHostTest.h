#pragma once

#include "CACFUnknown.h"
#include "SubstituteAaxHost.h"

#include <gtest/gtest.h>

#include <memory>

/** Every test against the substitute host ends with all host references given back and no component alive. */
class SubstituteHostTest : public ::testing::Test
{
protected:
    /** Replaces the host before the test has used it. */
    void useHost (aaxtest::SubstituteAaxHost::Options options)
    {
        substitute = std::make_unique<aaxtest::SubstituteAaxHost> (options);
    }

    aaxtest::SubstituteAaxHost& host()     { return *substitute; }

    void TearDown() override
    {
        EXPECT_EQ (substitute->unbalancedReferences(), "");
        EXPECT_EQ (liveComponents(), 0);
    }

    static std::int32_t liveComponents();

private:
    std::unique_ptr<aaxtest::SubstituteAaxHost> substitute = std::make_unique<aaxtest::SubstituteAaxHost>();
};
