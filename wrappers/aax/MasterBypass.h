#pragma once

#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CPacketHandler.h"
#include "AAX_CParameter.h"

#include <memory>

/** The port on which the host posts the master bypass to the process procedure. */
inline constexpr int32_t masterBypassPort = 3;

/** The host's master bypass, first among the parameters, with its value posted on masterBypassPort.
    Inline, so that test effects lay themselves out exactly as the plug-in does without linking it. */
inline void addMasterBypass (AAX_CParameterRegistry& parameters, AAX_CPacketDispatcher& packets)
{
    auto bypass = std::make_unique<AAX_CParameter<bool>> (kMasterBypassId, AAX_CString ("Master Bypass"), false,
                                                          AAX_CBinaryTaperDelegate<bool>(),
                                                          AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true);
    bypass->setStepCount (2);
    bypass->setParameterType (AAX_IParameter::Discrete);
    parameters.addParameter (std::move (bypass));

    const AAX_CPacketHandler<AAX_CPacketDispatcher> handler (&packets, &AAX_CPacketDispatcher::fillValuePacket);
    packets.registerPacket (kMasterBypassId, masterBypassPort, &handler);
}
