#include "AAX_CParameterRegistry.h"

#include <cstring>
#include <utility>

AAX_CParameterRegistry::~AAX_CParameterRegistry()
{
    removeAllParameters();
}

void AAX_CParameterRegistry::setAutomationDelegate (AAX_IAutomationDelegate* delegate)
{
    automationDelegate = delegate;
}

int32_t AAX_CParameterRegistry::numParameters() const
{
    return static_cast<int32_t> (parametersInOrder.size());
}

bool AAX_CParameterRegistry::addParameter (std::unique_ptr<AAX_IParameter> parameter)
{
    if (parameter == nullptr || findParameter (parameter->parameterId()) != nullptr)
        return false;

    parameter->attachAutomationDelegate (automationDelegate);
    parametersById.emplace (parameter->parameterId(), parameter.get());
    parametersInOrder.push_back (std::move (parameter));
    return true;
}

void AAX_CParameterRegistry::removeAllParameters()
{
    // Empty the index first so no lookup can reach a parameter while it is being destroyed.
    parametersById.clear();
    parametersInOrder.clear();
}

AAX_IParameter* AAX_CParameterRegistry::findParameter (const char* identifier)
{
    return const_cast<AAX_IParameter*> (std::as_const (*this).findParameter (identifier));
}

const AAX_IParameter* AAX_CParameterRegistry::findParameter (const char* identifier) const
{
    if (identifier == nullptr)
        return nullptr;

    const auto found = parametersById.find (identifier);
    return found != parametersById.end() ? found->second : nullptr;
}

int32_t AAX_CParameterRegistry::indexOfParameter (const char* identifier) const
{
    if (identifier == nullptr)
        return -1;

    for (size_t i = 0; i < parametersInOrder.size(); ++i)
        if (std::strcmp (parametersInOrder[i]->parameterId(), identifier) == 0)
            return static_cast<int32_t> (i);

    return -1;
}

AAX_IParameter* AAX_CParameterRegistry::parameterAt (int32_t index)
{
    return const_cast<AAX_IParameter*> (std::as_const (*this).parameterAt (index));
}

const AAX_IParameter* AAX_CParameterRegistry::parameterAt (int32_t index) const
{
    if (index < 0 || index >= numParameters())
        return nullptr;

    return parametersInOrder[static_cast<size_t> (index)].get();
}
