#pragma once

#include "AudioEffectX.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

/** One host-callback call as the recording host saw it. */
struct HostCall
{
    VstEffectRecord* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
};

/** A host callback that records every call and answers from a table (0 when not listed).
    Only one is active at a time.
*/
struct RecordingHost
{
    RecordingHost()  { active = this; }
    ~RecordingHost() { active = nullptr; }

    static intptr_t callback (VstEffectRecord* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
    {
        active->calls.push_back ({ effect, opcode, index, value, ptr, opt });
        const auto answer = active->answers.find (opcode);
        return answer != active->answers.end() ? answer->second : 0;
    }

    std::vector<HostCall> calls;
    std::map<int32_t, intptr_t> answers;

    static inline RecordingHost* active = nullptr;
};

/** An editor that logs the calls the effect makes of it. */
struct EditorSpy : public EffectEditor
{
    explicit EditorSpy (std::vector<std::string>& logToUse, bool* destroyedFlag = nullptr)
        : log (logToUse), destroyed (destroyedFlag) {}

    ~EditorSpy() override
    {
        if (destroyed != nullptr)
            *destroyed = true;
    }

    bool reportBounds (void**) override          { log.push_back ("bounds"); return true; }
    bool openInParent (void*) override           { log.push_back ("openView"); return true; }
    void closeView() override                    { log.push_back ("closeView"); }
    void idleView() override                     { log.push_back ("idleView"); }
    bool keyPressed (EditorKeyRecord& key) override  { lastKey = key; log.push_back ("keyDown"); return true; }
    bool keyReleased (EditorKeyRecord& key) override { lastKey = key; log.push_back ("keyUp"); return true; }
    bool applyKnobMode (int32_t mode) override   { log.push_back ("knobMode " + std::to_string (mode)); return true; }

    std::vector<std::string>& log;
    bool* destroyed;
    EditorKeyRecord lastKey {};
};

/** An effect that logs the operations the dispatchers call; everything else keeps the
    base's default.
*/
class EffectSpy : public AudioEffectX
{
public:
    explicit EffectSpy (VstHostCallback callback = RecordingHost::callback, int32_t programs = 3, int32_t parameters = 5,
                        bool* destroyedFlag = nullptr)
        : AudioEffectX (callback, programs, parameters), destroyed (destroyedFlag) {}

    ~EffectSpy() override
    {
        if (destroyed != nullptr)
            *destroyed = true;
    }

    void openEffect() override                            { log.push_back ("open"); }
    void closeEffect() override                           { log.push_back ("close"); }
    void suspendProcessing() override                     { log.push_back ("suspend"); }
    void resumeProcessing() override                      { log.push_back ("resume"); }
    void changeSampleRate (float rate) override           { log.push_back ("rate " + std::to_string ((int) rate)); AudioEffectX::changeSampleRate (rate); }
    void changeBlockSize (int32_t size) override          { log.push_back ("block " + std::to_string (size)); AudioEffectX::changeBlockSize (size); }
    void processFloatBlock (float**, float**, int32_t frames) override { log.push_back ("process " + std::to_string (frames)); }
    void selectProgram (int32_t program) override         { log.push_back ("select " + std::to_string (program)); AudioEffectX::selectProgram (program); }
    void renameProgram (char* name) override              { log.push_back (std::string ("rename ") + (name != nullptr ? name : "(null)")); }
    void writeProgramName (char* name) override           { log.push_back ("programName"); fill (name, "prog"); }
    void writeParameterLabel (int32_t i, char* t) override { log.push_back ("label " + std::to_string (i)); fill (t, "dB"); }
    void writeParameterText (int32_t i, char* t) override  { log.push_back ("text " + std::to_string (i)); fill (t, "1.0"); }
    void writeParameterName (int32_t i, char* t) override  { log.push_back ("name " + std::to_string (i)); fill (t, "Gain"); }

    int32_t saveChunk (void** data, bool isPreset) override
    {
        log.push_back (isPreset ? "save preset" : "save bank");

        if (data != nullptr)
            *data = chunk;

        return -2;
    }

    int32_t loadChunk (void*, int32_t size, bool isPreset) override
    {
        log.push_back ("load " + std::to_string (size) + (isPreset ? " preset" : " bank"));
        return -3;
    }

    void attachEditor (std::unique_ptr<EffectEditor> e)  { editor = std::move (e); }

    std::vector<std::string> log;
    char chunk[4] { 1, 2, 3, 4 };
    bool* destroyed;

private:
    static void fill (char* text, const char* source)
    {
        if (text != nullptr)
            std::strcpy (text, source);
    }
};
