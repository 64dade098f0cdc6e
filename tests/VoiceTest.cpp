#include "OrganVoice.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr double twoPi = 6.283185307179586;
    constexpr float panGain = 1.4f;   // 2 x 0.7: left + right = 1.4 y wherever the pan stands
    constexpr float voiceLevel = 0.18f;

    struct Settings
    {
        std::array<float, 9> bars {};
        float perc = 0.0f, vibrato = 0.0f, rotary = 0.0f;
    };

    Settings only (int drawbar, float value = 1.0f)
    {
        Settings s;
        s.bars[(size_t) drawbar] = value;
        return s;
    }

    // A synthesiser with organ voices reading parameters we control.
    class VoiceRig
    {
    public:
        explicit VoiceRig (const Settings& settings, int numVoices = 1)
        {
            for (size_t k = 0; k < 9; ++k)
                parameters.bars[k] = &values[k];
            parameters.perc = &values[9];
            parameters.vibrato = &values[10];
            parameters.rotary = &values[11];
            apply (settings);

            synth.addSound (new OrganSound());
            for (int i = 0; i < numVoices; ++i)
                synth.addVoice (new OrganVoice (parameters));
            synth.setNoteStealingEnabled (true);
            synth.setCurrentPlaybackSampleRate (sampleRate);
        }

        void apply (const Settings& s)
        {
            for (size_t k = 0; k < 9; ++k)
                values[k] = s.bars[k];
            values[9] = s.perc;
            values[10] = s.vibrato;
            values[11] = s.rotary;
        }

        juce::AudioBuffer<float> render (int numSamples, int numChannels = 2, const juce::MidiBuffer& midi = {})
        {
            juce::AudioBuffer<float> buffer (numChannels, numSamples);
            buffer.clear();
            synth.renderNextBlock (buffer, midi, 0, numSamples);
            return buffer;
        }

        // Left plus right: the voice signal times 1.4, independent of the pan.
        std::vector<float> renderMono (int numSamples)
        {
            const auto buffer = render (numSamples);
            std::vector<float> sum ((size_t) numSamples);
            for (int i = 0; i < numSamples; ++i)
                sum[(size_t) i] = buffer.getSample (0, i) + buffer.getSample (1, i);
            return sum;
        }

        int activeVoices() const
        {
            int count = 0;
            for (int i = 0; i < synth.getNumVoices(); ++i)
                count += synth.getVoice (i)->isVoiceActive() ? 1 : 0;
            return count;
        }

        juce::Synthesiser synth;

    private:
        std::array<std::atomic<float>, 12> values {};
        VoiceParameters parameters;
    };

    float rms (const std::vector<float>& x, size_t start, size_t length)
    {
        double sum = 0.0;
        for (size_t i = start; i < start + length; ++i)
            sum += (double) x[i] * x[i];
        return (float) std::sqrt (sum / (double) length);
    }

    // Instantaneous frequencies from the spacing of upward zero crossings (linearly interpolated).
    std::vector<double> zeroCrossingFrequencies (const std::vector<float>& x, size_t start)
    {
        std::vector<double> crossings, frequencies;
        for (size_t i = start + 1; i < x.size(); ++i)
            if (x[i - 1] < 0.0f && x[i] >= 0.0f)
                crossings.push_back ((double) (i - 1) + x[i - 1] / (double) (x[i - 1] - x[i]));
        for (size_t i = 1; i < crossings.size(); ++i)
            frequencies.push_back (sampleRate / (crossings[i] - crossings[i - 1]));
        return frequencies;
    }
}

TEST (OrganVoice, DrawbarsSoundExactSinesAtTheirFootages)
{
    // Each drawbar alone on note 69 (440 Hz): a sine at its ratio, starting in phase 0.
    const std::pair<int, double> cases[] = { { 2, 440.0 }, { 0, 220.0 }, { 1, 660.0 }, { 8, 3520.0 } };

    for (const auto& [drawbar, frequency] : cases)
    {
        SCOPED_TRACE (frequency);
        VoiceRig rig (only (drawbar, 0.8f));
        rig.synth.noteOn (1, 69, 1.0f);
        const auto out = rig.renderMono (9600);

        // Once the 4 ms attack has settled (e^-25 left after 100 ms) the output is the partial itself.
        for (size_t n = 4800; n < out.size(); n += 7)
        {
            const double expected = 0.8 * std::sin (twoPi * frequency * (double) (n + 1) / sampleRate);
            ASSERT_NEAR (out[n] / (panGain * voiceLevel), expected, 2e-4) << "sample " << n;
        }
    }
}

TEST (OrganVoice, AVoiceWithoutANoteIsSilent)
{
    VoiceRig rig (only (2));
    const auto buffer = rig.render (1024);
    EXPECT_EQ (buffer.getMagnitude (0, 1024), 0.0f);
}

