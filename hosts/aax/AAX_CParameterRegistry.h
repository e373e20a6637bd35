#pragma once

#include "AAX_IParameter.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class AAX_IAutomationDelegate;

/** Owns the host-visible parameters of one effect, in the order they were added (that order is the
    index the host sees), finds them by identifier, and attaches the host's automation delegate to each
    one it takes. */
class AAX_CParameterRegistry
{
public:
    AAX_CParameterRegistry() = default;
    ~AAX_CParameterRegistry();

    AAX_CParameterRegistry (const AAX_CParameterRegistry&) = delete;
    AAX_CParameterRegistry& operator= (const AAX_CParameterRegistry&) = delete;

    /** The delegate handed to parameters added from now on; those already held keep theirs. */
    void setAutomationDelegate (AAX_IAutomationDelegate* delegate);

    int32_t numParameters() const;

    /** Takes the parameter. A null parameter, or one whose identifier is already held, is refused:
        the answer is false and the refused parameter is deleted, so it can neither leak nor be used
        by mistake as if it were registered. */
    bool addParameter (std::unique_ptr<AAX_IParameter> parameter);

    /** Deletes every parameter held; the stored delegate stays. */
    void removeAllParameters();

    /** The parameter with exactly this identifier, or null (also for a null identifier). */
    AAX_IParameter* findParameter (const char* identifier);
    const AAX_IParameter* findParameter (const char* identifier) const;

    /** The position of the parameter with this identifier, or -1. */
    int32_t indexOfParameter (const char* identifier) const;

    /** The parameter at a position, or null outside [0, numParameters()). */
    AAX_IParameter* parameterAt (int32_t index);
    const AAX_IParameter* parameterAt (int32_t index) const;

private:
    AAX_IAutomationDelegate* automationDelegate = nullptr;
    std::vector<std::unique_ptr<AAX_IParameter>> parametersInOrder;
    std::map<std::string, AAX_IParameter*> parametersById;
};
