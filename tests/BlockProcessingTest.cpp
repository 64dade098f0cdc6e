#include "TestHelpers.h"

#include <gtest/gtest.h>

using test::Render;
using test::setParameter;

namespace
{
    juce::MidiBuffer noteOn (int note, int position = 0, float velocity = 0.8f)
    {
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOn (1, note, velocity), position);
        return midi;
    }
}

TEST (BlockProcessing, VolumeRampsLinearlyOverTwentyMilliseconds)
{
    constexpr double sampleRate = 44100.0;
    constexpr int ramp = 882;

    // Same notes through two instances: one at 0 dB (no ramp from the initial gain of 1), one at
    // -10 dB. The overdrive comes before the volume, so their ratio is the output gain itself.
    OrganProcessor unity, quieter;
    setParameter (unity.apvts, "volume", 0.0f);
    for (auto* processor : { &unity, &quieter })
        processor->prepareToPlay (sampleRate, 256);

    const auto midi = noteOn (60);
    const Render reference (unity, 2048, 256, midi);
    const Render ramped (quieter, 2048, 256, midi);

    const float target = juce::Decibels::decibelsToGain (-10.0f);
    int compared = 0;
    for (int i = 1; i < 2048; ++i)
    {
        const float x = reference.output.getSample (0, i);
        if (std::abs (x) < 1e-3f)
            continue;

        const float expectedGain = i < ramp ? 1.0f + (target - 1.0f) * (float) (i + 1) / (float) ramp : target;
        EXPECT_NEAR (ramped.output.getSample (0, i) / x, expectedGain, 2e-4f) << "sample " << i;
        ++compared;
    }
    EXPECT_GT (compared, 1500);
}

TEST (BlockProcessing, PublishesThePeakOfEveryBlockAfterTheVolume)
{
    OrganProcessor processor;
    processor.prepareToPlay (48000.0, 512);
    setParameter (processor.apvts, "volume", 6.0f);
    setParameter (processor.apvts, "drive", 1.0f);

    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;

    // Silence: only the overdrive's first sample after a reset is not zero.
    processor.processBlock (buffer, midi);
    EXPECT_EQ (processor.meterLevels.peak().load(), buffer.getMagnitude (0, 512));
    EXPECT_GT (processor.meterLevels.peak().load(), 0.0f);
    EXPECT_EQ (buffer.getMagnitude (0, 1, 511), 0.0f);
    EXPECT_EQ (buffer.getMagnitude (1, 1, 511), 0.0f);

    processor.processBlock (buffer, midi);
    EXPECT_EQ (processor.meterLevels.peak().load(), 0.0f);

    for (int note : { 48, 55, 60, 64, 67, 72 })
        midi.addEvent (juce::MidiMessage::noteOn (1, note, 1.0f), 0);

    for (int block = 0; block < 8; ++block)
    {
        processor.processBlock (buffer, midi);
        midi.clear();
        EXPECT_EQ (processor.meterLevels.peak().load(), buffer.getMagnitude (0, 512));
    }

    // Full drive and +6 dB push the output past full scale: nothing limits it.
    EXPECT_GT (processor.meterLevels.peak().load(), 1.0f);
    EXPECT_EQ (processor.meterLevels.values[0].load(), 0.0f);
    EXPECT_EQ (processor.meterLevels.values[2].load(), 0.0f);
}

TEST (BlockProcessing, OddBlockSizesChannelCountsAndRatesStayFinite)
{
    struct Case { double sampleRate; int blockSize; int channels; };
    const Case cases[] = {
        { 44100.0, 1, 2 },   { 48000.0, 7, 2 },    { 96000.0, 4096, 2 }, { 22050.0, 33, 1 },
        { 8000.0, 512, 2 },  { 192000.0, 31, 2 },  { 48000.0, 0, 2 },    { 48000.0, 64, 0 },
        { 0.0, 64, 2 },      { -1.0, 64, 2 },      { std::numeric_limits<double>::quiet_NaN(), 64, 2 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.sampleRate) + " Hz, " + juce::String (c.blockSize) + " samples, "
                      + juce::String (c.channels) + " channels");

        OrganProcessor processor;
        processor.prepareToPlay (c.sampleRate, c.blockSize);

        juce::MidiBuffer midi;
        for (int note = 20; note < 120; note += 7)
            midi.addEvent (juce::MidiMessage::noteOn (1 + note % 16, note, 1.0f), 0);

        juce::AudioBuffer<float> buffer (c.channels, c.blockSize);
        for (int block = 0; block < 20; ++block)
        {
            processor.processBlock (buffer, midi);
            midi.clear();

            ASSERT_TRUE (test::allFinite (buffer));
            ASSERT_TRUE (std::isfinite (processor.meterLevels.peak().load()));
        }
    }
}

