#pragma once

#include "AAX_IPacketHandler.h"
#include "OwnerCheckedMutex.h"
#include "PortPacket.h"

#include <map>
#include <memory>
#include <string>

class AAX_CEffectParameters;
class AAX_VController;

/** Turns parameter changes into data packets for the host's processing side.

    A parameter identifier is registered against a port with a handler. A change marks the identifier's
    packets dirty; a dispatch lets each dirty packet's handler fill it and posts it through the host's
    controller. A packet that cannot be filled or posted stays dirty, so the change is sent by a later
    dispatch rather than lost.
*/
class AAX_CPacketDispatcher
{
public:
    AAX_CPacketDispatcher();
    ~AAX_CPacketDispatcher();

    AAX_CPacketDispatcher (const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator= (const AAX_CPacketDispatcher&) = delete;

    /** The controller that posts packets and the effect whose parameters fill them; neither is owned. */
    void initialize (AAX_VController* hostController, AAX_CEffectParameters* owner);

    /** Forgets the controller, the effect, every registration and every packet, so nothing can reach
        a controller that its owner is about to delete. */
    void clear();

    /** Registers a clone of the handler. A negative port keeps the registration without a packet.
        A missing identifier or handler is refused. */
    int32_t registerPacket (const char* parameterId, int32_t port, const AAX_IPacketHandler* handler);

    /** Sets the dirty flag of every packet registered for the identifier. */
    int32_t markPacketDirty (const char* parameterId, bool dirty);

    /** Fills and posts every dirty packet, each at most once. Answers 0, or the first failure of a fill
        or a post. */
    int32_t dispatchPackets();

    /** Handler body: writes the parameter's current value into the packet in native byte order
        (a bool as an int32 0 or 1). */
    int32_t fillValuePacket (const char* parameterId, PortPacket& packet);

private:
    struct PacketRegistration
    {
        PortPacket* packet;
        std::unique_ptr<AAX_IPacketHandler> handler;
    };

    /** Holds the dispatcher's lock for a scope, unless this thread already holds it. */
    class ScopedLock;

    std::map<int32_t, std::unique_ptr<PortPacket>> packetsByPort;
    std::multimap<std::string, PacketRegistration> registrations;
    AAX_VController* controller = nullptr;
    AAX_CEffectParameters* effectParameters = nullptr;
    OwnerCheckedMutex::Handle mutex = nullptr;
};
