#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace rir::render
{
    // The MIDI to play, with every timestamp in seconds from the start.
    struct Score
    {
        juce::MidiMessageSequence events;
        juce::String error;

        bool ok() const { return error.isEmpty(); }
    };

    // All tracks of a standard MIDI file merged into one sequence; meta events are dropped.
    Score readMidiFile (const juce::File& file);

    // A few organ chords under a short melody, about eight seconds long.
    Score demoPhrase();
}
