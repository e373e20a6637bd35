#include "TestEffect.h"
#include "SlotCall.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace
{
const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

std::string shortName (TestEffect& effect, const char* id, int32_t maxChars)
{
    AAX_CString out ("untouched");
    EXPECT_EQ (effect.parameterShortName (id, &out, maxChars), resultSuccess);
    return out.cText();
}
} // namespace

TEST (EffectParameters, BeforeSetUpEveryParameterIsUnknown)
{
    TestEffect effect;
    int32_t count = -1;
    double value = 0.0;
    AAX_CString text ("x");

    EXPECT_EQ (effect.parameterCount (&count), resultSuccess);
    EXPECT_EQ (count, 0);
    EXPECT_EQ (effect.normalizedParameterValue ("0", &value), resultUnknownParameter);
    EXPECT_EQ (effect.setNormalizedParameterValue ("0", 0.5), resultUnknownParameter);
    EXPECT_EQ (effect.touchParameter ("0"), resultUnknownParameter);
    EXPECT_EQ (effect.parameterDisplayName ("0", &text), resultSuccess);
    EXPECT_STREQ (text.cText(), "");
    EXPECT_EQ (effect.masterBypassParameterId (&text), resultSuccess);
    EXPECT_STREQ (text.cText(), "");
}

TEST (EffectParameters, AnswersByIdentifierAndByIndexInTheOrderOfAdding)
{
    TestEffect effect;
    effect.setUpWithoutHost();

    int32_t n = -1;
    AAX_CString text;
    effect.parameterCount (&n);
    EXPECT_EQ (n, 10);
    effect.masterBypassParameterId (&text);
    EXPECT_STREQ (text.cText(), "MasterBypassID");

    EXPECT_EQ (effect.parameterIndexOf ("MasterBypassID", &n), resultSuccess);
    EXPECT_EQ (n, 0);
    EXPECT_EQ (effect.parameterIndexOf ("0", &n), resultSuccess);
    EXPECT_EQ (n, 1);
    EXPECT_EQ (effect.parameterIndexOf ("9", &n), resultUnknownParameter);
    EXPECT_EQ (n, -1);

    EXPECT_EQ (effect.parameterIdAt (3, &text), resultSuccess);
    EXPECT_STREQ (text.cText(), "2");
    for (const auto index : { 10, -1 })
    {
        EXPECT_EQ (effect.parameterIdAt (index, &text), resultUnknownParameter);
        EXPECT_STREQ (text.cText(), "");
    }

    AAX_IParameter* parameter = nullptr;
    EXPECT_EQ (effect.parameterById ("4", &parameter), resultSuccess);
    EXPECT_EQ (parameter, effect.parameter ("4"));
    EXPECT_EQ (effect.parameterById ("x", &parameter), resultUnknownParameter);
    EXPECT_EQ (parameter, nullptr);

    EXPECT_EQ (effect.parameterDisplayName ("4", &text), resultSuccess);
    EXPECT_STREQ (text.cText(), "Parameter 4");

    bool automatable = false;
    EXPECT_EQ (effect.isParameterAutomatable ("1", &automatable), resultSuccess);
    EXPECT_TRUE (automatable);
    EXPECT_EQ (effect.isParameterAutomatable ("nope", &automatable), resultUnknownParameter);
    EXPECT_FALSE (automatable);

    EXPECT_EQ (effect.parameterIntegerQuery ("1", 0, &n), resultNotAvailable);
    EXPECT_EQ (n, 0);
}

TEST (EffectParameters, AStepCountBeyondTheSignedRangeIsReported)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    effect.parameter ("1")->setStepCount (0x80000000u);

    int32_t steps = 5;
    EXPECT_EQ (effect.parameterStepCount ("1", &steps), resultStepCountOverflow);
    EXPECT_EQ (steps, 5);
}

TEST (EffectParameters, ShortNamesTakeTheLongestLineThatFits)
{
    TestEffect effect;
    effect.setUpWithoutHost();

    auto* parameter = effect.parameter ("1");
    parameter->setDisplayName (AAX_CString ("Feedback1")); // 9 characters
    parameter->clearShortNames();
    parameter->addShortName (AAX_CString ("Fdbk"));

    EXPECT_EQ (shortName (effect, "1", 31), "Feedback1");
    EXPECT_EQ (shortName (effect, "1", 4), "Fdbk");
    EXPECT_EQ (shortName (effect, "1", 6), "Fdbk");
    EXPECT_EQ (shortName (effect, "1", 2), "Fd");
    EXPECT_EQ (shortName (effect, "1", 0), "");
    EXPECT_EQ (shortName (effect, "unknown", 8), "");

    parameter->setDisplayName (AAX_CString ("A display name of 25 long"));
    parameter->clearShortNames();
    parameter->addShortName (AAX_CString ("0123456789\nabcde"));
    EXPECT_EQ (shortName (effect, "1", 5), "abcde");
    EXPECT_EQ (shortName (effect, "1", 20), "0123456789");

    EXPECT_EQ (effect.parameterShortName ("1", nullptr, 5), resultConversionFailed);
}

