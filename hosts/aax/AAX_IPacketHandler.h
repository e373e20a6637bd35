#pragma once

#include "PortPacket.h"

/** Fills a dirty packet with the current value of the parameter it was registered for. */
class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() = default;

    /** A new heap copy, owned by the caller. */
    virtual AAX_IPacketHandler* clone() const = 0;

    /** Fills the packet; 0 on success. */
    virtual int32_t handlePacket (const char* parameterId, PortPacket& packet) = 0;
};
