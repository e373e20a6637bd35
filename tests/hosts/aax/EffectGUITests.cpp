#include "AAX_CEffectGUI.h"
#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_VViewContainer.h"
#include "SlotCall.h"
#include "SubstituteHostTest.h"

#include <string>
#include <vector>

namespace
{
    /** Records what the base asks of its subclass, and what it could see at that moment. */
    class RecordingGui final : public AAX_CEffectGUI
    {
    public:
        ResultCode parameterUpdated (const char* id) override
        {
            log.push_back (std::string ("updated ") + id);
            return resultSuccess;
        }

        std::vector<std::string> log;

    protected:
        void createViewContents() override      { log.push_back ("contents"); }

        void createViewContainer() override
        {
            log.push_back ("attach kind " + std::to_string (guiHostViewKind())
                           + (guiHostView() != nullptr ? " with view" : " without view"));
        }

        void deleteViewContainer() override
        {
            log.push_back (guiViewContainer() == nullptr ? "detach" : "detach while the old container is held");
        }
    };

    class ThreeParameters final : public AAX_CEffectParameters
    {
    public:
        ResultCode initializeEffect() override
        {
            for (const auto* id : { "a", "b", "c" })
                parameterManager.addParameter (std::make_unique<AAX_CParameter<float>> (
                    id, AAX_CString (id), 0.0f, AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                    AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true));

            return resultSuccess;
        }
    };

    /** The unknown a host hands a GUI: its controller objects, and the instance's effect parameters. */
    class ControllerWithEffect final : public IACFUnknown
    {
    public:
        ControllerWithEffect (IACFUnknown& hostControllerUnknown, IACFUnknown& effectToUse)
            : controllerUnknown (hostControllerUnknown), effect (effectToUse) {}

        ResultCode queryInterface (const InterfaceId& id, void** out) override
        {
            return id == kEffectParametersInterfaceId ? effect.queryInterface (id, out)
                                                      : controllerUnknown.queryInterface (id, out);
        }

        std::uint32_t addRef() override     { return 1; }
        std::uint32_t release() override    { return 1; }

    private:
        IACFUnknown& controllerUnknown;
        IACFUnknown& effect;
    };

    template <typename Face>
    Face* takeFace (CACFUnknown& component, const InterfaceId& id)
    {
        void* face = nullptr;
        component.getOuterUnknown()->queryInterface (id, &face);
        return static_cast<Face*> (face);
    }
}

class EffectGui : public SubstituteHostTest
{
protected:
    void SetUp() override
    {
        effect = takeFace<AAX_IACFEffectParameters> (*effectObject, kEffectParametersInterfaceId);
        effect->initialize (host().controllerUnknown());
        gui = takeFace<AAX_IACFEffectGUI> (*guiObject, kEffectGUIInterfaceId);
    }

    void TearDown() override
    {
        gui->release();
        effect->uninitialize();
        effect->release();
        SubstituteHostTest::TearDown();
    }

    /** The references the effect parameters hold besides the test's own one. */
    std::uint32_t extraEffectReferences()
    {
        effect->addRef();
        return effect->release() - 1;
    }

    RecordingGui* guiObject = new RecordingGui();
    ThreeParameters* effectObject = new ThreeParameters();
    AAX_IACFEffectGUI* gui = nullptr;
    AAX_IACFEffectParameters* effect = nullptr;
    ControllerWithEffect controller { *host().controllerUnknown(), *effectObject->getOuterUnknown() };
};

TEST_F (EffectGui, ANullControllerIsRefusedAndItsProxyStillFreed)
{
    EXPECT_EQ (gui->initialize (nullptr), resultNotInitialized);
    EXPECT_TRUE (guiObject->log.empty());
    EXPECT_EQ (gui->uninitialize(), resultSuccess);
}

TEST_F (EffectGui, AContainerAttachesTheViewThenReportsEveryParameterInOrder)
{
    host().viewContainer.setResult (3, 1);
    host().viewContainer.setResult (4, 0x1234);

    ASSERT_EQ (gui->initialize (&controller), resultSuccess);
    EXPECT_EQ (extraEffectReferences(), 1u);
    ASSERT_EQ (gui->setViewContainer (host().viewContainerUnknown()), resultSuccess);
    ASSERT_EQ (gui->setViewContainer (nullptr), resultSuccess);

    EXPECT_EQ (guiObject->log, (std::vector<std::string> {
        "contents", "attach kind 1 with view", "updated a", "updated b", "updated c", "detach" }));
    EXPECT_EQ (gui->uninitialize(), resultSuccess);
    EXPECT_EQ (extraEffectReferences(), 0u);
}

