#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/*
    A host's threads on one plug-in instance at once, with no lock between them, as real hosts run
    them: the audio thread processes blocks with controller messages in them, the automation thread
    sets values and reads their texts back, the state thread saves and restores the state block, and
    other instances are opened and closed beside it. Each host variant says how it reaches the instance.
*/
namespace concurrency
{

constexpr int numParameters = 9;

/** Sent with every block while controllers are on; every other restored block binds them to Mode and DryWet. */
constexpr std::uint8_t modeController = 20;
constexpr std::uint8_t dryWetController = 21;

using ControllerMessage = std::array<std::uint8_t, 3>;

/** One plug-in instance as the host's threads reach it. */
class HostRoads
{
public:
    virtual ~HostRoads() = default;

    /** The audio thread: one stereo block in place, with controller messages due at its start. */
    virtual void process (std::vector<float>& left, std::vector<float>& right,
                          const std::vector<ControllerMessage>& controllers) = 0;

    /** The automation thread: a value as the host's automation sets it, and the texts its display reads. */
    virtual void setParameter (int index, float value) = 0;
    virtual void readTexts (int index) = 0;
    virtual float parameter (int index) = 0;

    /** The state thread: the state block as the host saves and restores it. */
    virtual std::vector<char> saveState() = 0;
    virtual void restoreState (const std::vector<char>& block) = 0;

    /** Another instance opened, run for a block and closed. */
    virtual void openAndCloseAnother() = 0;
};

/** What the threads saw. */
struct RunResult
{
    int blocks = 0;
    int samplesOutOfRange = 0;
    int blocksSaved = 0;
    std::vector<std::string> malformedBlocks;
    std::array<float, numParameters> lastValuesSet {};
};

/** Runs every thread at once for at least the given time, for as long as the host's GUI work (on the
    calling thread) takes, and until each thread has done some work however slow the machine. Then the
    state and instance threads stop, the controllers go quiet, and the automation thread sets every
    parameter once more while the audio goes on: those values are the last word.
*/
RunResult runTogether (HostRoads& host, std::chrono::milliseconds together, const std::function<void()>& hostGuiWork = {});

/** Every output sample finite and within [-1, 1], every saved block well-formed, and every parameter
    reading back the last value set.
*/
void expectRunHeld (HostRoads& host, const RunResult& result);

} // namespace concurrency
