#pragma once

#include "AAX_IAutomationDelegate.h"
#include "AAX_IParameter.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <type_traits>

/** The parameter that the plug-in hands the host, for T = float (the processor's parameters) and
    T = bool (the master bypass).

    While the host's automation delegate is attached, every change is only requested from the host,
    bracketed by a touch; the host later applies it through applyNormalizedValue(). Without a delegate a
    change is applied at once. Non-finite values are refused everywhere a value could be stored.
*/
template <typename T>
class AAX_CParameter : public AAX_IParameter
{
    static_assert (std::is_same_v<T, float> || std::is_same_v<T, bool>, "parameters hold a float or a bool");

public:
    AAX_CParameter (const char* identifier, const AAX_CString& name, T defaultRealValue,
                    const AAX_ITaperDelegate<T>& taperDelegate, const AAX_IDisplayDelegate<T>& displayDelegate,
                    bool isAutomatable)
        : displayNameText (name),
          automatable (isAutomatable),
          taper (taperDelegate.clone()),
          display (displayDelegate.clone()),
          defaultValue (isStorable (defaultRealValue) ? defaultRealValue : taperDelegate.lowerBound())
    {
        if (identifier != nullptr)
            std::strncpy (identifierText, identifier, sizeof (identifierText) - 1);

        setStepCount (128);
        resetToDefault();
    }

    ~AAX_CParameter() override
    {
        // The host proxy answers its own failures with codes; nothing may leave a destructor regardless.
        try
        {
            if (automationDelegate != nullptr)
                automationDelegate->detachParameter (identifierText);
        }
        catch (...)
        {
        }
    }

    const char* parameterId() const override { return identifierText; }
    void setDisplayName (const AAX_CString& name) override { displayNameText = name; }
    const AAX_CString& displayName() const override { return displayNameText; }

    void addShortName (const AAX_CString& name) override
    {
        shortNames[static_cast<int32_t> (name.length())] = name;
    }

    const AAX_CString& shortNameFor (int32_t maxChars) const override
    {
        if (maxChars < 0 || shortNames.empty() || displayNameText.length() <= static_cast<uint32_t> (maxChars))
            return displayNameText;

        // The longest short name that fits, or, when none fits, the shortest there is.
        const auto firstTooLong = shortNames.upper_bound (maxChars);
        return firstTooLong == shortNames.begin() ? firstTooLong->second : std::prev (firstTooLong)->second;
    }

    void clearShortNames() override { shortNames.clear(); }
    bool isAutomatable() const override { return automatable; }

    void attachAutomationDelegate (AAX_IAutomationDelegate* delegate) override
    {
        if (automationDelegate != nullptr)
            automationDelegate->detachParameter (identifierText);

        automationDelegate = delegate;

        if (automationDelegate != nullptr)
            automationDelegate->attachParameter (identifierText);
    }

    void beginTouch() override
    {
        if (automationDelegate != nullptr)
            automationDelegate->beginTouch (identifierText);
    }

    void endTouch() override
    {
        if (automationDelegate != nullptr)
            automationDelegate->endTouch (identifierText);
    }

    void requestNormalizedValue (double normalizedValue) override
    {
        // Round trip through the taper so the host is only ever asked for a value the parameter can hold.
        if (std::isfinite (normalizedValue))
            request (taper->normalize (taper->denormalize (normalizedValue)));
    }

    double normalizedValue() const override { return taper->normalize (current()); }

    void setDefaultFromNormalized (double normalizedDefault) override
    {
        if (std::isfinite (normalizedDefault))
            defaultValue = taper->clamp (taper->denormalize (normalizedDefault));
    }

    double normalizedDefault() const override { return taper->normalize (defaultValue); }
    void resetToDefault() override { request (taper->normalize (defaultValue)); }

    void setStepCount (uint32_t steps) override { numSteps = steps; }
    uint32_t stepCount() const override { return numSteps; }

    int32_t stepIndex() const override
    {
        if (numSteps < 2)
            return 0;

        const auto lastStep = static_cast<double> (numSteps - 1);
        const auto index = normalizedValue() / (1.0 / lastStep) + 0.5;

        if (! (index > 0.0))
            return 0;

        return static_cast<int32_t> (index > lastStep ? lastStep : index);
    }

    void requestStepIndex (int32_t step) override
    {
        if (numSteps < 2)
            return;

        // A negative step is a request for the first step, not for a huge one.
        const auto position = static_cast<double> (step < 0 ? 0 : step) * (1.0 / static_cast<double> (numSteps - 1));
        requestNormalizedValue (position > 1.0 ? 1.0 : position);
    }

    bool currentValueText (AAX_CString* out) const override { return display->formatValue (current(), out); }

    bool currentValueText (int32_t maxChars, AAX_CString* out) const override
    {
        return display->formatValue (current(), maxChars, out);
    }

    bool normalizedFromText (const AAX_CString& text, double* out) const override
    {
        T parsed {};

        if (! display->parseValue (text, &parsed) || ! isStorable (parsed))
            return false;

        *out = taper->normalize (parsed);
        return isWithinBounds (parsed);
    }

    bool textForNormalized (double normalizedValue, AAX_CString* out) const override
    {
        if (! std::isfinite (normalizedValue))
            return false;

        const auto real = taper->denormalize (normalizedValue);
        return display->formatValue (real, out) && isWithinBounds (real);
    }

