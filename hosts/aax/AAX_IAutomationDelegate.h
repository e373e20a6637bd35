#pragma once

#include "AAX_Results.h"

/** The plug-in's side of the host's automation delegate: parameter registration, touch and value requests. */
class AAX_IAutomationDelegate
{
public:
    virtual ~AAX_IAutomationDelegate() = default;

    virtual ResultCode attachParameter (const char* identifier) = 0;
    virtual ResultCode detachParameter (const char* identifier) = 0;
    virtual ResultCode requestValueChange (const char* identifier, double normalisedValue) = 0;
    virtual ResultCode reportValue (const char* identifier, double normalisedValue) = 0;
    virtual ResultCode beginTouch (const char* identifier) = 0;
    virtual ResultCode endTouch (const char* identifier) = 0;
    virtual ResultCode queryParameter (const char* identifier, void* out) = 0;
};
