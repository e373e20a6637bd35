#pragma once

#include "AAX_Results.h"

/** The host's services for the whole module: reports and trace messages. */
class AAX_IHostServices
{
public:
    virtual ~AAX_IHostServices() = default;

    virtual ResultCode reportToHost (const void*, std::int32_t, const void*) = 0;
    virtual ResultCode traceMessage (std::int32_t priority, const char* message) = 0;
};
