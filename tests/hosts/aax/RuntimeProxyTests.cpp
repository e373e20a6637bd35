#include "AAX_VAutomationDelegate.h"
#include "AAX_VController.h"
#include "AAX_VTransport.h"
#include "AAX_VViewContainer.h"
#include "ForwardingChecks.h"
#include "SubstituteHostTest.h"

using aaxtest::call;
using aaxtest::FakeObject;
using aaxtest::HostCall;
using namespace forwarding;

namespace
{
    // Distinct addresses and values, so a swapped or dropped argument shows.
    struct Scratch
    {
        int a = 0, b = 0, c = 0, d = 0;
        float rate = 0;
        std::int32_t first = 4, second = 4;
        std::int64_t wide = 0, wideB = 0, wideC = 0;
        bool flag = false;
        std::uint32_t state = 0;
        const char packet[4] {};
        const AAX_Point size { 305.0f, 620.0f };
    };

    std::vector<Forwarding> controllerOperations (AAX_IController& p, Scratch& s)
    {
        void* a = &s.a;
        void* b = &s.b;

        return {
            { "operation3", [&p, a] { return p.operation3 (a); }, call (3, a), Interface::older },
            { "hostSampleRate", [&] { return p.hostSampleRate (&s.rate); }, call (4, &s.rate), Interface::older },
            { "hostInputLayout", [&] { return p.hostInputLayout (&s.first); }, call (5, &s.first), Interface::older },
            { "hostOutputLayout", [&] { return p.hostOutputLayout (&s.second); }, call (6, &s.second), Interface::older },
            { "operation7", [&p, a] { return p.operation7 (a); }, call (7, a), Interface::older },
            { "operation8", [&p, a] { return p.operation8 (8, a); }, call (8, 8, a), Interface::older },
            { "operation9", [&p, a] { return p.operation9 (a); }, call (9, a), Interface::older },
            { "reportLatency", [&p] { return p.reportLatency (-512); }, call (10, -512), Interface::older },
            { "operation11", [&p, a, b] { return p.operation11 (a, b, 11); }, call (11, a, b, 11), Interface::older },
            { "postPacket", [&] { return p.postPacket (3, s.packet, 4); }, call (12, 3, static_cast<const void*> (s.packet), 4), Interface::older },
            { "operation20", [&p, a] { return p.operation20 (20, a, 21); }, call (20, 20, a, 21), Interface::newer },
            { "operation13", [&p, a] { return p.operation13 (13, a); }, call (13, 13, a), Interface::older },
            { "operation14", [&p, a] { return p.operation14 (14, a); }, call (14, 14, a), Interface::older },
            { "operation15", [&p] { return p.operation15 (15); }, call (15, 15), Interface::older },
            { "operation18", [&p, a] { return p.operation18 (a); }, call (18, a), Interface::older },
            { "operation16", [&p, a] { return p.operation16 (16, a); }, call (16, 16, a), Interface::older },
            { "operation17", [&p] { return p.operation17 (17); }, call (17, 17), Interface::older },
            { "operation19", [&p, a, b] { return p.operation19 (a, b); }, call (19, a, b), Interface::older },
            { "operation21", [&p, a] { return p.operation21 (a); }, call (21, a), Interface::newer },
            { "operation22", [&] { return p.operation22 (&s.wide); }, call (22, &s.wide), Interface::newer },
            { "operation23", [&p, a] { return p.operation23 (a); }, call (23, a), Interface::newer },
        };
    }

