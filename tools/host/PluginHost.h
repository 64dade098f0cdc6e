#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace rir::host
{
    // The bundle folder ("NAME.vst3") that holds a module binary
    // (NAME.vst3/Contents/<arch>/NAME.so); a folder passed in is returned as it is.
    juce::File bundleFor (const juce::File& bundleOrBinary);

    // Loads VST3 bundles through JUCE's hosting code, as a DAW does.
    class PluginHost
    {
    public:
        PluginHost();

        // The plug-in classes a bundle offers; empty when the bundle cannot be read.
        juce::OwnedArray<juce::PluginDescription> describe (const juce::File& bundle);

        // Creates an instance of the bundle's first class; null with a message in error on failure.
        std::unique_ptr<juce::AudioPluginInstance> load (const juce::File& bundle, double sampleRate,
                                                         int blockSize, juce::String& error);

    private:
        juce::AudioPluginFormatManager formats;
    };
}
