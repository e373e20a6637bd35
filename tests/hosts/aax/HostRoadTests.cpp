#include "ChunkRecordBuffer.h"
#include "SubstituteAaxHost.h"
#include "TestEffect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using aaxtest::call;
using aaxtest::HostCall;

namespace
{
constexpr int attachSlot = 3, requestSlot = 5, reportSlot = 6, beginSlot = 7, endSlot = 8;
constexpr int postPacketSlot = 12;

using Packets = std::vector<std::pair<uint32_t, std::vector<unsigned char>>>;

/** The packets the controller was asked to post, as (port, the bytes posted). */
Packets postedPackets (const aaxtest::FakeObject& controller)
{
    Packets packets;

    for (const auto& c : controller.operationCalls())
    {
        if (c.position != postPacketSlot)
            continue;

        // The host object records the data address as text; the buffer belongs to the effect, which is
        // still alive, so the posted bytes can be read back through it.
        unsigned port = 0, size = 0;
        void* data = nullptr;
        EXPECT_EQ (std::sscanf (c.arguments.c_str(), "%u, %p, %u", &port, &data, &size), 3) << c.arguments;
        const auto* bytes = static_cast<const unsigned char*> (data);
        packets.emplace_back (port, std::vector<unsigned char> (bytes, bytes + size));
    }

    return packets;
}

std::vector<unsigned char> int32Bytes (int32_t value)
{
    std::vector<unsigned char> bytes (4);
    std::memcpy (bytes.data(), &value, 4);
    return bytes;
}

class HostRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        effect = std::make_unique<TestEffect>();
        ASSERT_EQ (effect->initialize (host.controllerUnknown()), resultSuccess);
        host.automationDelegate.clearCalls();
        host.controller.clearCalls();
    }

    void TearDown() override
    {
        effect.reset();
        EXPECT_EQ (host.unbalancedReferences(), "");
    }

    aaxtest::SubstituteAaxHost host;
    std::unique_ptr<TestEffect> effect;
};
} // namespace

TEST_F (HostRoad, InitialisingAttachesEveryParameterAndExcludesTheBypassFromTheChunk)
{
    TestEffect fresh;
    host.automationDelegate.clearCalls();
    ASSERT_EQ (fresh.initialize (host.controllerUnknown()), resultSuccess);

    const auto calls = host.automationDelegate.operationCalls();
    ASSERT_EQ (calls.size(), 10u);
    EXPECT_EQ (calls.front(), call (attachSlot, "MasterBypassID"));
    EXPECT_EQ (calls.back(), call (attachSlot, "8"));
    EXPECT_EQ (fresh.excludedIds(), (std::set<std::string> { "MasterBypassID" }));
    EXPECT_NE (fresh.hostController(), nullptr);
    EXPECT_NE (fresh.hostTransport(), nullptr);
}

TEST_F (HostRoad, ARequestGoesToTheHostAndIsAppliedOnlyWhenTheHostAnswers)
{
    EXPECT_EQ (effect->setNormalizedParameterValue ("1", 0.5), resultSuccess);
    EXPECT_EQ (effect->value ("1"), 0.1f);
    EXPECT_EQ (host.automationDelegate.operationCalls(),
               (std::vector<HostCall> { call (beginSlot, "1"), call (requestSlot, "1", 0.5), call (endSlot, "1") }));

    host.automationDelegate.clearCalls();
    EXPECT_EQ (effect->applyNormalizedParameterValue ("1", 0.5, 0), resultSuccess);
    EXPECT_EQ (effect->value ("1"), 0.5f);
    EXPECT_EQ (host.automationDelegate.operationCalls(), (std::vector<HostCall> { call (reportSlot, "1", 0.5) }));

    host.automationDelegate.clearCalls();
    EXPECT_EQ (effect->touchParameter ("2"), resultSuccess);
    EXPECT_EQ (effect->releaseParameter ("2"), resultSuccess);
    EXPECT_EQ (host.automationDelegate.operationCalls(),
               (std::vector<HostCall> { call (beginSlot, "2"), call (endSlot, "2") }));
}

TEST_F (HostRoad, RestoringAChunkRequestsEveryValueFromTheHost)
{
    effect->applyNormalizedParameterValue ("6", 0.75, 0);
    uint32_t size = 0;
    effect->stateChunkSize (kControlsChunkId, &size);
    ChunkRecordBuffer chunk (size);
    ASSERT_EQ (effect->saveStateChunk (kControlsChunkId, chunk.record()), resultSuccess);

    effect->applyNormalizedParameterValue ("6", 0.0, 0);
    host.automationDelegate.clearCalls();
    ASSERT_EQ (effect->loadStateChunk (kControlsChunkId, chunk.record()), resultSuccess);

    const auto calls = host.automationDelegate.operationCalls();
    ASSERT_EQ (calls.size(), 27u); // begin, request and end for each of the nine
    EXPECT_EQ (calls[19], call (requestSlot, "6", 0.75));
    EXPECT_EQ (effect->value ("6"), 0.0f);
}