    bool textForNormalized (double normalizedValue, int32_t maxChars, AAX_CString* out) const override
    {
        if (! std::isfinite (normalizedValue))
            return false;

        const auto real = taper->denormalize (normalizedValue);
        return display->formatValue (real, maxChars, out) && isWithinBounds (real);
    }

    bool requestValueFromText (const AAX_CString& text) override
    {
        T parsed {};

        if (! display->parseValue (text, &parsed) || ! isStorable (parsed))
            return false;

        request (taper->normalize (parsed));
        return true;
    }

    bool getBool (bool* out) const override { return get<bool> (out); }
    bool getInt32 (int32_t*) const override { return false; }
    bool getFloat (float* out) const override { return get<float> (out); }
    bool getDouble (double*) const override { return false; }
    bool getString (AAX_IString*) const override { return false; }

    bool setBool (bool newValue) override { return set (newValue); }
    bool setInt32 (int32_t) override { return false; }
    bool setFloat (float newValue) override { return set (newValue); }
    bool setDouble (double) override { return false; }
    bool setString (const AAX_IString&) override { return false; }

    void setParameterType (int32_t type) override { typeCode = type; }
    int32_t parameterType() const override { return typeCode; }
    void setOrientationFlags (int32_t flags) override { orientation = flags; }
    int32_t orientationFlags() const override { return orientation; }

    void replaceTaperDelegate (const AAX_ITaperDelegateBase& newTaper, bool keepRealValue) override
    {
        const auto* typedTaper = dynamic_cast<const AAX_ITaperDelegate<T>*> (&newTaper);

        if (typedTaper == nullptr)
            return;

        const auto previousNormalized = normalizedValue();
        taper.reset (typedTaper->clone());
        forceUpdate.store (true, std::memory_order_relaxed);

        if (keepRealValue)
            request (taper->normalize (current()));
        else
            applyNormalizedValue (previousNormalized);
    }

    void replaceDisplayDelegate (const AAX_IDisplayDelegateBase& newDisplay) override
    {
        const auto* typedDisplay = dynamic_cast<const AAX_IDisplayDelegate<T>*> (&newDisplay);

        if (typedDisplay == nullptr)
            return;

        display.reset (typedDisplay->clone());

        // Reporting the unchanged value makes the host fetch the new text.
        if (automationDelegate != nullptr)
            automationDelegate->reportValue (identifierText, normalizedValue());
    }

    void applyNormalizedValue (double normalizedValue) override
    {
        if (! std::isfinite (normalizedValue))
            return;

        const auto real = taper->denormalize (normalizedValue);

        if (! forceUpdate.load (std::memory_order_relaxed) && real == current())
            return;

        value.store (real, std::memory_order_relaxed);

        // Report what was stored, so the host's view follows the clamped value rather than its request.
        if (automationDelegate != nullptr)
            automationDelegate->reportValue (identifierText, taper->normalize (real));

        forceUpdate.store (false, std::memory_order_relaxed);
    }

    /** Asks for a real value, through the host when its automation delegate is attached. */
    void requestValue (T newValue) { request (taper->normalize (newValue)); }

private:
    T current() const noexcept { return value.load (std::memory_order_relaxed); }

    static bool isStorable (T candidate)
    {
        if constexpr (std::is_same_v<T, float>)
            return std::isfinite (candidate);
        else
            return true;
    }

    bool isWithinBounds (T candidate) const
    {
        return ! (candidate > taper->upperBound() || candidate < taper->lowerBound());
    }

    void request (double normalizedValue)
    {
        if (! std::isfinite (normalizedValue))
            return;

        if (automationDelegate != nullptr)
        {
            beginTouch();
            automationDelegate->requestValueChange (identifierText, normalizedValue);
            endTouch();
            return;
        }

        forceUpdate.store (true, std::memory_order_relaxed);
        applyNormalizedValue (normalizedValue);
    }

    template <typename Wanted>
    bool get ([[maybe_unused]] Wanted* out) const
    {
        if constexpr (std::is_same_v<T, Wanted>)
        {
            *out = current();
            return true;
        }
        else
        {
            return false;
        }
    }

    template <typename Given>
    bool set ([[maybe_unused]] Given newValue)
    {
        if constexpr (std::is_same_v<T, Given>)
        {
            if (! isStorable (newValue))
                return false;

            requestValue (newValue);
            return true;
        }
        else
        {
            return false;
        }
    }

    char identifierText[32] {};
    AAX_CString displayNameText;
    std::map<int32_t, AAX_CString> shortNames;
    bool automatable;
    uint32_t numSteps = 0;
    int32_t typeCode = Continuous;
    int32_t orientation = 0;
    std::unique_ptr<AAX_ITaperDelegate<T>> taper;
    std::unique_ptr<AAX_IDisplayDelegate<T>> display;
    AAX_IAutomationDelegate* automationDelegate = nullptr;
    // A host applies automation, saves its chunk and draws its view from threads of its own, with
    // no lock: each of these is one value written whole, and nothing else is ordered by it.
    std::atomic<bool> forceUpdate { true };
    std::atomic<T> value {};
    T defaultValue;
};