TEST (OrganVoice, VelocityScalesTheLevelFromPointFourToOneWithoutChangingTheTimbre)
{
    Settings rich;
    rich.bars = { 0.9f, 0.3f, 0.9f, 0.5f, 0.2f, 0.4f, 0.1f, 0.1f, 0.2f };
    rich.perc = 0.5f;
    rich.vibrato = 0.7f;

    VoiceRig loudest (rich);
    loudest.synth.noteOn (1, 60, 1.0f);
    const auto reference = loudest.renderMono (2048);

    for (const auto& [velocity, gain] : { std::pair { 0.0f, 0.4f }, { 0.5f, 0.7f }, { 1.0f, 1.0f } })
    {
        VoiceRig rig (rich);
        rig.synth.noteOn (1, 60, velocity);
        const auto out = rig.renderMono (2048);
        for (size_t n = 0; n < out.size(); ++n)
            ASSERT_NEAR (out[n], reference[n] * gain, 1e-6f) << "velocity " << velocity << ", sample " << n;
    }
}

TEST (OrganVoice, PanSwingsBetweenTheSidesStartingTowardsChannelOne)
{
    for (const auto& [rotary, rate] : { std::pair { 0.0f, 0.5 }, { 1.0f, 7.0 } })
    {
        SCOPED_TRACE (rotary);
        Settings s = only (2);
        s.rotary = rotary;
        VoiceRig rig (s);
        rig.synth.noteOn (1, 69, 1.0f);
        const auto buffer = rig.render ((int) sampleRate);

        bool movedRightFirst = false;
        for (int n = 0; n < buffer.getNumSamples(); ++n)
        {
            const float left = buffer.getSample (0, n), right = buffer.getSample (1, n);
            if (std::abs (left + right) < 0.02f)
                continue;

            const double pan = right / (left + right);
            const double expected = 0.5 + 0.35 * std::sin (twoPi * rate * (n + 1) / sampleRate);
            ASSERT_NEAR (pan, expected, 1e-3) << "sample " << n;
            if (n < 2000 && pan > 0.5)
                movedRightFirst = true;
        }
        EXPECT_TRUE (movedRightFirst);
    }

    // A one-channel buffer gets only the (1 - p) share: the left channel of a stereo render.
    VoiceRig stereo (only (2)), mono (only (2));
    stereo.synth.noteOn (1, 69, 1.0f);
    mono.synth.noteOn (1, 69, 1.0f);
    const auto wide = stereo.render (4096);
    const auto narrow = mono.render (4096, 1);
    for (int n = 0; n < 4096; ++n)
        ASSERT_EQ (narrow.getSample (0, n), wide.getSample (0, n));
}

TEST (OrganVoice, PercussionDecaysByOneOverEInTwoHundredMillisecondsWhileHeld)
{
    // Drawbars at 0: what sounds is the percussion alone on the 4' and 2 2/3' partials.
    Settings s;
    s.perc = 1.0f;
    VoiceRig rig (s);
    rig.synth.noteOn (1, 57, 1.0f);
    const auto out = rig.renderMono ((int) (0.5 * sampleRate));

    const auto window = (size_t) (0.02 * sampleRate); // a whole number of periods of both partials
    const float early = rms (out, (size_t) (0.1 * sampleRate), window);
    const float late = rms (out, (size_t) (0.3 * sampleRate), window);
    EXPECT_GT (early, 0.05f);
    EXPECT_NEAR (late / early, std::exp (-1.0f), 0.01f);

    // It starts a full 1.0 above the drawbars: at "perc" 0 the same note is silent.
    s.perc = 0.0f;
    VoiceRig silent (s);
    silent.synth.noteOn (1, 57, 1.0f);
    const auto none = silent.renderMono (4800);
    EXPECT_EQ (rms (none, 0, none.size()), 0.0f);
}

TEST (OrganVoice, ReleaseFadesInAbout74msAndFreesTheVoice)
{
    VoiceRig rig (only (2));
    rig.synth.noteOn (1, 69, 1.0f);
    rig.render (4800);
    rig.synth.noteOff (1, 69, 0.0f, true);

    const int millisecond = (int) (sampleRate / 1000.0);
    int freedAfter = -1;
    for (int ms = 1; ms <= 100 && freedAfter < 0; ++ms)
    {
        rig.render (millisecond);
        if (rig.activeVoices() == 0)
            freedAfter = ms;
    }

    // 8 ms time constant: 1e-4 is reached after 8 ms x ln(1e4) = 73.7 ms.
    EXPECT_GE (freedAfter, 73);
    EXPECT_LE (freedAfter, 75);
    EXPECT_EQ (rig.render (1024).getMagnitude (0, 1024), 0.0f);
}

