// Test helper for ruv_render: writes a MIDI file with known timing and checks rendered WAV files.
//   render_check midi FILE                 writes the test phrase
//   render_check wav FILE RATE BITS demo|phrase   checks a rendering of the demo or of that phrase
//   render_check differ FILE FILE                  passes when two renderings differ audibly
#include <juce_audio_formats/juce_audio_formats.h>

#include <cmath>
#include <iostream>

namespace
{
    // Two tracks at 90 bpm, so a reader that ignores the tempo or merges only one track is caught.
    constexpr double beatsPerMinute = 90.0;
    constexpr int ticksPerBeat = 480;
    struct PhraseNote { int track; int key; double startBeat; double endBeat; };
    constexpr PhraseNote phrase[] = { { 1, 60, 2.0, 5.0 }, { 2, 67, 3.0, 6.5 } };
    constexpr double tailSeconds = 1.5;

    double secondsAt (double beat) { return beat * 60.0 / beatsPerMinute; }

    bool writeMidi (const juce::File& file)
    {
        juce::MidiFile midi;
        midi.setTicksPerQuarterNote (ticksPerBeat);

        juce::MidiMessageSequence tempoTrack;
        tempoTrack.addEvent (juce::MidiMessage::tempoMetaEvent ((int) std::lround (60.0e6 / beatsPerMinute)), 0.0);
        midi.addTrack (tempoTrack);

        for (int track = 1; track <= 2; ++track)
        {
            juce::MidiMessageSequence notes;
            for (const auto& note : phrase)
                if (note.track == track)
                {
                    notes.addEvent (juce::MidiMessage::noteOn (1, note.key, (juce::uint8) 100), note.startBeat * ticksPerBeat);
                    notes.addEvent (juce::MidiMessage::noteOff (1, note.key), note.endBeat * ticksPerBeat);
                }
            midi.addTrack (notes);
        }

        file.deleteFile();
        juce::FileOutputStream stream (file);
        return stream.openedOk() && midi.writeTo (stream);
    }

    float peakOf (const juce::AudioBuffer<float>& audio, int channel, int start, int end)
    {
        start = juce::jlimit (0, audio.getNumSamples(), start);
        end = juce::jlimit (start, audio.getNumSamples(), end);
        return audio.getMagnitude (channel, start, end - start);
    }

    int check (bool condition, const juce::String& what)
    {
        std::cout << (condition ? "ok:     " : "FAILED: ") << what << std::endl;
        return condition ? 0 : 1;
    }

    std::unique_ptr<juce::AudioFormatReader> openWav (const juce::File& file)
    {
        juce::WavAudioFormat wav;
        return std::unique_ptr<juce::AudioFormatReader> (wav.createReaderFor (file.createInputStream().release(), true));
    }

    juce::AudioBuffer<float> readAll (juce::AudioFormatReader& reader)
    {
        juce::AudioBuffer<float> audio ((int) reader.numChannels, (int) reader.lengthInSamples);
        reader.read (&audio, 0, audio.getNumSamples(), 0, true, true);
        return audio;
    }

    int checkDiffer (const juce::File& first, const juce::File& second)
    {
        auto a = openWav (first), b = openWav (second);
        if (a == nullptr || b == nullptr)
            return check (false, "readable WAV files");

        const auto audioA = readAll (*a), audioB = readAll (*b);
        int failures = check (audioA.getNumSamples() == audioB.getNumSamples(), "same length");

        float difference = 0.0f;
        const int length = juce::jmin (audioA.getNumSamples(), audioB.getNumSamples());
        for (int ch = 0; ch < juce::jmin (audioA.getNumChannels(), audioB.getNumChannels()); ++ch)
            for (int i = 0; i < length; ++i)
                difference = juce::jmax (difference, std::abs (audioA.getSample (ch, i) - audioB.getSample (ch, i)));

        return failures + check (difference > 0.01f, "largest difference " + juce::String (difference));
    }

    int checkWav (const juce::File& file, double rate, int bits, bool isPhrase)
    {
        auto reader = openWav (file);
        if (reader == nullptr)
            return check (false, "readable WAV file " + file.getFullPathName());

        int failures = check (reader->numChannels == 2, "stereo")
                     + check (reader->sampleRate == rate, "sample rate " + juce::String (reader->sampleRate))
                     + check ((int) reader->bitsPerSample == bits, juce::String (reader->bitsPerSample) + " bits");

        const auto audio = readAll (*reader);
        const auto length = audio.getNumSamples();
        const double seconds = length / rate;

        bool finite = true;
        for (int ch = 0; ch < audio.getNumChannels(); ++ch)
            for (int i = 0; i < length; ++i)
                finite = finite && std::isfinite (audio.getSample (ch, i));
        failures += check (finite, "finite samples");

        for (int ch = 0; ch < audio.getNumChannels(); ++ch)
            failures += check (peakOf (audio, ch, 0, length) > 0.01f, "audio in channel " + juce::String (ch));

        if (! isPhrase)
            return failures + check (seconds > 5.0 && seconds < 15.0, "length " + juce::String (seconds) + " s");

        // Silence until the first note, sound while it plays; the file ends tailSeconds after
        // the last note-off, to within one block.
        const auto sampleAt = [rate] (double s) { return (int) std::lround (s * rate); };
        const double firstStart = secondsAt (phrase[0].startBeat);
        const double lastEnd = secondsAt (juce::jmax (phrase[0].endBeat, phrase[1].endBeat));
        const int slack = 1024;

        // The overdrive's memory starts away from its bias point, so the first sample of a
        // prepared instance is a small step even in silence; the rest must be silent.
        for (int ch = 0; ch < audio.getNumChannels(); ++ch)
        {
            failures += check (peakOf (audio, ch, 1, sampleAt (firstStart) - slack) < 1.0e-4f, "silent before the first note");
            failures += check (peakOf (audio, ch, sampleAt (firstStart), sampleAt (firstStart + 0.2)) > 0.01f, "sound at the first note");
        }
        failures += check (std::abs (length - sampleAt (lastEnd + tailSeconds)) <= slack,
                           "length " + juce::String (seconds, 3) + " s, expected " + juce::String (lastEnd + tailSeconds, 3));
        return failures;
    }
}

int main (int argc, char* argv[])
{
    const juce::StringArray args (argv + 1, argc - 1);
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (args[1]);

    if (args.size() == 2 && args[0] == "midi")
        return writeMidi (file) ? 0 : check (false, "wrote " + file.getFullPathName());

    if (args.size() == 3 && args[0] == "differ")
        return checkDiffer (file, juce::File::getCurrentWorkingDirectory().getChildFile (args[2])) == 0 ? 0 : 1;

    if (args.size() == 5 && args[0] == "wav")
        return checkWav (file, args[2].getDoubleValue(), args[3].getIntValue(), args[4] == "phrase") == 0 ? 0 : 1;

    std::cerr << "usage: render_check midi FILE | wav FILE RATE BITS demo|phrase | differ FILE FILE" << std::endl;
    return 2;
}