    std::vector<Forwarding> transportOperations (AAX_ITransport& p, Scratch& s)
    {
        void* a = &s.a;
        void* b = &s.b;
        void* c = &s.c;
        void* d = &s.d;

        return {
            { "tempo", [&] { return p.transportTempo (reinterpret_cast<double*> (&s.wide)); }, call (3, &s.wide), Interface::older },
            { "meter", [&] { return p.transportMeter (&s.first, &s.second); }, call (4, &s.first, &s.second), Interface::older },
            { "isPlaying", [&] { return p.transportIsPlaying (&s.flag); }, call (5, &s.flag), Interface::older },
            { "tickPosition", [&] { return p.transportTickPosition (&s.wide); }, call (6, &s.wide), Interface::older },
            { "loop", [&] { return p.transportLoop (&s.flag, &s.wideB, &s.wideC); }, call (7, &s.flag, &s.wideB, &s.wideC), Interface::older },
            { "samplePosition", [&] { return p.transportSamplePosition (&s.wideB); }, call (8, &s.wideB), Interface::older },
            { "operation9", [&p, a, b] { return p.operation9 (a, b); }, call (9, a, b), Interface::older },
            { "operation10", [&p, a, b, c, d] { return p.operation10 (a, b, c, d); }, call (10, a, b, c, d), Interface::older },
            { "operation11", [&p, a] { return p.operation11 (a); }, call (11, a), Interface::older },
            { "operation12", [&p, b] { return p.operation12 (b); }, call (12, b), Interface::older },
            { "stoppedPosition", [&] { return p.transportStoppedPosition (&s.wideC); }, call (13, &s.wideC), Interface::newer },
            { "timecode", [&] { return p.transportTimecode (&s.first, &s.wide); }, call (14, &s.first, &s.wide), Interface::newer },
            { "operation15", [&p, a, b] { return p.operation15 (a, b); }, call (15, a, b), Interface::newer },
            { "operation16", [&p, c] { return p.operation16 (c); }, call (16, c), Interface::newer },
        };
    }

    std::vector<Forwarding> delegateOperations (AAX_IAutomationDelegate& p, Scratch& s)
    {
        void* a = &s.a;

        return {
            { "attachParameter", [&p] { return p.attachParameter ("3"); }, call (3, "3"), Interface::older },
            { "detachParameter", [&p] { return p.detachParameter ("4"); }, call (4, "4"), Interface::older },
            { "requestValueChange", [&p] { return p.requestValueChange ("5", 0.25); }, call (5, "5", 0.25), Interface::older },
            { "reportValue", [&p] { return p.reportValue ("6", 0.75); }, call (6, "6", 0.75), Interface::older },
            { "beginTouch", [&p] { return p.beginTouch ("7"); }, call (7, "7"), Interface::older },
            { "endTouch", [&p] { return p.endTouch ("8"); }, call (8, "8"), Interface::older },
            { "queryParameter", [&p, a] { return p.queryParameter ("MasterBypassID", a); }, call (9, "MasterBypassID", a), Interface::older },
        };
    }

    std::vector<Forwarding> viewContainerOperations (AAX_IViewContainer& p, Scratch& s)
    {
        return {
            { "viewKind", [&p] { return p.viewKind(); }, call (3), Interface::older },
            { "nativeView", [&p] { return reinterpret_cast<std::intptr_t> (p.nativeView()); }, call (4), Interface::older },
            { "eventModifiers", [&] { return p.eventModifiers (&s.state); }, call (5, &s.state), Interface::older },
            { "setViewSize", [&] { return p.setViewSize (&s.size); }, call (6, &s.size), Interface::older },
            { "parameterMouseDown", [&p] { return p.parameterMouseDown ("0", 0x10); }, call (7, "0", 0x10), Interface::older },
            { "parameterMouseDrag", [&p] { return p.parameterMouseDrag ("1", 0x20); }, call (8, "1", 0x20), Interface::older },
            { "parameterMouseUp", [&p] { return p.parameterMouseUp ("2", 0x30); }, call (9, "2", 0x30), Interface::older },
        };
    }
}

class RuntimeProxies : public SubstituteHostTest {};

TEST_F (RuntimeProxies, ControllerReachesEverySlotOfBothInterfaces)
{
    Scratch scratch;
    AAX_VController controller (host().controllerUnknown());
    expectForwarding (controllerOperations (controller, scratch), host().controller, host().controllerNewer);
}

TEST_F (RuntimeProxies, ControllerHandsBackWhatTheHostWrites)
{
    AAX_VController controller (host().controllerUnknown());
    host().controller.setOutputs (4, { 48000.0 });
    host().controller.setOutputs (5, { 1.0 });
    host().controller.setOutputs (6, { 65538.0 });
    host().controllerNewer.setOutputs (22, { 1234567890123.0 });

    float rate = 0;
    std::int32_t input = 0, output = 0;
    std::int64_t wide = 0;

    EXPECT_EQ (controller.hostSampleRate (&rate), resultSuccess);
    EXPECT_EQ (controller.hostInputLayout (&input), resultSuccess);
    EXPECT_EQ (controller.hostOutputLayout (&output), resultSuccess);
    EXPECT_EQ (controller.operation22 (&wide), resultSuccess);

    EXPECT_EQ (rate, 48000.0f);
    EXPECT_EQ (input, 1);
    EXPECT_EQ (output, 0x00010002);
    EXPECT_EQ (wide, 1234567890123);
}

