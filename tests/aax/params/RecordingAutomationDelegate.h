#pragma once

#include "AAX_IAutomationDelegate.h"

#include <string>
#include <vector>

/** An automation delegate that writes down every call, for tests of a single parameter. */
class RecordingAutomationDelegate final : public AAX_IAutomationDelegate
{
public:
    struct Call
    {
        std::string operation;
        std::string identifier;
        double value = 0.0;

        bool operator== (const Call& other) const
        {
            return operation == other.operation && identifier == other.identifier && value == other.value;
        }
    };

    ResultCode attachParameter (const char* id) override          { return record ("attach", id); }
    ResultCode detachParameter (const char* id) override          { return record ("detach", id); }
    ResultCode requestValueChange (const char* id, double v) override { return record ("request", id, v); }
    ResultCode reportValue (const char* id, double v) override    { return record ("report", id, v); }
    ResultCode beginTouch (const char* id) override               { return record ("begin", id); }
    ResultCode endTouch (const char* id) override                 { return record ("end", id); }
    ResultCode queryParameter (const char* id, void*) override    { return record ("query", id); }

    std::vector<Call> calls;

private:
    ResultCode record (const char* operation, const char* id, double value = 0.0)
    {
        calls.push_back ({ operation, id, value });
        return resultSuccess;
    }
};
