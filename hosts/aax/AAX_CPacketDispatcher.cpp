#include "AAX_CPacketDispatcher.h"

#include "AAX_CEffectParameters.h"
#include "AAX_IParameter.h"
#include "AAX_Results.h"
#include "AAX_VController.h"

#include <cstring>
#include <new>
#include <vector>

class AAX_CPacketDispatcher::ScopedLock
{
public:
    explicit ScopedLock (OwnerCheckedMutex::Handle handle)
        : mutex (handle), isHeld (OwnerCheckedMutex::lock (handle))
    {
    }

    ~ScopedLock()
    {
        if (isHeld)
            OwnerCheckedMutex::unlock (mutex);
    }

    ScopedLock (const ScopedLock&) = delete;
    ScopedLock& operator= (const ScopedLock&) = delete;

private:
    OwnerCheckedMutex::Handle mutex;
    bool isHeld;
};

//==============================================================================
AAX_CPacketDispatcher::AAX_CPacketDispatcher()
{
    // The host fills and posts packets on other threads than those that change parameters.
    if (! OwnerCheckedMutex::create (mutex))
        throw std::bad_alloc();
}

AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
    {
        const ScopedLock lock (mutex);
        registrations.clear();
        packetsByPort.clear();
    }

    OwnerCheckedMutex::destroy (mutex);
}

void AAX_CPacketDispatcher::initialize (AAX_VController* hostController, AAX_CEffectParameters* owner)
{
    const ScopedLock lock (mutex);
    controller = hostController;
    effectParameters = owner;
}

void AAX_CPacketDispatcher::clear()
{
    const ScopedLock lock (mutex);
    registrations.clear();
    packetsByPort.clear();
    controller = nullptr;
    effectParameters = nullptr;
}

int32_t AAX_CPacketDispatcher::registerPacket (const char* parameterId, int32_t port, const AAX_IPacketHandler* handler)
{
    if (parameterId == nullptr || handler == nullptr)
        return resultHostObjectMissing;

    const ScopedLock lock (mutex);
    PortPacket* packet = nullptr;

    if (port >= 0)
    {
        auto& slot = packetsByPort[port];

        if (slot == nullptr)
            slot = std::make_unique<PortPacket> (port);

        packet = slot.get();
    }

    // A multimap keeps registrations under one identifier in the order they were made.
    registrations.emplace (parameterId, PacketRegistration { packet, std::unique_ptr<AAX_IPacketHandler> (handler->clone()) });
    return resultSuccess;
}

int32_t AAX_CPacketDispatcher::markPacketDirty (const char* parameterId, bool dirty)
{
    if (parameterId == nullptr)
        return resultSuccess;

    const ScopedLock lock (mutex);
    const auto [first, last] = registrations.equal_range (parameterId);

    for (auto it = first; it != last; ++it)
        if (it->second.packet != nullptr)
            it->second.packet->dirty = dirty;

    return resultSuccess;
}

int32_t AAX_CPacketDispatcher::dispatchPackets()
{
    const ScopedLock lock (mutex);
    int32_t firstFailure = resultSuccess;
    std::vector<PortPacket*> unsent;

    for (auto& [parameterId, registration] : registrations)
    {
        auto* packet = registration.packet;

        if (packet == nullptr || ! packet->dirty)
            continue;

        // Cleared before filling, so a packet shared by several registrations goes out once.
        packet->dirty = false;

        auto result = registration.handler->handlePacket (parameterId.c_str(), *packet);

        if (result == resultSuccess)
            result = controller != nullptr
                         ? controller->postPacket (static_cast<uint32_t> (packet->port), packet->data.data(),
                                                   static_cast<uint32_t> (packet->size))
                         : resultHostObjectMissing;

        if (result != resultSuccess)
        {
            unsent.push_back (packet);

            if (firstFailure == resultSuccess)
                firstFailure = result;
        }
    }

    for (auto* packet : unsent)
        packet->dirty = true;

    return firstFailure;
}

int32_t AAX_CPacketDispatcher::fillValuePacket (const char* parameterId, PortPacket& packet)
{
    AAX_IParameter* parameter = nullptr;

    if (effectParameters == nullptr
        || effectParameters->parameterById (parameterId, &parameter) != resultSuccess
        || parameter == nullptr)
        return resultHostObjectMissing;

    const auto write = [&packet] (const auto& value)
    {
        packet.size = static_cast<int32_t> (sizeof (value));
        std::memcpy (packet.packetData (sizeof (value)), &value, sizeof (value));
    };

    bool b = false;
    float f = 0;
    int32_t i = 0;
    double d = 0;

    if (parameter->getBool (&b))
        write (static_cast<int32_t> (b ? 1 : 0));
    else if (parameter->getFloat (&f))
        write (f);
    else if (parameter->getInt32 (&i))
        write (i);
    else if (parameter->getDouble (&d))
        write (d);
    else
        return resultHostObjectMissing;

    return resultSuccess;
}
