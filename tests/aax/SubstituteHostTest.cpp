#include "SubstituteHostTest.h"

std::int32_t SubstituteHostTest::liveComponents()
{
    return CACFUnknown::getLiveObjectCount();
}
