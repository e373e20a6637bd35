// Renders a generated stereo test signal through the built plug-in, as a host would, in a few
// settings, and writes each result as a WAV file:  lumarro_render <plugin.so> <output folder>

#include "SubstituteHost.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cmath>
#include <iostream>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int32_t blockSize = 256;
    constexpr double seconds = 6.0;

    struct Setting
    {
        const char* fileName;
        const char* description;
        float values[9]; // DelayTime, DelayFeedback, Mode, Balance, PingPong, HighCut, LowCut, DryWet, Gain
        bool hostTempo;
    };

    const Setting settings[] {
        { "lumarro-normal-echo.wav", "Normal mode, 0.37 s echo",
          { 0.3f, 0.45f, 0.33f, 0.5f, 0.0f, 0.0f, 0.0f, 0.5f, 0.9f }, false },
        { "lumarro-pingpong-filtered.wav", "ping-pong with high and low cut in the feedback",
          { 0.2f, 0.7f, 0.33f, 0.5f, 1.0f, 0.5f, 0.5f, 0.5f, 0.9f }, false },
        { "lumarro-sync-120bpm.wav", "Sync, dotted eighth at 120 bpm",
          { 13.0f / 24.0f, 0.5f, 1.0f, 0.5f, 0.0f, 0.2f, 0.1f, 0.5f, 0.9f }, true },
    };

    /** Clicks on the left, the right and both sides, then a short A minor chord. */
    juce::AudioBuffer<float> testSignal()
    {
        const auto length = (int) (seconds * sampleRate);
        juce::AudioBuffer<float> signal (2, length);
        signal.clear();

        const std::pair<double, int> clicks[] { { 0.0, 0 }, { 0.25, 1 }, { 0.5, 2 } };

        for (const auto& [time, side] : clicks)
        {
            const auto at = (int) (time * sampleRate);

            for (int channel = 0; channel < 2; ++channel)
                if (side == 2 || side == channel)
                    for (int i = 0; i < 48; ++i)
                        signal.setSample (channel, at + i, 0.8f * (1.0f - (float) i / 48.0f) * (i % 2 == 0 ? 1.0f : -1.0f));
        }

        const double chord[] { 220.0, 261.63, 329.63 };
        const auto chordStart = (int) (1.5 * sampleRate);
        const auto chordLength = (int) (0.4 * sampleRate);

        for (int i = 0; i < chordLength; ++i)
        {
            const double t = i / sampleRate;
            const double envelope = std::exp (-6.0 * t) * std::min (1.0, t * 200.0);
            double sample = 0.0;

            for (const auto frequency : chord)
                sample += 0.2 * std::sin (2.0 * juce::MathConstants<double>::pi * frequency * t);

            for (int channel = 0; channel < 2; ++channel)
                signal.setSample (channel, chordStart + i, (float) (envelope * sample));
        }

        return signal;
    }

    bool writeWav (const juce::File& file, const juce::AudioBuffer<float>& audio)
    {
        file.deleteFile();
        auto stream = file.createOutputStream();

        if (stream == nullptr)
            return false;

        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> writer (wav.createWriterFor (stream.get(), sampleRate, 2, 24, {}, 0));

        if (writer == nullptr)
            return false;

        stream.release(); // the writer owns it now
        return writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
    }

    juce::AudioBuffer<float> render (const VstPluginLibrary& library, const Setting& setting, const juce::AudioBuffer<float>& signal)
    {
        SubstituteHost host (library, (float) sampleRate, blockSize);

        if (setting.hostTempo)
        {
            VstTimeInfoRecord time {};
            time.tempo = 120.0;
            time.timeSignatureNumerator = 4;
            time.timeSignatureDenominator = 4;
            time.flags = VstTimeInfoRecord::transportPlaying | VstTimeInfoRecord::tempoValid | VstTimeInfoRecord::timeSignatureValid;
            host.timeInfo = time;
        }

        for (int32_t i = 0; i < 9; ++i)
            host.setParameter (i, setting.values[i]);

        // A fresh instance starts on its settings, so the demo starts with its first block.
        host.resume();

        std::vector<float> left (signal.getReadPointer (0), signal.getReadPointer (0) + signal.getNumSamples());
        std::vector<float> right (signal.getReadPointer (1), signal.getReadPointer (1) + signal.getNumSamples());
        host.processInPlace (left, right);
        host.suspend();

        juce::AudioBuffer<float> result (2, signal.getNumSamples());
        result.copyFrom (0, 0, left.data(), (int) left.size());
        result.copyFrom (1, 0, right.data(), (int) right.size());
        return result;
    }
}

int main (int argc, char* argv[])
{
    if (argc != 3)
    {
        std::cerr << "usage: lumarro_render <plugin.so> <output folder>\n";
        return 2;
    }

    try
    {
        const VstPluginLibrary library (argv[1]);
        const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]));

        if (! folder.createDirectory())
        {
            std::cerr << "cannot create " << folder.getFullPathName() << "\n";
            return 1;
        }

        const auto signal = testSignal();
        const auto dryFile = folder.getChildFile ("lumarro-input.wav");

        if (! writeWav (dryFile, signal))
        {
            std::cerr << "cannot write " << dryFile.getFullPathName() << "\n";
            return 1;
        }

        std::cout << dryFile.getFullPathName() << "  (the test signal)\n";

        for (const auto& setting : settings)
        {
            const auto file = folder.getChildFile (setting.fileName);

            if (! writeWav (file, render (library, setting, signal)))
            {
                std::cerr << "cannot write " << file.getFullPathName() << "\n";
                return 1;
            }

            std::cout << file.getFullPathName() << "  (" << setting.description << ")\n";
        }
    }
    catch (const std::exception& e)
    {
        std::cerr << e.what() << "\n";
        return 1;
    }

    return 0;
}