TEST_F (EffectGui, ASecondContainerIsTakenOnlyAfterTheViewLeftTheFirst)
{
    ASSERT_EQ (gui->initialize (&controller), resultSuccess);
    ASSERT_EQ (gui->setViewContainer (host().viewContainerUnknown()), resultSuccess);
    ASSERT_EQ (gui->setViewContainer (host().viewContainerUnknown()), resultSuccess);

    EXPECT_EQ (guiObject->log, (std::vector<std::string> {
        "contents", "attach kind 0 without view", "updated a", "updated b", "updated c",
        "detach", "attach kind 0 without view", "updated a", "updated b", "updated c" }));
    EXPECT_EQ (host().viewContainer.references(), 1);
}

TEST_F (EffectGui, ASecondInitialisationGivesBackWhatTheFirstTook)
{
    ASSERT_EQ (gui->initialize (&controller), resultSuccess);
    ASSERT_EQ (gui->setViewContainer (host().viewContainerUnknown()), resultSuccess);
    const auto controllerReferences = host().controller.references();

    ASSERT_EQ (gui->initialize (&controller), resultSuccess);
    EXPECT_EQ (extraEffectReferences(), 1u);
    EXPECT_EQ (host().controller.references(), controllerReferences);
    EXPECT_EQ (host().viewContainer.references(), 0);
    EXPECT_EQ (guiObject->log.back(), "contents");
    EXPECT_EQ (guiObject->log[guiObject->log.size() - 2], "detach");
}

TEST_F (EffectGui, AGuiReleasedWithoutUninitialisingFreesEverything)
{
    ASSERT_EQ (gui->initialize (&controller), resultSuccess);
    ASSERT_EQ (gui->setViewContainer (host().viewContainerUnknown()), resultSuccess);
    gui->addRef();
    EXPECT_EQ (gui->release(), 1u);
    // The fixture's release deletes it; the host objects must balance afterwards.
}

TEST_F (EffectGui, AnswersItsOwnInterfaceAndTheFixedDefaults)
{
    void* face = nullptr;
    ASSERT_EQ (gui->queryInterface (kEffectGUIInterfaceId, &face), resultSuccess);
    EXPECT_EQ (face, gui);
    EXPECT_EQ (gui->release(), 1u);
    ASSERT_EQ (gui->queryInterface (kUnknownInterfaceId, &face), resultSuccess);
    static_cast<IACFUnknown*> (face)->release();
    EXPECT_EQ (gui->queryInterface (kEffectParametersInterfaceId, &face), resultNoInterface);

    AAX_Point size { 1.0f, 2.0f };
    EXPECT_EQ (gui->viewSize (&size), resultSuccess);
    EXPECT_EQ (size.vertical, 1.0f);
    EXPECT_EQ (gui->reservedOperation7 (nullptr), resultSuccess);
    EXPECT_EQ (gui->reservedOperation8 (nullptr), resultSuccess);
    EXPECT_EQ (gui->reservedOperation10 (nullptr), resultHostObjectMissing);
    EXPECT_EQ (gui->highlightParameter ("a", true, 0), resultSuccess);
}

TEST_F (EffectGui, AHostFindsTheQueryRightAfterTheInterfaceAndTheSubclassHooksAfterTheDestructors)
{
    using aaxtest::callSlot;
    ASSERT_EQ (gui->initialize (&controller), resultSuccess);
    const auto liveObjects = CACFUnknown::getLiveObjectCount();

    // Slot 12 answers the query and leaves the GUI alive: it must not be one of the destructors.
    void* face = nullptr;
    EXPECT_EQ (callSlot<ResultCode> (gui, 12, &kEffectGUIInterfaceId, &face), resultSuccess);
    EXPECT_EQ (face, gui);
    EXPECT_EQ (CACFUnknown::getLiveObjectCount(), liveObjects);
    EXPECT_EQ (gui->release(), 1u);

    // The two destructors take slots 13 and 14; the subclass's hooks and the update follow them.
    callSlot<void> (gui, 15);
    callSlot<void> (gui, 18);
    EXPECT_EQ (guiObject->log, (std::vector<std::string> {
        "contents", "contents", "updated a", "updated b", "updated c" }));
}
