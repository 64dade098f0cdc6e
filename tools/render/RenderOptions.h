#pragma once

#include <juce_core/juce_core.h>

namespace rir::render
{
    // What one run of the render tool should do, as given on its command line.
    struct RenderOptions
    {
        juce::File bundle;          // the .vst3 folder or the module binary inside it
        juce::File midiFile;        // none: render the built-in demo phrase
        juce::File output;
        double sampleRate = 48000.0;
        int blockSize = 512;
        int program = -1;           // -1: keep the plug-in's current program
        int bitsPerSample = 24;
        double tailSeconds = 1.5;   // rendered after the last MIDI event
        bool showHelp = false;
    };

    // The options, or a message saying which argument was wrong.
    struct ParsedOptions
    {
        RenderOptions options;
        juce::String error;

        bool ok() const { return error.isEmpty(); }
    };

    // Relative paths are taken from the working directory.
    ParsedOptions parseOptions (const juce::StringArray& args, const juce::File& defaultBundle);

    juce::String usage();
}
