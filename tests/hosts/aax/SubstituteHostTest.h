#pragma once

#include "AAX_ICollection.h"
#include "SubstituteAaxHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

/**
    What the describe function of a test program linked with this fixture does when the host registers the
    plug-in; an empty function describes nothing and succeeds. Tests that set it should clear it again.
*/
extern std::function<ResultCode (AAX_ICollection*)> testDescribe;

/** Every test against the substitute host ends with all host references given back and ACFCanUnloadNow at 0. */
class SubstituteHostTest : public ::testing::Test
{
protected:
    /** Replaces the host before the test has used it. */
    void useHost (aaxtest::SubstituteAaxHost::Options options)
    {
        substitute = std::make_unique<aaxtest::SubstituteAaxHost> (options);
    }

    aaxtest::SubstituteAaxHost& host()     { return *substitute; }

    void TearDown() override;

private:
    std::unique_ptr<aaxtest::SubstituteAaxHost> substitute = std::make_unique<aaxtest::SubstituteAaxHost>();
};