TEST (OrganVoice, VibratoSwingsThePitchBySixThousandthsOfAnOctave)
{
    for (const float depth : { 0.0f, 1.0f })
    {
        SCOPED_TRACE (depth);
        Settings s = only (2);
        s.vibrato = depth;
        VoiceRig rig (s);
        rig.synth.noteOn (1, 69, 1.0f);
        const auto frequencies = zeroCrossingFrequencies (rig.renderMono ((int) sampleRate), 960);

        const auto [low, high] = std::minmax_element (frequencies.begin(), frequencies.end());
        const double swing = 440.0 * (std::pow (2.0, 0.006 * depth) - 1.0); // 1.83 Hz at full depth
        EXPECT_NEAR (*high, 440.0 + swing, 0.1);
        EXPECT_NEAR (*low, 440.0 * std::pow (2.0, -0.006 * depth), 0.1);

        if (depth > 0.0f)
        {
            // 6.4 Hz: count the upward passes through 440 Hz over one second.
            int cycles = 0;
            for (size_t i = 1; i < frequencies.size(); ++i)
                cycles += (frequencies[i - 1] < 440.0 && frequencies[i] >= 440.0) ? 1 : 0;
            EXPECT_NEAR (cycles, 6.4, 1.0);
        }
    }
}

TEST (OrganVoice, ANinthNoteStealsAVoice)
{
    VoiceRig rig (only (2), 8);
    for (int note = 60; note < 68; ++note)
        rig.synth.noteOn (1, note, 1.0f);
    rig.render (256);
    EXPECT_EQ (rig.activeVoices(), 8);

    rig.synth.noteOn (1, 72, 1.0f);
    rig.render (256);
    EXPECT_EQ (rig.activeVoices(), 8);

    bool ninthSounds = false;
    for (int i = 0; i < 8; ++i)
        ninthSounds |= rig.synth.getVoice (i)->getCurrentlyPlayingNote() == 72;
    EXPECT_TRUE (ninthSounds);
}

TEST (OrganVoice, PitchWheelAndControllersChangeNothing)
{
    juce::MidiBuffer plain, busy;
    plain.addEvent (juce::MidiMessage::noteOn (1, 64, 1.0f), 0);
    busy = plain;
    for (int position = 100; position < 4000; position += 300)
    {
        busy.addEvent (juce::MidiMessage::pitchWheel (1, (position * 7) % 16384), position);
        busy.addEvent (juce::MidiMessage::controllerEvent (1, 1, position % 128), position);  // modulation
        busy.addEvent (juce::MidiMessage::controllerEvent (1, 7, 0), position);               // channel volume
        busy.addEvent (juce::MidiMessage::aftertouchChange (1, 64, 100), position);
        busy.addEvent (juce::MidiMessage::channelPressureChange (1, 90), position);
    }

    VoiceRig a (only (2)), b (only (2));
    const auto expected = a.render (4096, 2, plain);
    const auto actual = b.render (4096, 2, busy);
    for (int ch = 0; ch < 2; ++ch)
        for (int n = 0; n < 4096; ++n)
            ASSERT_EQ (actual.getSample (ch, n), expected.getSample (ch, n));
}

TEST (OrganVoice, TheSustainPedalDefersTheRelease)
{
    VoiceRig rig (only (2));
    rig.synth.noteOn (1, 69, 1.0f);
    rig.synth.handleSustainPedal (1, true);
    rig.synth.noteOff (1, 69, 0.0f, true);

    const auto held = rig.renderMono ((int) (0.2 * sampleRate));
    EXPECT_EQ (rig.activeVoices(), 1);
    EXPECT_NEAR (rms (held, held.size() - 2400, 2400), rms (held, 960, 2400), 2e-3f);

    rig.synth.handleSustainPedal (1, false);
    rig.render ((int) (0.08 * sampleRate));
    EXPECT_EQ (rig.activeVoices(), 0);
}

TEST (OrganVoice, HighNotesWithEveryPartialStayFiniteAndBounded)
{
    Settings loud;
    loud.bars.fill (1.0f);
    loud.perc = loud.vibrato = loud.rotary = 1.0f;

    VoiceRig rig (loud, 8);
    for (int note = 120; note < 128; ++note)
        rig.synth.noteOn (1, note, 1.0f);

    const auto buffer = rig.render ((int) sampleRate);
    ASSERT_TRUE (test::allFinite (buffer));

    // Eleven unit partials at most, times 0.18 and the 1.19 pan extreme, per voice.
    EXPECT_LE (buffer.getMagnitude (0, buffer.getNumSamples()), 8 * 11 * 0.18f * 1.19f);
}