TEST_F (HostRoad, AnAppliedBypassIsPostedAsAFourBytePacketOnPortThree)
{
    // A new registration is dirty: the first dispatch sends the current state.
    EXPECT_EQ (effect->postDirtyPackets(), resultSuccess);
    EXPECT_EQ (postedPackets (host.controller), (Packets { { 3u, int32Bytes (0) } }));

    host.controller.clearCalls();
    EXPECT_EQ (effect->postDirtyPackets(), resultSuccess);
    EXPECT_TRUE (postedPackets (host.controller).empty());

    effect->setNormalizedParameterValue (kMasterBypassId, 1.0);
    EXPECT_FALSE (effect->isBypassed());
    EXPECT_EQ (effect->applyNormalizedParameterValue (kMasterBypassId, 1.0, 0), resultSuccess);
    EXPECT_TRUE (effect->isBypassed());

    EXPECT_EQ (effect->postDirtyPackets(), resultSuccess);
    EXPECT_EQ (postedPackets (host.controller), (Packets { { 3u, int32Bytes (1) } }));

    // A change to a parameter without a packet sends nothing.
    host.controller.clearCalls();
    effect->applyNormalizedParameterValue ("3", 0.5, 0);
    effect->postDirtyPackets();
    EXPECT_TRUE (postedPackets (host.controller).empty());
}

TEST_F (HostRoad, APacketTheHostRefusesIsSentAgainLater)
{
    effect->postDirtyPackets();
    effect->applyNormalizedParameterValue (kMasterBypassId, 1.0, 0);

    host.controller.setResult (postPacketSlot, -5);
    EXPECT_EQ (effect->postDirtyPackets(), -5);

    host.controller.setResult (postPacketSlot, 0);
    host.controller.clearCalls();
    EXPECT_EQ (effect->postDirtyPackets(), resultSuccess);
    EXPECT_EQ (postedPackets (host.controller), (Packets { { 3u, int32Bytes (1) } }));
}

TEST_F (HostRoad, AfterUninitialiseNothingReachesTheDeletedProxies)
{
    effect->applyNormalizedParameterValue (kMasterBypassId, 1.0, 0);
    ASSERT_EQ (effect->uninitialize(), resultSuccess);
    EXPECT_EQ (host.unbalancedReferences(), "");

    host.controller.clearCalls();
    host.automationDelegate.clearCalls();
    EXPECT_EQ (effect->postDirtyPackets(), resultSuccess);
    EXPECT_EQ (effect->applyNormalizedParameterValue (kMasterBypassId, 0.0, 0), resultUnknownParameter);

    // A parameter added now has no delegate to attach to, so it applies its requests itself.
    effect->addParameter (std::make_unique<AAX_CParameter<float>> ("late", AAX_CString ("Late"), 0.0f,
                                                                   AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                                   AAX_CNumberDisplayDelegate<float, 3, 0>(), true));
    effect->setNormalizedParameterValue ("late", 0.25);
    EXPECT_EQ (effect->value ("late"), 0.25f);

    EXPECT_TRUE (host.controller.operationCalls().empty());
    EXPECT_TRUE (host.automationDelegate.operationCalls().empty());
}

TEST_F (HostRoad, InitialisingAgainStartsOverWithoutLeaksOrDoubleRegistrations)
{
    ASSERT_EQ (effect->initialize (host.controllerUnknown()), resultSuccess);
    EXPECT_EQ (effect->numEffectInitialisations, 2);
    EXPECT_EQ (host.controller.references(), 1);
    EXPECT_EQ (host.automationDelegate.references(), 1);

    int32_t count = 0;
    effect->parameterCount (&count);
    EXPECT_EQ (count, 10);

    host.controller.clearCalls();
    effect->postDirtyPackets();
    EXPECT_EQ (postedPackets (host.controller).size(), 1u);

    // Initialise, uninitialise, initialise: the same again.
    effect->uninitialize();
    ASSERT_EQ (effect->initialize (host.controllerUnknown()), resultSuccess);
    host.controller.clearCalls();
    effect->postDirtyPackets();
    EXPECT_EQ (postedPackets (host.controller).size(), 1u);
}

TEST_F (HostRoad, AFailingEffectSetUpIsReportedAndItsProxiesStillReleased)
{
    TestEffect failing;
    failing.initialisationResult = -42;
    EXPECT_EQ (failing.initialize (host.controllerUnknown()), -42);
    EXPECT_TRUE (failing.excludedIds().empty());
    // The destructor, with no uninitialise, gives every reference back (checked at tear-down).
}
