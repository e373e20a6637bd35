#pragma once

#include "AAX_Results.h"

/** Runs one host call of the wrapper; any exception (an allocation that failed while the processor
    saved its state or the editor was built) is answered with resultUnexpected instead of unwinding
    into the host. */
template <typename Call>
ResultCode answerWithoutThrowing (Call&& call) noexcept
{
    try
    {
        return call();
    }
    catch (...)
    {
        return resultUnexpected;
    }
}
