#include "AAX_CBinaryDisplayDelegate.h"
#include "AAX_CBinaryTaperDelegate.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CParameterRegistry.h"
#include "AAX_VAutomationDelegate.h"
#include "SubstituteAaxHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

using aaxtest::call;
using aaxtest::HostCall;

namespace
{
using Calls = std::vector<HostCall>;
constexpr int attachSlot = 3, detachSlot = 4, requestSlot = 5, reportSlot = 6, beginSlot = 7, endSlot = 8;

/** The substitute host's automation delegate, reached through the library's proxy as a parameter
    reaches it. */
struct HostDelegate
{
    Calls calls() const { return substitute.automationDelegate.operationCalls(); }
    void clear() { substitute.automationDelegate.clearCalls(); }

    aaxtest::SubstituteAaxHost substitute;
    AAX_VAutomationDelegate proxy { substitute.controllerUnknown() };
};
using FloatParameter = AAX_CParameter<float>;
using BoolParameter = AAX_CParameter<bool>;

const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

std::unique_ptr<FloatParameter> makeFloat (const char* id = "1", float defaultValue = 0.9f, const char* name = "Delay Time")
{
    return std::make_unique<FloatParameter> (id, AAX_CString (name), defaultValue,
                                             AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                             AAX_CNumberDisplayDelegate<float, 3, 0>(), true);
}

std::unique_ptr<BoolParameter> makeBypass()
{
    return std::make_unique<BoolParameter> ("MasterBypassID", AAX_CString ("Master Bypass"), false,
                                            AAX_CBinaryTaperDelegate<bool>(),
                                            AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true);
}

float floatValue (const AAX_IParameter& parameter)
{
    float value = -1.0f;
    EXPECT_TRUE (parameter.getFloat (&value));
    return value;
}

std::string text (const AAX_CString& s) { return s.cText(); }
} // namespace

//==============================================================================
TEST (Parameter, ANewParameterHoldsItsClampedDefault)
{
    const auto parameter = makeFloat ("1", 0.9f);
    EXPECT_EQ (floatValue (*parameter), 0.9f);
    EXPECT_EQ (parameter->normalizedValue(), static_cast<double> (0.9f));
    EXPECT_EQ (parameter->stepCount(), 128u);
    EXPECT_EQ (parameter->parameterType(), AAX_IParameter::Continuous);

    const auto outOfRange = makeFloat ("2", 3.0f);
    EXPECT_EQ (floatValue (*outOfRange), 1.0f);
    EXPECT_EQ (outOfRange->normalizedDefault(), 1.0);

    const auto longId = makeFloat ("0123456789012345678901234567890123456789");
    EXPECT_STREQ (longId->parameterId(), "0123456789012345678901234567890");
}

TEST (Parameter, WithoutAutomationDelegateARequestIsAppliedAtOnce)
{
    const auto parameter = makeFloat();
    parameter->requestNormalizedValue (0.25);
    EXPECT_EQ (floatValue (*parameter), 0.25f);

    EXPECT_TRUE (parameter->setFloat (0.5f));
    EXPECT_EQ (floatValue (*parameter), 0.5f);

    EXPECT_TRUE (parameter->requestValueFromText (AAX_CString ("0.125")));
    EXPECT_EQ (floatValue (*parameter), 0.125f);

    parameter->resetToDefault();
    EXPECT_EQ (floatValue (*parameter), 0.9f);
}

TEST (Parameter, WithAutomationDelegateARequestGoesToTheHostBracketedByTouch)
{
    HostDelegate host;
    const auto parameter = makeFloat ("4");
    parameter->attachAutomationDelegate (&host.proxy);

    EXPECT_TRUE (parameter->setFloat (0.5f));
    EXPECT_EQ (floatValue (*parameter), 0.9f); // not applied until the host answers

    const Calls expected { call (attachSlot, "4"), call (beginSlot, "4"),
                          call (requestSlot, "4", 0.5), call (endSlot, "4") };
    EXPECT_EQ (host.calls(), expected);

    host.clear();
    parameter->applyNormalizedValue (0.5);
    EXPECT_EQ (floatValue (*parameter), 0.5f);
    EXPECT_EQ (host.calls(), (Calls { call (reportSlot, "4", 0.5) }));

    // The same value again changes nothing and tells the host nothing.
    host.clear();
    parameter->applyNormalizedValue (0.5);
    EXPECT_TRUE (host.calls().empty());

    // Taking the delegate away takes the parameter off the host's list.
    host.clear();
    parameter->attachAutomationDelegate (nullptr);
    EXPECT_EQ (host.calls(), (Calls { call (detachSlot, "4") }));
}

