#include "CACFUnknown.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace
{
    constexpr InterfaceId testInterfaceId { 0x12345678, 0x9abc, 0xdef0, { 1, 2, 3, 4, 5, 6, 7, 8 } };

    class ITestComponent : public IACFUnknown
    {
    public:
        virtual int answer() = 0;

    protected:
        ~ITestComponent() = default;
    };

    // A component laid out as the plug-in's own are: its ACF interface first, the base second.
    class TestComponent final : public ITestComponent, public CACFUnknown
    {
    public:
        explicit TestComponent (std::atomic<int>& deletionsToCount)  : deletions (deletionsToCount) {}
        ~TestComponent() override     { ++deletions; }

        ResultCode queryInterface (const InterfaceId& id, void** out) override  { return getOuterUnknown()->queryInterface (id, out); }
        std::uint32_t addRef() override                                         { return getOuterUnknown()->addRef(); }
        std::uint32_t release() override                                        { return getOuterUnknown()->release(); }

        int answer() override   { return 42; }

        ResultCode queryInternal (const InterfaceId& id, void** out) override
        {
            if (out != nullptr && id == testInterfaceId)
            {
                *out = static_cast<ITestComponent*> (this);
                addRef();
                return resultSuccess;
            }

            return CACFUnknown::queryInternal (id, out);
        }

        void finalRelease() override    { ++finalReleases; }

        int finalReleases = 0;

    private:
        std::atomic<int>& deletions;
    };
}

TEST (ComponentBase, ReferencesCountThroughEveryInterfaceAndTheLastReleaseDeletes)
{
    std::atomic<int> deletions { 0 };
    const auto liveBefore = CACFUnknown::getLiveObjectCount();

    auto* component = new TestComponent (deletions);
    EXPECT_EQ (CACFUnknown::getLiveObjectCount(), liveBefore + 1);

    EXPECT_EQ (component->addRef(), 1u);
    EXPECT_EQ (component->addRef(), 2u);
    EXPECT_EQ (component->release(), 1u);
    EXPECT_EQ (component->addRef(), 2u);

    IACFUnknown* privateUnknown = component->getOuterUnknown();
    EXPECT_EQ (privateUnknown->addRef(), 3u);
    EXPECT_EQ (privateUnknown->release(), 2u);

    EXPECT_EQ (component->release(), 1u);
    EXPECT_EQ (deletions, 0);
    EXPECT_EQ (component->release(), 0u);
    EXPECT_EQ (deletions, 1);
    EXPECT_EQ (CACFUnknown::getLiveObjectCount(), liveBefore);
}

TEST (ComponentBase, QueryAnswersTheUnknownWithThePrivateUnknownAndRefusesOthers)
{
    std::atomic<int> deletions { 0 };
    auto* component = new TestComponent (deletions);
    component->addRef();

    void* out = reinterpret_cast<void*> (0x1);
    EXPECT_EQ (component->queryInterface (kUnknownInterfaceId, &out), resultSuccess);
    EXPECT_EQ (out, static_cast<void*> (component->getOuterUnknown()));
    EXPECT_NE (out, static_cast<void*> (static_cast<ITestComponent*> (component)));

    // The answer holds a reference of its own, which it gives back through itself.
    EXPECT_EQ (static_cast<IACFUnknown*> (out)->release(), 1u);

    out = reinterpret_cast<void*> (0x1);
    EXPECT_EQ (component->queryInterface (testInterfaceId, &out), resultSuccess);
    EXPECT_EQ (out, static_cast<void*> (static_cast<ITestComponent*> (component)));
    EXPECT_EQ (static_cast<ITestComponent*> (out)->answer(), 42);
    EXPECT_EQ (static_cast<ITestComponent*> (out)->release(), 1u);

    out = reinterpret_cast<void*> (0x1);
    EXPECT_EQ (component->queryInterface (kControllerInterfaceId, &out), resultNoInterface);
    EXPECT_EQ (out, nullptr);

    // Without somewhere to write the answer the query fails and takes no reference.
    EXPECT_EQ (component->queryInterface (kUnknownInterfaceId, nullptr), resultNullPointer);
    EXPECT_EQ (component->addRef(), 2u);
    component->release();

    EXPECT_EQ (component->finishConstruction(), resultSuccess);
    EXPECT_EQ (component->finalReleases, 0);
    component->release();
    EXPECT_EQ (deletions, 1);
}

TEST (ComponentBase, TwoReleasesRacingOnACountOfTwoDeleteExactlyOnce)
{
    std::atomic<int> deletions { 0 };
    constexpr int rounds = 2000;

    for (int round = 0; round < rounds; ++round)
    {
        auto* component = new TestComponent (deletions);
        component->addRef();
        component->addRef();

        std::atomic<int> ready { 0 };
        std::uint32_t results[2] {};

        auto releaser = [&] (int index)
        {
            ++ready;
            while (ready.load() < 2) {}
            results[index] = component->release();
        };

        std::thread first (releaser, 0), second (releaser, 1);
        first.join();
        second.join();

        EXPECT_EQ (results[0] + results[1], 1u) << "round " << round;
    }

    EXPECT_EQ (deletions, rounds);
    EXPECT_EQ (CACFUnknown::getLiveObjectCount(), 0);
}

TEST (ComponentBase, LiveObjectCountStaysExactUnderConcurrentCreation)
{
    std::atomic<int> deletions { 0 };
    constexpr int perThread = 5000;

    auto churn = [&]
    {
        for (int i = 0; i < perThread; ++i)
        {
            auto* component = new TestComponent (deletions);
            component->addRef();
            component->release();
        }
    };

    std::thread a (churn), b (churn), c (churn);
    a.join();
    b.join();
    c.join();

    EXPECT_EQ (deletions, 3 * perThread);
    EXPECT_EQ (CACFUnknown::getLiveObjectCount(), 0);
}
