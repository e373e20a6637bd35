#pragma once

#include "AAX_CString.h"
#include "AAX_IDisplayDelegate.h"
#include "AAX_ITaperDelegate.h"

#include <cstdint>

class AAX_IAutomationDelegate;

/** A host-visible parameter: its identity and names, its value in real, normalized and text form, and
    the road by which changes go through the host's automation delegate. */
class AAX_IParameter
{
public:
    /** How the host should treat the control; stored for the host only. */
    enum ParameterType : int32_t
    {
        Discrete = 0,
        Continuous = 1
    };

    virtual ~AAX_IParameter() = default;

    virtual const char* parameterId() const = 0;
    virtual void setDisplayName (const AAX_CString& name) = 0;
    virtual const AAX_CString& displayName() const = 0;
    virtual void addShortName (const AAX_CString& name) = 0;
    virtual const AAX_CString& shortNameFor (int32_t maxChars) const = 0;
    virtual void clearShortNames() = 0;
    virtual bool isAutomatable() const = 0;

    virtual void attachAutomationDelegate (AAX_IAutomationDelegate* delegate) = 0;
    virtual void beginTouch() = 0;
    virtual void endTouch() = 0;

    virtual void requestNormalizedValue (double normalizedValue) = 0;
    virtual double normalizedValue() const = 0;
    virtual void setDefaultFromNormalized (double normalizedDefault) = 0;
    virtual double normalizedDefault() const = 0;
    virtual void resetToDefault() = 0;

    virtual void setStepCount (uint32_t steps) = 0;
    virtual uint32_t stepCount() const = 0;
    virtual int32_t stepIndex() const = 0;
    virtual void requestStepIndex (int32_t step) = 0;

    virtual bool currentValueText (AAX_CString* out) const = 0;
    virtual bool currentValueText (int32_t maxChars, AAX_CString* out) const = 0;
    virtual bool normalizedFromText (const AAX_CString& text, double* out) const = 0;
    virtual bool textForNormalized (double normalizedValue, AAX_CString* out) const = 0;
    virtual bool textForNormalized (double normalizedValue, int32_t maxChars, AAX_CString* out) const = 0;
    virtual bool requestValueFromText (const AAX_CString& text) = 0;

    /** Typed access: each answers false, and changes nothing, for a type the parameter does not hold. */
    virtual bool getBool (bool* out) const = 0;
    virtual bool getInt32 (int32_t* out) const = 0;
    virtual bool getFloat (float* out) const = 0;
    virtual bool getDouble (double* out) const = 0;
    virtual bool getString (AAX_IString* out) const = 0;
    virtual bool setBool (bool value) = 0;
    virtual bool setInt32 (int32_t value) = 0;
    virtual bool setFloat (float value) = 0;
    virtual bool setDouble (double value) = 0;
    virtual bool setString (const AAX_IString& value) = 0;

    virtual void setParameterType (int32_t type) = 0;
    virtual int32_t parameterType() const = 0;
    virtual void setOrientationFlags (int32_t flags) = 0;
    virtual int32_t orientationFlags() const = 0;

    /** A taper or display for another value type is ignored. */
    virtual void replaceTaperDelegate (const AAX_ITaperDelegateBase& taper, bool keepRealValue) = 0;
    virtual void replaceDisplayDelegate (const AAX_IDisplayDelegateBase& display) = 0;

    /** Stores a value that the host has accepted. */
    virtual void applyNormalizedValue (double normalizedValue) = 0;
};