TEST (Parameter, RequestsAreClampedBeforeTheyReachTheHost)
{
    HostDelegate host;
    const auto parameter = makeFloat ("1");
    const auto bypass = makeBypass();
    parameter->attachAutomationDelegate (&host.proxy);
    bypass->attachAutomationDelegate (&host.proxy);
    host.clear();

    parameter->requestNormalizedValue (1.7);
    bypass->requestNormalizedValue (0.3);
    bypass->requestNormalizedValue (-0.3);

    ASSERT_EQ (host.calls().size(), 9u);
    EXPECT_EQ (host.calls()[1], call (requestSlot, "1", 1.0));
    EXPECT_EQ (host.calls()[4], call (requestSlot, "MasterBypassID", 1.0));
    EXPECT_EQ (host.calls()[7], call (requestSlot, "MasterBypassID", 0.0));
}

TEST (Parameter, AnAppliedValueIsReportedAsStoredNotAsAsked)
{
    HostDelegate host;
    const auto parameter = makeFloat ("1", 0.5f);
    parameter->attachAutomationDelegate (&host.proxy);
    host.clear();

    parameter->applyNormalizedValue (1.5);
    EXPECT_EQ (floatValue (*parameter), 1.0f);
    EXPECT_EQ (host.calls(), (Calls { call (reportSlot, "1", 1.0) }));
}

TEST (Parameter, NonFiniteValuesAreRefusedEverywhere)
{
    HostDelegate host;
    const auto parameter = makeFloat ("1", 0.5f);

    for (const auto bad : { notANumber, infinity, -infinity })
    {
        parameter->requestNormalizedValue (bad);
        parameter->applyNormalizedValue (bad);
        parameter->setDefaultFromNormalized (bad);
        EXPECT_FALSE (parameter->setFloat (static_cast<float> (bad)));
        AAX_CString out ("kept");
        EXPECT_FALSE (parameter->textForNormalized (bad, &out));
        EXPECT_FALSE (parameter->textForNormalized (bad, 8, &out));
        EXPECT_EQ (text (out), "kept");
    }

    EXPECT_EQ (floatValue (*parameter), 0.5f);
    EXPECT_EQ (parameter->normalizedDefault(), 0.5);

    parameter->attachAutomationDelegate (&host.proxy);
    host.clear();
    parameter->requestNormalizedValue (notANumber);
    parameter->applyNormalizedValue (infinity);
    EXPECT_FALSE (parameter->requestValueFromText (AAX_CString ("1e39")));
    EXPECT_TRUE (host.calls().empty());
}

TEST (Parameter, ReplacingTheTaperKeepsEitherTheRealOrTheNormalizedValue)
{
    HostDelegate host;
    const auto parameter = makeFloat ("1", 0.5f);
    parameter->attachAutomationDelegate (&host.proxy);
    host.clear();

    // Keep the real value: the host is asked for its new normalized form, and its answer is stored
    // and reported even though the real value does not change.
    parameter->replaceTaperDelegate (AAX_CLinearTaperDelegate<float, 0> (0.0f, 2.0f), true);
    ASSERT_EQ (host.calls().size(), 3u);
    EXPECT_EQ (host.calls()[1], call (requestSlot, "1", 0.25));
    host.clear();
    parameter->applyNormalizedValue (0.25);
    EXPECT_EQ (host.calls(), (Calls { call (reportSlot, "1", 0.25) }));

    // Keep the normalized value: the real value follows the new taper at once.
    host.clear();
    parameter->replaceTaperDelegate (AAX_CLinearTaperDelegate<float, 0> (0.0f, 4.0f), false);
    EXPECT_EQ (floatValue (*parameter), 1.0f);
    EXPECT_EQ (host.calls(), (Calls { call (reportSlot, "1", 0.25) }));

    // A taper for another value type is not taken.
    parameter->replaceTaperDelegate (AAX_CBinaryTaperDelegate<bool>(), false);
    EXPECT_EQ (floatValue (*parameter), 1.0f);
}