TEST_F (RuntimeProxies, ControllerWithoutTheNewerInterfaceStillPostsPackets)
{
    aaxtest::SubstituteAaxHost::Options options;
    options.controllerNewer = false;
    useHost (options);

    Scratch scratch;
    AAX_VController controller (host().controllerUnknown());
    const auto operations = controllerOperations (controller, scratch);

    std::vector<Forwarding> older;
    std::copy_if (operations.begin(), operations.end(), std::back_inserter (older),
                  [] (const Forwarding& f) { return f.interface == Interface::older; });
    expectForwarding (older, host().controller, host().controllerNewer);

    scratch.wide = 99;
    expectMissing (operations, Interface::newer, resultNotAvailable, { &host().controllerNewer });
    EXPECT_EQ (scratch.wide, 0) << "the 64-bit query stores 0 when it cannot ask";
    EXPECT_TRUE (host().controllerNewer.calls().empty());
}

TEST_F (RuntimeProxies, ProxiesOnANullUnknownAnswerTheirMissingResults)
{
    Scratch scratch;

    AAX_VController controller (nullptr);
    const auto controllerOps = controllerOperations (controller, scratch);
    scratch.wide = 99;
    expectMissing (controllerOps, Interface::older, resultHostObjectMissing, {});
    expectMissing (controllerOps, Interface::newer, resultNotAvailable, {});
    EXPECT_EQ (scratch.wide, 0);

    AAX_VTransport transport (nullptr);
    const auto transportOps = transportOperations (transport, scratch);
    expectMissing (transportOps, Interface::older, resultHostObjectMissing, {});
    expectMissing (transportOps, Interface::newer, resultNotAvailable, {});
    EXPECT_EQ (scratch.first, 4) << "a refused meter leaves the caller's 4/4";
    EXPECT_EQ (scratch.second, 4);

    AAX_VAutomationDelegate delegate (nullptr);
    expectMissing (delegateOperations (delegate, scratch), Interface::older, resultHostObjectMissing, {});

    AAX_VViewContainer view (nullptr);
    EXPECT_EQ (view.viewKind(), 0);
    EXPECT_EQ (view.nativeView(), nullptr);
    EXPECT_EQ (view.eventModifiers (&scratch.state), resultNotAvailable);
    EXPECT_EQ (view.parameterMouseDown ("0", 0), resultNotAvailable);
    EXPECT_EQ (view.parameterMouseDrag ("0", 0), resultNotAvailable);
    EXPECT_EQ (view.parameterMouseUp ("0", 0), resultNotAvailable);

    // Nothing was resized, so the size setter must not report success.
    EXPECT_EQ (view.setViewSize (&scratch.size), resultHostObjectMissing);
}

TEST_F (RuntimeProxies, TransportReachesEverySlotAndFillsThePlayHead)
{
    Scratch scratch;
    AAX_VTransport transport (host().controllerUnknown());
    expectForwarding (transportOperations (transport, scratch), host().transport, host().transportNewer);

    auto& older = host().transport;
    older.setResult (3, 0);
    older.setResult (4, 0);
    older.setResult (7, 0);
    older.setOutputs (3, { 132.5 });
    older.setOutputs (4, { 7, 8 });
    older.setOutputs (7, { 1, 960000, 3840000 });

    double tempo = 0;
    std::int32_t numerator = 4, denominator = 4;
    bool looping = false;
    std::int64_t start = 0, end = 0;

    EXPECT_EQ (transport.transportTempo (&tempo), resultSuccess);
    EXPECT_EQ (transport.transportMeter (&numerator, &denominator), resultSuccess);
    EXPECT_EQ (transport.transportLoop (&looping, &start, &end), resultSuccess);
    EXPECT_EQ (tempo, 132.5);
    EXPECT_EQ (numerator, 7);
    EXPECT_EQ (denominator, 8);
    EXPECT_TRUE (looping);
    EXPECT_EQ (start, 960000);
    EXPECT_EQ (end, 3840000);
}

