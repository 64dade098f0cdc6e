#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>

namespace rir::render
{
    // Plays a sequence (timestamps in seconds) through a prepared plug-in block by block, as
    // fast as it can, and hands each stereo block to a sink.
    class OfflineRenderer
    {
    public:
        using BlockSink = std::function<bool (const juce::AudioBuffer<float>& block)>;

        OfflineRenderer (juce::AudioPluginInstance& plugin, double sampleRate, int blockSize);

        // Renders until tailSeconds after the sequence's last event. Returns false when the
        // sink refuses a block.
        bool render (const juce::MidiMessageSequence& events, double tailSeconds, const BlockSink& sink);

        juce::int64 samplesRendered() const { return rendered; }

    private:
        juce::AudioPluginInstance& plugin;
        double sampleRate;
        int blockSize;
        juce::int64 rendered = 0;
    };
}
