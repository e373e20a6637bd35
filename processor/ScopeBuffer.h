#pragma once

#include <array>
#include <atomic>
#include <cstdint>

/** The start of a processed block, handed from the audio thread to the editor's scope without
    a lock.

    One frame, owned by one side at a time: the editor asks for a frame, the next block fills it
    and hands it over, and the editor takes its copy before asking again. So the samples move as
    plain floats and the only value both threads touch is the flag that says whose turn it is.
    Between the editor's ticks the audio thread copies nothing at all, and with no editor open it
    stops after the first block.
*/
class ScopeBuffer
{
public:
    static constexpr int size = 512;

    struct Frame
    {
        /** Left, then right: the first sampleCount samples of a block's output. */
        std::array<std::array<float, size>, 2> samples {};
        int32_t sampleCount = size;
    };

    /** The audio thread's turn: the frame to fill and publish(), or nullptr while the editor holds it. */
    Frame* frameToFill() noexcept { return wanted.load (std::memory_order_acquire) ? &frame : nullptr; }

    /** Hands the filled frame to the editor (audio thread). */
    void publish() noexcept { wanted.store (false, std::memory_order_release); }

    /** The editor's turn: the frame that arrived since it last asked, or nullptr. Read it, then askForNext(). */
    const Frame* arrivedFrame() const noexcept { return wanted.load (std::memory_order_acquire) ? nullptr : &frame; }

    /** Gives the frame back to the audio thread for the next block (editor). */
    void askForNext() noexcept { wanted.store (true, std::memory_order_release); }

private:
    Frame frame;
    std::atomic<bool> wanted { true };
};
