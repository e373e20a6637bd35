#include "SubstituteHostTest.h"

#include "ACFExports.h"

std::function<ResultCode (AAX_ICollection*)> testDescribe;

// The library leaves the describe function to the wrapper; these tests bring their own.
ResultCode GetEffectDescriptions (AAX_ICollection* collection)
{
    return testDescribe ? testDescribe (collection) : resultSuccess;
}

void SubstituteHostTest::TearDown()
{
    EXPECT_EQ (substitute->unbalancedReferences(), "");
    EXPECT_EQ (ACFCanUnloadNow (nullptr), 0);
}