TEST_F (RuntimeProxies, TransportWithoutTheNewerInterfaceAnswersNotAvailableThere)
{
    aaxtest::SubstituteAaxHost::Options options;
    options.transportNewer = false;
    useHost (options);

    Scratch scratch;
    AAX_VTransport transport (host().controllerUnknown());
    const auto operations = transportOperations (transport, scratch);
    expectMissing (operations, Interface::newer, resultNotAvailable, {});
    EXPECT_TRUE (host().transportNewer.calls().empty());

    double tempo = 0;
    EXPECT_EQ (transport.transportTempo (&tempo), resultSuccess);
}

TEST_F (RuntimeProxies, AutomationDelegateReachesEverySlot)
{
    Scratch scratch;
    AAX_VAutomationDelegate delegate (host().controllerUnknown());
    expectForwarding (delegateOperations (delegate, scratch), host().automationDelegate, host().automationDelegate);
}

TEST_F (RuntimeProxies, ViewContainerReachesEverySlot)
{
    Scratch scratch;
    AAX_VViewContainer view (host().viewContainerUnknown());
    expectForwarding (viewContainerOperations (view, scratch), host().viewContainer, host().viewContainer);

    host().viewContainer.setResult (4, 0x7f00);
    EXPECT_EQ (view.nativeView(), reinterpret_cast<void*> (0x7f00));
}

TEST_F (RuntimeProxies, NullOutPointersNeverReachTheHost)
{
    AAX_VController controller (host().controllerUnknown());
    AAX_VTransport transport (host().controllerUnknown());
    AAX_VViewContainer view (host().viewContainerUnknown());
    std::int32_t value = 0;
    std::int64_t wide = 0;
    bool flag = false;

    EXPECT_EQ (controller.hostSampleRate (nullptr), resultNullPointer);
    EXPECT_EQ (controller.hostInputLayout (nullptr), resultNullPointer);
    EXPECT_EQ (controller.hostOutputLayout (nullptr), resultNullPointer);
    EXPECT_EQ (controller.operation22 (nullptr), resultNullPointer);
    EXPECT_EQ (transport.transportTempo (nullptr), resultNullPointer);
    EXPECT_EQ (transport.transportMeter (&value, nullptr), resultNullPointer);
    EXPECT_EQ (transport.transportIsPlaying (nullptr), resultNullPointer);
    EXPECT_EQ (transport.transportTickPosition (nullptr), resultNullPointer);
    EXPECT_EQ (transport.transportLoop (&flag, &wide, nullptr), resultNullPointer);
    EXPECT_EQ (transport.transportSamplePosition (nullptr), resultNullPointer);
    EXPECT_EQ (transport.transportStoppedPosition (nullptr), resultNullPointer);
    EXPECT_EQ (transport.transportTimecode (nullptr, &wide), resultNullPointer);
    EXPECT_EQ (view.eventModifiers (nullptr), resultNullPointer);
    EXPECT_EQ (view.setViewSize (nullptr), resultNullPointer);

    for (auto* object : { &host().controller, &host().controllerNewer, &host().transport, &host().transportNewer,
                          &host().viewContainer })
        EXPECT_TRUE (object->operationCalls().empty()) << object->name();

    AAX_VController withoutNewer (nullptr);
    EXPECT_EQ (withoutNewer.operation22 (nullptr), resultNotAvailable);
}

TEST_F (RuntimeProxies, DestroyingAProxyReleasesTheNewerInterfaceFirst)
{
    {
        AAX_VController controller (host().controllerUnknown());
        AAX_VTransport transport (host().controllerUnknown());
        AAX_VAutomationDelegate delegate (host().controllerUnknown());
        AAX_VViewContainer view (host().viewContainerUnknown());

        EXPECT_EQ (host().controller.references(), 1);
        EXPECT_EQ (host().controllerNewer.references(), 1);
        EXPECT_EQ (host().transport.references(), 1);
        EXPECT_EQ (host().transportNewer.references(), 1);
        EXPECT_EQ (host().automationDelegate.references(), 1);
        EXPECT_EQ (host().viewContainer.references(), 1);
        EXPECT_EQ (host().runtimeUnknown.references(), 0) << "the unknown is asked, not kept";
    }

    EXPECT_LT (host().controllerNewer.lastRelease()->sequence, host().controller.lastRelease()->sequence);
    EXPECT_LT (host().transportNewer.lastRelease()->sequence, host().transport.lastRelease()->sequence);
}