TEST (BlockProcessing, OnScreenKeyboardNotesSoundInTheNextBlockAndHostNotesLightItsKeys)
{
    OrganProcessor processor;
    processor.prepareToPlay (48000.0, 256);

    juce::AudioBuffer<float> buffer (2, 256);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);

    processor.keyboardState.noteOn (1, 72, 1.0f);
    processor.processBlock (buffer, midi);
    EXPECT_GT (buffer.getMagnitude (0, 256), 0.01f);

    juce::MidiBuffer host;
    host.addEvent (juce::MidiMessage::noteOn (3, 50, 1.0f), 10);
    processor.processBlock (buffer, host);
    EXPECT_TRUE (processor.keyboardState.isNoteOn (3, 50));

    juce::MidiBuffer allOff;
    allOff.addEvent (juce::MidiMessage::allNotesOff (1), 0);
    allOff.addEvent (juce::MidiMessage::allNotesOff (3), 0);
    processor.processBlock (buffer, allOff);
    EXPECT_FALSE (processor.keyboardState.isNoteOnForChannels (0xffff, 50));
    EXPECT_FALSE (processor.keyboardState.isNoteOnForChannels (0xffff, 72));
}

TEST (BlockProcessing, AcceptsOnlyMonoOrStereoOutputs)
{
    OrganProcessor processor;

    auto layoutWith = [] (std::initializer_list<juce::AudioChannelSet> outputs, bool withInput)
    {
        juce::AudioProcessor::BusesLayout layout;
        for (const auto& output : outputs)
            layout.outputBuses.add (output);
        if (withInput)
            layout.inputBuses.add (juce::AudioChannelSet::create7point1());
        return layout;
    };

    for (bool withInput : { false, true })
    {
        EXPECT_TRUE (processor.isBusesLayoutSupported (layoutWith ({ juce::AudioChannelSet::stereo() }, withInput)));
        EXPECT_TRUE (processor.isBusesLayoutSupported (layoutWith ({ juce::AudioChannelSet::mono() }, withInput)));
        EXPECT_FALSE (processor.isBusesLayoutSupported (layoutWith ({ juce::AudioChannelSet::create5point1() }, withInput)));
        EXPECT_FALSE (processor.isBusesLayoutSupported (layoutWith ({ juce::AudioChannelSet::disabled() }, withInput)));
        EXPECT_FALSE (processor.isBusesLayoutSupported (layoutWith ({}, withInput)));
    }
}

TEST (BlockProcessing, AFloodOfMidiIsPlayedWithoutHarm)
{
    OrganProcessor processor;
    processor.prepareToPlay (48000.0, 512);

    juce::Random random (5);
    juce::AudioBuffer<float> buffer (2, 512);

    for (int block = 0; block < 10; ++block)
    {
        // Thousands of events per block: notes on every channel, controllers, pitch bends,
        // program changes, all-notes-off and system exclusive messages.
        juce::MidiBuffer midi;
        for (int i = 0; i < 5000; ++i)
        {
            const int channel = 1 + random.nextInt (16), position = random.nextInt (512);
            switch (random.nextInt (6))
            {
                case 0:  midi.addEvent (juce::MidiMessage::noteOn (channel, random.nextInt (128), (juce::uint8) random.nextInt (128)), position); break;
                case 1:  midi.addEvent (juce::MidiMessage::noteOff (channel, random.nextInt (128)), position); break;
                case 2:  midi.addEvent (juce::MidiMessage::controllerEvent (channel, random.nextInt (128), random.nextInt (128)), position); break;
                case 3:  midi.addEvent (juce::MidiMessage::pitchWheel (channel, random.nextInt (16384)), position); break;
                case 4:  midi.addEvent (juce::MidiMessage::programChange (channel, random.nextInt (128)), position); break;
                default:
                {
                    const juce::uint8 sysex[] = { 0x7d, (juce::uint8) random.nextInt (128), 0x01, 0x02 };
                    midi.addEvent (juce::MidiMessage::createSysExMessage (sysex, (int) sizeof (sysex)), position);
                }
            }
        }

        processor.processBlock (buffer, midi);

        ASSERT_TRUE (test::allFinite (buffer));
    }

    // MIDI program changes are not factory programs: only the host's program calls switch them.
    EXPECT_EQ (processor.getCurrentProgram(), 0);
}
