#pragma once

#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "MasterBypass.h"

#include <string>

/** An effect laid out as the plug-in's wrapper lays it out: the wrapper's own master bypass first,
    with its packet on the bypass port, then the nine processor parameters "0" to "8". */
class TestEffect : public AAX_CEffectParameters
{
public:
    ResultCode initializeEffect() override
    {
        ++numEffectInitialisations;
        addMasterBypass (parameterManager, packetDispatcher);

        for (int i = 0; i < 9; ++i)
        {
            const auto id = std::to_string (i);
            auto parameter = std::make_unique<AAX_CParameter<float>> (id.c_str(), AAX_CString (("Parameter " + id).c_str()),
                                                                      0.1f * static_cast<float> (i),
                                                                      AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                                      AAX_CNumberDisplayDelegate<float, 3, 0>(), true);
            parameter->addShortName (AAX_CString (("P" + id).c_str()));
            parameterManager.addParameter (std::move (parameter));
        }

        return initialisationResult;
    }

    /** The parameters without a host: every request is applied at once. */
    void setUpWithoutHost()
    {
        initializeEffect();
        excludedParameterIds.insert (kMasterBypassId);
    }

    AAX_IParameter* parameter (const char* id) { return parameterManager.findParameter (id); }

    float value (const char* id)
    {
        float v = -1.0f;
        parameter (id)->getFloat (&v);
        return v;
    }

    void setValue (const char* id, float v) { parameter (id)->setFloat (v); }

    bool isBypassed()
    {
        bool b = false;
        parameter (kMasterBypassId)->getBool (&b);
        return b;
    }

    void addParameter (std::unique_ptr<AAX_IParameter> p) { parameterManager.addParameter (std::move (p)); }
    void setChangeCounter (uint32_t count) { changeCounter = count; }
    const std::set<std::string>& excludedIds() const { return excludedParameterIds; }
    AAX_CPacketDispatcher& dispatcher() { return packetDispatcher; }

    ResultCode initialisationResult = resultSuccess;
    int numEffectInitialisations = 0;
};
