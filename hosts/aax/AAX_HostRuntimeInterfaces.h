#pragma once

#include "IACFUnknown.h"

/*
    The host's run-time objects, as the host lays them out: each operation's slot is fixed by the host, so
    the declarations follow the host's order exactly, with placeholders named after the slot for operations
    whose meaning the plug-in never needs. A newer interface continues its older one's numbering.
    Slot 0 to 2 are the IACFUnknown operations; the comment on each operation gives its slot.
*/

/** A size or position in the host's view coordinates. */
struct AAX_Point
{
    float vertical;
    float horizontal;
};

class IHostAutomationDelegate : public IACFUnknown
{
public:
    virtual ResultCode attachParameter (const char* identifier) = 0;                            // 3
    virtual ResultCode detachParameter (const char* identifier) = 0;                            // 4
    virtual ResultCode requestValueChange (const char* identifier, double normalisedValue) = 0; // 5
    virtual ResultCode reportValue (const char* identifier, double normalisedValue) = 0;        // 6
    virtual ResultCode beginTouch (const char* identifier) = 0;                                 // 7
    virtual ResultCode endTouch (const char* identifier) = 0;                                   // 8
    virtual ResultCode queryParameter (const char* identifier, void* out) = 0;                  // 9

protected:
    ~IHostAutomationDelegate() = default;
};

class IHostController : public IACFUnknown
{
public:
    virtual ResultCode operation3 (void*) = 0;                                                  // 3
    virtual ResultCode hostSampleRate (float* samplesPerSecond) = 0;                            // 4
    virtual ResultCode hostInputLayout (std::int32_t* layoutCode) = 0;                          // 5
    virtual ResultCode hostOutputLayout (std::int32_t* layoutCode) = 0;                         // 6
    virtual ResultCode operation7 (void*) = 0;                                                  // 7
    virtual ResultCode operation8 (std::uint32_t, void*) = 0;                                   // 8
    virtual ResultCode operation9 (void*) = 0;                                                  // 9
    virtual ResultCode reportLatency (std::int32_t samples) = 0;                                // 10
    virtual ResultCode operation11 (void*, void*, std::uint32_t) = 0;                           // 11
    virtual ResultCode postPacket (std::uint32_t port, const void* data, std::uint32_t size) = 0; // 12
    virtual ResultCode operation13 (std::uint32_t, void*) = 0;                                  // 13
    virtual ResultCode operation14 (std::uint32_t, void*) = 0;                                  // 14
    virtual ResultCode operation15 (std::uint32_t) = 0;                                         // 15
    virtual ResultCode operation16 (std::uint32_t, void*) = 0;                                  // 16
    virtual ResultCode operation17 (std::uint32_t) = 0;                                         // 17
    virtual ResultCode operation18 (void*) = 0;                                                 // 18
    virtual ResultCode operation19 (void*, void*) = 0;                                          // 19

protected:
    ~IHostController() = default;
};

class IHostControllerNewer : public IHostController
{
public:
    virtual ResultCode operation20 (std::uint32_t, void*, std::uint32_t) = 0;                   // 20
    virtual ResultCode operation21 (void*) = 0;                                                 // 21
    virtual ResultCode operation22 (std::int64_t*) = 0;                                         // 22
    virtual ResultCode operation23 (void*) = 0;                                                 // 23

protected:
    ~IHostControllerNewer() = default;
};

class IHostTransport : public IACFUnknown
{
public:
    virtual ResultCode tempo (double* beatsPerMinute) = 0;                                      // 3
    virtual ResultCode meter (std::int32_t* numerator, std::int32_t* denominator) = 0;          // 4
    virtual ResultCode isPlaying (bool* playing) = 0;                                           // 5
    virtual ResultCode tickPosition (std::int64_t* ticks) = 0;                                  // 6
    virtual ResultCode loop (bool* looping, std::int64_t* startTick, std::int64_t* endTick) = 0; // 7
    virtual ResultCode samplePosition (std::int64_t* samples) = 0;                              // 8
    virtual ResultCode operation9 (void*, void*) = 0;                                           // 9
    virtual ResultCode operation10 (void*, void*, void*, void*) = 0;                            // 10
    virtual ResultCode operation11 (void*) = 0;                                                 // 11
    virtual ResultCode operation12 (void*) = 0;                                                 // 12

protected:
    ~IHostTransport() = default;
};

class IHostTransportNewer : public IHostTransport
{
public:
    virtual ResultCode stoppedPosition (std::int64_t* samples) = 0;                             // 13
    virtual ResultCode timecode (std::int32_t* frameRateKind, std::int64_t* offsetFrames) = 0;  // 14
    virtual ResultCode operation15 (void*, void*) = 0;                                          // 15
    virtual ResultCode operation16 (void*) = 0;                                                 // 16

protected:
    ~IHostTransportNewer() = default;
};

class IHostViewContainer : public IACFUnknown
{
public:
    virtual std::int32_t viewKind() = 0;                                                        // 3
    virtual void* nativeView() = 0;                                                             // 4
    virtual ResultCode eventModifiers (std::uint32_t* state) = 0;                               // 5
    virtual ResultCode setViewSize (const AAX_Point* size) = 0;                                 // 6
    virtual ResultCode parameterMouseDown (const char* identifier, std::uint32_t state) = 0;    // 7
    virtual ResultCode parameterMouseDrag (const char* identifier, std::uint32_t state) = 0;    // 8
    virtual ResultCode parameterMouseUp (const char* identifier, std::uint32_t state) = 0;      // 9

protected:
    ~IHostViewContainer() = default;
};
