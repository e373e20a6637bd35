#pragma once

#include "AAX_IPacketHandler.h"
#include "AAX_Results.h"

/** A packet handler that runs a member function of a worker object. The worker is shared, not owned,
    so clones call the same object. When both member functions are given, the one that takes the
    parameter identifier is used. */
template <class Worker>
class AAX_CPacketHandler : public AAX_IPacketHandler
{
public:
    using PacketOnlyHandler = int32_t (Worker::*) (PortPacket&);
    using IdHandler = int32_t (Worker::*) (const char*, PortPacket&);

    AAX_CPacketHandler (Worker* workerObject, IdHandler handler)
        : worker (workerObject), idHandler (handler)
    {
    }

    AAX_CPacketHandler (Worker* workerObject, PacketOnlyHandler handler)
        : worker (workerObject), packetOnlyHandler (handler)
    {
    }

    AAX_CPacketHandler (Worker* workerObject, PacketOnlyHandler packetHandler, IdHandler handler)
        : worker (workerObject), packetOnlyHandler (packetHandler), idHandler (handler)
    {
    }

    AAX_CPacketHandler* clone() const override { return new AAX_CPacketHandler (*this); }

    int32_t handlePacket (const char* parameterId, PortPacket& packet) override
    {
        if (worker != nullptr && idHandler != nullptr)
            return (worker->*idHandler) (parameterId, packet);

        if (worker != nullptr && packetOnlyHandler != nullptr)
            return (worker->*packetOnlyHandler) (packet);

        return resultHostObjectMissing;
    }

private:
    Worker* worker;
    PacketOnlyHandler packetOnlyHandler = nullptr;
    IdHandler idHandler = nullptr;
};