TEST (EffectParameters, ConvertsBetweenTextAndValues)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    double normalized = -1.0;
    AAX_CString text ("untouched");

    EXPECT_EQ (effect.valueFromParameterText ("2", &normalized, AAX_CString ("0.25")), resultSuccess);
    EXPECT_EQ (normalized, 0.25);
    normalized = -1.0;
    EXPECT_EQ (effect.valueFromParameterText ("2", &normalized, AAX_CString ("loud")), resultConversionFailed);
    EXPECT_EQ (effect.valueFromParameterText ("2", &normalized, AAX_CString ("2.5")), resultConversionFailed);
    EXPECT_EQ (effect.valueFromParameterText ("x", &normalized, AAX_CString ("0.25")), resultUnknownParameter);

    EXPECT_EQ (effect.parameterTextFromValue ("2", notANumber, &text, 8), resultConversionFailed);
    EXPECT_STREQ (text.cText(), "untouched");
    EXPECT_EQ (effect.parameterTextFromValue ("2", 0.125, &text, 4), resultSuccess);
    EXPECT_STREQ (text.cText(), "0.12");
    EXPECT_EQ (effect.parameterTextFromValue (kMasterBypassId, 1.0, &text, 8), resultSuccess);
    EXPECT_STREQ (text.cText(), "on");

    EXPECT_EQ (effect.parameterValueText ("5", &text, 16), resultSuccess);
    EXPECT_STREQ (text.cText(), "0.500");
}

TEST (EffectParameters, DeltasAreLimitedToTheNormalizedRange)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    effect.setValue ("1", 0.9f);

    EXPECT_EQ (effect.addToNormalizedParameterValue ("1", 0.3), resultSuccess);
    EXPECT_EQ (effect.value ("1"), 1.0f);
    EXPECT_EQ (effect.addToNormalizedParameterValue ("1", -2.0), resultSuccess);
    EXPECT_EQ (effect.value ("1"), 0.0f);

    EXPECT_EQ (effect.applyNormalizedParameterDelta ("1", 0.25), resultSuccess);
    EXPECT_EQ (effect.value ("1"), 0.25f);
    EXPECT_EQ (effect.addToNormalizedParameterValue ("9", 0.1), resultUnknownParameter);
}

TEST (EffectParameters, NonFiniteValuesAreRefusedAndNotCounted)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    effect.setValue ("1", 0.5f);

    for (const auto bad : { notANumber, infinity, -infinity })
    {
        EXPECT_EQ (effect.setNormalizedParameterValue ("1", bad), resultConversionFailed);
        EXPECT_EQ (effect.applyNormalizedParameterValue ("1", bad, 0), resultConversionFailed);
        EXPECT_EQ (effect.addToNormalizedParameterValue ("1", bad), resultConversionFailed);
        EXPECT_EQ (effect.applyNormalizedParameterDelta ("1", bad), resultConversionFailed);
        EXPECT_EQ (effect.setNormalizedParameterDefault ("1", bad), resultConversionFailed);
    }

    int32_t count = -1;
    effect.changeCount (&count);
    EXPECT_EQ (count, 0);
    EXPECT_EQ (effect.value ("1"), 0.5f);

    double normalizedDefault = 0;
    effect.normalizedParameterDefault ("1", &normalizedDefault);
    EXPECT_EQ (normalizedDefault, static_cast<double> (0.1f));
}

TEST (EffectParameters, CountsAppliedChangesAndWrapsRoundWithoutGoingNegative)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    int32_t count = -1;

    for (int i = 0; i < 3; ++i)
        EXPECT_EQ (effect.applyNormalizedParameterValue ("2", 0.1 * i, 0), resultSuccess);

    EXPECT_EQ (effect.applyNormalizedParameterValue ("nope", 0.5, 0), resultUnknownParameter);
    effect.changeCount (&count);
    EXPECT_EQ (count, 3);

    effect.setChangeCounter (0x7fffffffu);
    effect.applyNormalizedParameterValue ("2", 0.5, 0);
    effect.changeCount (&count);
    EXPECT_EQ (count, 0);

    effect.setChangeCounter (0xffffffffu);
    effect.applyNormalizedParameterValue ("2", 0.5, 0);
    effect.applyNormalizedParameterValue ("2", 0.5, 0);
    effect.changeCount (&count);
    EXPECT_EQ (count, 1);
}

