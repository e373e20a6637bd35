#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

/** The data packet of one port: the bytes a handler last wrote and whether they still need posting. */
struct PortPacket
{
    explicit PortPacket (int32_t portNumber) : port (portNumber) {}

    /** Makes the buffer exactly numBytes long (new bytes are 0) and gives its first byte. */
    void* packetData (size_t numBytes)
    {
        data.resize (numBytes);
        return data.data();
    }

    int32_t port;
    bool dirty = true;
    int32_t size = 0;
    std::vector<unsigned char> data = std::vector<unsigned char> (8);
};
