#include "TestEffect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
/** A handler that notes each packet it is asked to fill and answers a set result. */
class NotingHandler final : public AAX_IPacketHandler
{
public:
    NotingHandler (std::vector<std::string>& logToUse, ResultCode resultToGive)
        : log (logToUse), result (resultToGive) {}

    AAX_IPacketHandler* clone() const override { return new NotingHandler (*this); }

    int32_t handlePacket (const char* id, PortPacket& packet) override
    {
        log.push_back (std::string (id) + "@" + std::to_string (packet.port));
        packet.size = 4;
        packet.packetData (4);
        return result;
    }

private:
    std::vector<std::string>& log;
    ResultCode result;
};

struct Worker
{
    int32_t withId (const char* id, PortPacket& packet)
    {
        seen = std::string ("id ") + id + " " + std::to_string (packet.port);
        return 1;
    }

    int32_t packetOnly (PortPacket& packet)
    {
        seen = "packet " + std::to_string (packet.port);
        return 2;
    }

    std::string seen;
};
} // namespace

TEST (PacketHandler, CallsTheMemberItWasGivenPreferringTheOneWithTheIdentifier)
{
    Worker worker;
    PortPacket packet (7);

    AAX_CPacketHandler<Worker> idOnly (&worker, &Worker::withId);
    EXPECT_EQ (idOnly.handlePacket ("gain", packet), 1);
    EXPECT_EQ (worker.seen, "id gain 7");

    AAX_CPacketHandler<Worker> packetOnly (&worker, &Worker::packetOnly);
    EXPECT_EQ (packetOnly.handlePacket ("gain", packet), 2);
    EXPECT_EQ (worker.seen, "packet 7");

    AAX_CPacketHandler<Worker> both (&worker, &Worker::packetOnly, &Worker::withId);
    EXPECT_EQ (both.handlePacket ("mix", packet), 1);

    // A clone runs on the same worker and outlives the handler it was made from.
    auto original = std::make_unique<AAX_CPacketHandler<Worker>> (&worker, &Worker::withId);
    const std::unique_ptr<AAX_IPacketHandler> copy (original->clone());
    original.reset();
    EXPECT_EQ (copy->handlePacket ("x", packet), 1);
    EXPECT_EQ (worker.seen, "id x 7");

    AAX_CPacketHandler<Worker> noWorker (nullptr, &Worker::withId);
    EXPECT_EQ (noWorker.handlePacket ("x", packet), resultHostObjectMissing);
}

TEST (PacketDispatcher, RefusesRegistrationsWithoutIdentifierOrHandler)
{
    AAX_CPacketDispatcher dispatcher;
    std::vector<std::string> log;
    const NotingHandler handler (log, resultSuccess);

    EXPECT_EQ (dispatcher.registerPacket ("a", 1, nullptr), resultHostObjectMissing);
    EXPECT_EQ (dispatcher.registerPacket (nullptr, 1, &handler), resultHostObjectMissing);
    EXPECT_EQ (dispatcher.dispatchPackets(), resultSuccess);
    EXPECT_TRUE (log.empty());
}

TEST (PacketDispatcher, FillsEachDirtyPacketOnceInIdentifierOrder)
{
    AAX_CPacketDispatcher dispatcher;
    std::vector<std::string> log;
    const NotingHandler handler (log, resultSuccess);

    dispatcher.registerPacket ("b", 1, &handler); // "a" and "b" share port 1
    dispatcher.registerPacket ("a", 1, &handler);
    dispatcher.registerPacket ("c", 3, &handler); // "c" feeds ports 3 and 5
    dispatcher.registerPacket ("c", 5, &handler);
    dispatcher.registerPacket ("d", -1, &handler); // no packet at all

    // No controller: every fill is followed by a failed post.
    EXPECT_EQ (dispatcher.dispatchPackets(), resultHostObjectMissing);
    EXPECT_EQ (log, (std::vector<std::string> { "a@1", "c@3", "c@5" }));

    // Unsent packets stay dirty and are tried again.
    log.clear();
    dispatcher.dispatchPackets();
    EXPECT_EQ (log, (std::vector<std::string> { "a@1", "c@3", "c@5" }));

    log.clear();
    dispatcher.markPacketDirty ("never registered", false);
    dispatcher.markPacketDirty ("b", false);
    dispatcher.markPacketDirty ("c", false);
    EXPECT_EQ (dispatcher.dispatchPackets(), resultSuccess);
    EXPECT_TRUE (log.empty());

    dispatcher.markPacketDirty ("b", true);
    dispatcher.dispatchPackets();
    EXPECT_EQ (log, (std::vector<std::string> { "a@1" }));
}

TEST (PacketDispatcher, AFailedFillKeepsThePacketDirtyAndReportsTheFirstFailure)
{
    AAX_CPacketDispatcher dispatcher;
    std::vector<std::string> log;
    const NotingHandler failing (log, -7);
    const NotingHandler failingDifferently (log, -9);

    dispatcher.registerPacket ("a", 1, &failing);
    dispatcher.registerPacket ("b", 2, &failingDifferently);

    EXPECT_EQ (dispatcher.dispatchPackets(), -7);
    EXPECT_EQ (dispatcher.dispatchPackets(), -7);
    EXPECT_EQ (log.size(), 4u);
}

TEST (PacketDispatcher, TheValueFillerWritesTheParameterInNativeOrder)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    auto& dispatcher = effect.dispatcher();
    dispatcher.initialize (nullptr, &effect);

    PortPacket packet (3);
    effect.parameter (kMasterBypassId)->setBool (true);
    EXPECT_EQ (dispatcher.fillValuePacket (kMasterBypassId, packet), resultSuccess);
    ASSERT_EQ (packet.size, 4);
    int32_t flag = 0;
    std::memcpy (&flag, packet.data.data(), 4);
    EXPECT_EQ (flag, 1);

    effect.setValue ("3", 0.75f);
    EXPECT_EQ (dispatcher.fillValuePacket ("3", packet), resultSuccess);
    ASSERT_EQ (packet.size, 4);
    float level = 0;
    std::memcpy (&level, packet.data.data(), 4);
    EXPECT_EQ (level, 0.75f);

    PortPacket untouched (4);
    EXPECT_EQ (dispatcher.fillValuePacket ("missing", untouched), resultHostObjectMissing);
    EXPECT_EQ (untouched.size, 0);
    EXPECT_EQ (untouched.data, std::vector<unsigned char> (8));
}