TEST (Parameter, ShortNamesPickTheLongestThatFits)
{
    const auto parameter = makeFloat ("1", 0.5f, "Feedback Amount Long"); // 20 characters
    parameter->addShortName (AAX_CString ("Fdbk"));
    parameter->addShortName (AAX_CString ("Feedback"));

    EXPECT_EQ (text (parameter->shortNameFor (3)), "Fdbk");
    EXPECT_EQ (text (parameter->shortNameFor (6)), "Fdbk");
    EXPECT_EQ (text (parameter->shortNameFor (8)), "Feedback");
    EXPECT_EQ (text (parameter->shortNameFor (25)), "Feedback Amount Long");
    EXPECT_EQ (text (parameter->shortNameFor (-1)), "Feedback Amount Long");

    parameter->addShortName (AAX_CString ("FdBk"));
    EXPECT_EQ (text (parameter->shortNameFor (4)), "FdBk");

    parameter->clearShortNames();
    EXPECT_EQ (text (parameter->shortNameFor (4)), "Feedback Amount Long");
}

TEST (Parameter, StepsMapOntoTheNormalizedRange)
{
    const auto parameter = makeFloat ("1", 0.6f);
    parameter->setStepCount (5);
    EXPECT_EQ (parameter->stepIndex(), 2);

    parameter->requestStepIndex (3);
    EXPECT_EQ (parameter->normalizedValue(), 0.75);

    parameter->requestStepIndex (99);
    EXPECT_EQ (parameter->normalizedValue(), 1.0);
    EXPECT_EQ (parameter->stepIndex(), 4);

    // A negative step asks for the first step, not for the last.
    parameter->requestStepIndex (-1);
    EXPECT_EQ (parameter->normalizedValue(), 0.0);
    EXPECT_EQ (parameter->stepIndex(), 0);

    parameter->setStepCount (1);
    parameter->requestStepIndex (3);
    EXPECT_EQ (parameter->normalizedValue(), 0.0);
    EXPECT_EQ (parameter->stepIndex(), 0);
}

TEST (Parameter, TextConvertsBothWaysAndReportsOutOfRangeValues)
{
    const auto parameter = makeFloat ("1", 0.5f);
    double normalized = -1.0;

    EXPECT_TRUE (parameter->normalizedFromText (AAX_CString ("0.25"), &normalized));
    EXPECT_EQ (normalized, 0.25);

    EXPECT_FALSE (parameter->normalizedFromText (AAX_CString ("1.5"), &normalized));
    EXPECT_EQ (normalized, 1.0);

    normalized = -1.0;
    EXPECT_FALSE (parameter->normalizedFromText (AAX_CString ("none"), &normalized));
    EXPECT_EQ (normalized, -1.0);
    EXPECT_FALSE (parameter->requestValueFromText (AAX_CString ("none")));
    EXPECT_EQ (floatValue (*parameter), 0.5f);

    AAX_CString out;
    EXPECT_TRUE (parameter->textForNormalized (0.125, 4, &out));
    EXPECT_EQ (text (out), "0.12");
    EXPECT_TRUE (parameter->currentValueText (&out));
    EXPECT_EQ (text (out), "0.500");
}

