#include "Score.h"

namespace rir::render
{

Score readMidiFile (const juce::File& file)
{
    Score score;
    juce::FileInputStream stream (file);
    juce::MidiFile midi;

    if (! stream.openedOk() || ! midi.readFrom (stream))
    {
        score.error = "cannot read MIDI file " + file.getFullPathName();
        return score;
    }

    midi.convertTimestampTicksToSeconds();

    for (int t = 0; t < midi.getNumTracks(); ++t)
        for (const auto* holder : *midi.getTrack (t))
            if (! holder->message.isMetaEvent() && ! holder->message.isSysEx())
                score.events.addEvent (holder->message);

    score.events.sort();
    score.events.updateMatchedPairs();

    bool hasNotes = false;
    for (const auto* holder : score.events)
        hasNotes = hasNotes || holder->message.isNoteOn();

    if (! hasNotes)
        score.error = "MIDI file has no notes: " + file.getFullPathName();

    return score;
}

Score demoPhrase()
{
    // Beats at 120 bpm; each entry is one note.
    struct Note { int key; double startBeat; double beats; int velocity; };
    static const Note notes[] = {
        // Chords: C, A minor, F, G, each held for a bar with the bass an octave down.
        { 36, 0, 4, 90 },  { 60, 0, 4, 90 },  { 64, 0, 4, 90 },  { 67, 0, 4, 90 },
        { 45, 4, 4, 90 },  { 60, 4, 4, 90 },  { 64, 4, 4, 90 },  { 69, 4, 4, 90 },
        { 41, 8, 4, 90 },  { 60, 8, 4, 90 },  { 65, 8, 4, 90 },  { 69, 8, 4, 90 },
        { 43, 12, 2, 90 }, { 59, 12, 2, 90 }, { 62, 12, 2, 90 }, { 67, 12, 2, 90 },
        // Final C chord.
        { 36, 14, 2, 90 }, { 60, 14, 2, 90 }, { 64, 14, 2, 90 }, { 67, 14, 2, 90 },
        // Melody above.
        { 76, 0, 1, 110 },   { 79, 1, 1, 110 },   { 84, 2, 1.5, 110 }, { 83, 3.5, 0.5, 110 },
        { 81, 4, 1, 110 },   { 76, 5, 1, 110 },   { 72, 6, 2, 110 },
        { 77, 8, 0.5, 110 }, { 76, 8.5, 0.5, 110 }, { 74, 9, 1, 110 }, { 72, 10, 1, 110 }, { 69, 11, 1, 110 },
        { 71, 12, 1, 110 },  { 74, 13, 1, 110 },  { 72, 14, 2, 110 },
    };

    constexpr double secondsPerBeat = 60.0 / 120.0;
    constexpr int channel = 1;

    Score score;
    for (const auto& note : notes)
    {
        const double start = note.startBeat * secondsPerBeat;
        // Released slightly early so repeated keys re-strike.
        const double end = (note.startBeat + note.beats) * secondsPerBeat - 0.02;
        score.events.addEvent (juce::MidiMessage::noteOn (channel, note.key, (juce::uint8) note.velocity), start);
        score.events.addEvent (juce::MidiMessage::noteOff (channel, note.key), end);
    }

    score.events.sort();
    score.events.updateMatchedPairs();
    return score;
}

} // namespace rir::render
