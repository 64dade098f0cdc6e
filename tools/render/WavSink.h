#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>

namespace rir::render
{
    // A stereo WAV file being written, replacing whatever the path held before.
    class WavSink
    {
    public:
        // Check opened() before writing; error() says why it failed.
        WavSink (const juce::File& file, double sampleRate, int bitsPerSample);

        bool opened() const { return writer != nullptr; }
        const juce::String& error() const { return message; }

        bool write (const juce::AudioBuffer<float>& block);

        // Flushes the file; the sink can't be written afterwards.
        bool close();

    private:
        std::unique_ptr<juce::AudioFormatWriter> writer;
        juce::String message;
    };
}