TEST (Parameter, TypedAccessAnswersOnlyForTheHeldType)
{
    const auto level = makeFloat ("1", 0.5f);
    const auto bypass = makeBypass();
    bool b = true;
    float f = -1.0f;
    int32_t i = 7;
    double d = 7.0;
    AAX_CString s;

    EXPECT_FALSE (level->getBool (&b));
    EXPECT_TRUE (b);
    EXPECT_FALSE (bypass->getFloat (&f));
    EXPECT_EQ (f, -1.0f);
    EXPECT_TRUE (bypass->getBool (&b));
    EXPECT_FALSE (b);

    for (AAX_IParameter* parameter : { static_cast<AAX_IParameter*> (level.get()), static_cast<AAX_IParameter*> (bypass.get()) })
    {
        EXPECT_FALSE (parameter->getInt32 (&i));
        EXPECT_FALSE (parameter->getDouble (&d));
        EXPECT_FALSE (parameter->getString (&s));
        EXPECT_FALSE (parameter->setInt32 (1));
        EXPECT_FALSE (parameter->setDouble (1.0));
        EXPECT_FALSE (parameter->setString (AAX_CString ("1")));
    }

    EXPECT_FALSE (level->setBool (true));
    EXPECT_FALSE (bypass->setFloat (1.0f));
    EXPECT_TRUE (bypass->setBool (true));
    EXPECT_TRUE (bypass->getBool (&b));
    EXPECT_TRUE (b);
}

//==============================================================================
TEST (ParameterRegistry, KeepsTheOrderOfAddingAsTheHostIndex)
{
    HostDelegate host;
    AAX_CParameterRegistry registry;
    registry.setAutomationDelegate (&host.proxy);

    EXPECT_TRUE (registry.addParameter (makeBypass()));
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE (registry.addParameter (makeFloat (std::to_string (i).c_str())));

    EXPECT_EQ (registry.numParameters(), 10);
    EXPECT_STREQ (registry.parameterAt (0)->parameterId(), "MasterBypassID");
    EXPECT_STREQ (registry.parameterAt (1)->parameterId(), "0");
    EXPECT_EQ (registry.indexOfParameter ("8"), 9);
    EXPECT_EQ (registry.parameterAt (10), nullptr);
    EXPECT_EQ (registry.parameterAt (-1), nullptr);
    EXPECT_EQ (registry.findParameter (nullptr), nullptr);
    EXPECT_EQ (registry.indexOfParameter (nullptr), -1);
    EXPECT_EQ (registry.findParameter ("masterbypassid"), nullptr);

    // Every parameter was handed the host's delegate as it came in.
    ASSERT_EQ (host.calls().size(), 10u);
    EXPECT_EQ (host.calls().front(), call (attachSlot, "MasterBypassID"));
}

TEST (ParameterRegistry, RefusesNullAndDuplicateParametersWithoutLeakingThem)
{
    AAX_CParameterRegistry registry;
    auto* first = makeFloat ("3").release();
    EXPECT_TRUE (registry.addParameter (std::unique_ptr<AAX_IParameter> (first)));

    // The refused duplicate is deleted (the leak checker of the sanitizer build watches this).
    EXPECT_FALSE (registry.addParameter (makeFloat ("3")));
    EXPECT_FALSE (registry.addParameter (nullptr));
    EXPECT_EQ (registry.numParameters(), 1);
    EXPECT_EQ (registry.findParameter ("3"), first);

    // A cut identifier is found under its cut form only.
    const std::string longId (40, 'x');
    EXPECT_TRUE (registry.addParameter (makeFloat (longId.c_str())));
    EXPECT_EQ (registry.findParameter (longId.c_str()), nullptr);
    EXPECT_NE (registry.findParameter (longId.substr (0, 31).c_str()), nullptr);
}

TEST (ParameterRegistry, RemovingAllDetachesEveryParameterAndKeepsTheDelegate)
{
    HostDelegate host;
    AAX_CParameterRegistry registry;
    registry.setAutomationDelegate (&host.proxy);
    registry.addParameter (makeFloat ("0"));
    registry.addParameter (makeFloat ("1"));
    host.clear();

    registry.removeAllParameters();
    EXPECT_EQ (registry.numParameters(), 0);
    EXPECT_EQ (registry.findParameter ("0"), nullptr);
    EXPECT_EQ (registry.indexOfParameter ("1"), -1);
    EXPECT_EQ (host.calls(), (Calls { call (detachSlot, "0"), call (detachSlot, "1") }));

    host.clear();
    registry.addParameter (makeFloat ("5"));
    EXPECT_EQ (host.calls(), (Calls { call (attachSlot, "5") }));
}