TEST (EffectParameters, HostDataIsCheckedBeforeItIsTouched)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    effect.addParameter (std::make_unique<AAX_CParameter<bool>> (kPreviewId, AAX_CString ("Preview"), false,
                                                                 AAX_CBinaryTaperDelegate<bool>(),
                                                                 AAX_CBinaryDisplayDelegate<bool> ("off", "on"), false));
    constexpr uint32_t preview = 0x41535076;
    const auto previewing = [&effect]
    {
        bool b = false;
        effect.parameter (kPreviewId)->getBool (&b);
        return b;
    };

    const int32_t on = 1;
    const int16_t shortFlag = 1;
    EXPECT_EQ (effect.handleHostNotification (preview, nullptr, 4), resultSuccess);
    EXPECT_EQ (effect.handleHostNotification (preview, &shortFlag, sizeof (shortFlag)), resultSuccess);
    EXPECT_FALSE (previewing());
    EXPECT_EQ (effect.handleHostNotification (0x12345678, &on, sizeof (on)), resultSuccess);
    EXPECT_FALSE (previewing());
    EXPECT_EQ (effect.handleHostNotification (preview, &on, sizeof (on)), resultSuccess);
    EXPECT_TRUE (previewing());

    unsigned char field[8];
    std::memset (field, 0xAB, sizeof (field));
    EXPECT_EQ (effect.fillFieldData (5, field, sizeof (field)), resultSuccess);
    for (const auto byte : field)
        EXPECT_EQ (byte, 0);

    EXPECT_EQ (effect.fillFieldData (5, nullptr, 8), resultHostObjectMissing);
    EXPECT_EQ (effect.fillFieldData (5, nullptr, 0), resultSuccess);
}

TEST (EffectParameters, AnswersBothInterfacesWithItselfAndCountsTheReferences)
{
    auto* effect = new TestEffect();
    const auto liveBefore = CACFUnknown::getLiveObjectCount();

    void* out = nullptr;
    ASSERT_EQ (effect->queryInterface (kEffectParametersV2InterfaceId, &out), resultSuccess);
    EXPECT_EQ (out, static_cast<AAX_IACFEffectParameters_V2*> (effect));
    ASSERT_EQ (effect->queryInterface (kEffectParametersInterfaceId, &out), resultSuccess);
    EXPECT_EQ (out, static_cast<AAX_IACFEffectParameters*> (effect));

    ASSERT_EQ (effect->queryInterface (kUnknownInterfaceId, &out), resultSuccess);
    EXPECT_NE (out, static_cast<void*> (static_cast<AAX_IACFEffectParameters*> (effect)));

    EXPECT_EQ (effect->queryInterface (kEffectGUIInterfaceId, &out), resultNoInterface);
    EXPECT_EQ (out, nullptr);

    EXPECT_EQ (effect->release(), 2u);
    EXPECT_EQ (effect->release(), 1u);
    EXPECT_EQ (CACFUnknown::getLiveObjectCount(), liveBefore);
    EXPECT_EQ (effect->release(), 0u); // deletes the effect
    EXPECT_EQ (CACFUnknown::getLiveObjectCount(), liveBefore - 1);
}

TEST (EffectParameters, AHostFindsTheQueryRightAfterTheSecondVersionAndTheEffectsHookAfterTheDestructors)
{
    using aaxtest::callSlot;
    auto* effect = new TestEffect();
    void* face = static_cast<AAX_IACFEffectParameters_V2*> (effect);
    effect->addRef();
    const auto liveObjects = CACFUnknown::getLiveObjectCount();

    EXPECT_EQ (callSlot<ResultCode> (face, 45), resultNotAvailable) << "the first of the second version's entries";

    // Slot 48 answers the query and leaves the effect alive: it must not be one of the destructors.
    void* out = nullptr;
    EXPECT_EQ (callSlot<ResultCode> (face, 48, &kEffectParametersV2InterfaceId, &out), resultSuccess);
    EXPECT_EQ (out, face);
    EXPECT_EQ (CACFUnknown::getLiveObjectCount(), liveObjects);
    EXPECT_EQ (effect->release(), 1u);

    // The two destructors take slots 49 and 50; the subclass's hook follows them.
    EXPECT_EQ (callSlot<ResultCode> (face, 51), resultSuccess);
    EXPECT_EQ (effect->numEffectInitialisations, 1);
    EXPECT_EQ (effect->release(), 0u);
}

TEST (EffectParameters, UninitialisingTwiceIsHarmless)
{
    TestEffect effect;
    effect.setUpWithoutHost();
    EXPECT_EQ (effect.uninitialize(), resultSuccess);
    EXPECT_EQ (effect.uninitialize(), resultSuccess);

    int32_t n = -1;
    effect.parameterCount (&n);
    EXPECT_EQ (n, 0);
    double v = 0;
    EXPECT_EQ (effect.normalizedParameterValue ("1", &v), resultUnknownParameter);
}
