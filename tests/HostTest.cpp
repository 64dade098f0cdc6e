// Loads the built bundle through JUCE's VST3 hosting code and checks what a DAW sees.
#include "PluginHost.h"

#include <gtest/gtest.h>

namespace
{
    const juce::File bundle = rir::host::bundleFor (juce::File (RUV_PLUGIN_BINARY));

    // The fourteen parameters a host lists first, before the framework's own.
    struct HostParameter { const char* id; const char* name; float defaultValue; };
    constexpr HostParameter hostParameters[] = {
        { "bar1", "16'", 0.9f },    { "bar2", "5 1/3'", 0.0f }, { "bar3", "8'", 0.9f },
        { "bar4", "4'", 0.7f },     { "bar5", "2 2/3'", 0.0f }, { "bar6", "2'", 0.4f },
        { "bar7", "1 3/5'", 0.0f }, { "bar8", "1 1/3'", 0.0f }, { "bar9", "1'", 0.2f },
        { "perc", "Percussion", 0.3f }, { "vibrato", "Vibrato", 0.2f }, { "rotary", "Rotary", 0.4f },
        { "drive", "Drive", 0.25f },    { "volume", "Volume", 0.49953f },
    };

    // The numeric id a VST3 host stores for a parameter ID string.
    juce::String vst3IdOf (const juce::String& id)
    {
        return juce::String ((int) ((juce::uint32) id.hashCode() & 0x7fffffffu));
    }

    juce::Array<juce::AudioProcessorParameter*> automatableParameters (juce::AudioPluginInstance& instance)
    {
        juce::Array<juce::AudioProcessorParameter*> result;
        for (auto* parameter : instance.getParameters())
            if (parameter->isAutomatable())
                result.add (parameter);
        return result;
    }

    class HostedPlugin : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            ASSERT_TRUE (bundle.isDirectory()) << bundle.getFullPathName();
            plugin = load();
            ASSERT_NE (plugin, nullptr);
        }

        std::unique_ptr<juce::AudioPluginInstance> load()
        {
            juce::String error;
            auto instance = host.load (bundle, 48000.0, 512, error);
            EXPECT_TRUE (error.isEmpty()) << error;
            return instance;
        }

        rir::host::PluginHost host;
        std::unique_ptr<juce::AudioPluginInstance> plugin;
    };
}

TEST_F (HostedPlugin, DescribesItselfAsAStereoInstrumentFromDavIravo)
{
    const auto types = host.describe (bundle);
    ASSERT_EQ (types.size(), 1);
    const auto& description = *types.getFirst();

    EXPECT_EQ (description.name, "RUV AZOZU");
    EXPECT_EQ (description.manufacturerName, "DAV Iravo");
    EXPECT_EQ (description.version, "0.1.0");
    EXPECT_EQ (description.pluginFormatName, "VST3");
    EXPECT_EQ (description.category, "Instrument|Synth");
    EXPECT_TRUE (description.isInstrument);
    EXPECT_EQ (description.numInputChannels, 0);
    EXPECT_EQ (description.numOutputChannels, 2);

    EXPECT_EQ (plugin->getName(), "RUV AZOZU");
    EXPECT_TRUE (plugin->acceptsMidi());
    EXPECT_FALSE (plugin->producesMidi());
    EXPECT_DOUBLE_EQ (plugin->getTailLengthSeconds(), 8.0);
    EXPECT_TRUE (plugin->hasEditor());
}

TEST_F (HostedPlugin, OffersAStereoOutputAcceptsMonoAndRefusesSurround)
{
    EXPECT_EQ (plugin->getBusCount (true), 0);
    ASSERT_EQ (plugin->getBusCount (false), 1);
    EXPECT_EQ (plugin->getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (plugin->getChannelLayoutOfBus (false, 0), juce::AudioChannelSet::stereo());
    EXPECT_TRUE (plugin->getBus (false, 0)->isEnabled());

    auto layoutWith = [] (const juce::AudioChannelSet& output)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.outputBuses.add (output);
        return layout;
    };

    EXPECT_TRUE (plugin->checkBusesLayoutSupported (layoutWith (juce::AudioChannelSet::stereo())));
    EXPECT_TRUE (plugin->checkBusesLayoutSupported (layoutWith (juce::AudioChannelSet::mono())));
    EXPECT_FALSE (plugin->checkBusesLayoutSupported (layoutWith (juce::AudioChannelSet::create5point1())));
}

TEST_F (HostedPlugin, ListsTheFourteenParametersThenBypassAndProgram)
{
    const auto parameters = automatableParameters (*plugin);
    ASSERT_GE (parameters.size(), 16);

    for (int i = 0; i < 14; ++i)
    {
        const auto& expected = hostParameters[i];
        SCOPED_TRACE (expected.id);
        auto* parameter = dynamic_cast<juce::HostedAudioProcessorParameter*> (parameters[i]);
        ASSERT_NE (parameter, nullptr);
        EXPECT_EQ (parameter->getName (100), expected.name);
        EXPECT_EQ (parameter->getParameterID(), vst3IdOf (expected.id));
        EXPECT_NEAR (parameter->getDefaultValue(), expected.defaultValue, 1e-5f);
        EXPECT_NEAR (parameter->getValue(), expected.defaultValue, 1e-5f);
    }

    EXPECT_EQ (parameters[14]->getName (100), "Bypass");
    EXPECT_EQ (parameters[15]->getName (100), "Program");
    EXPECT_EQ (parameters[15]->getNumSteps(), 4);
}

TEST_F (HostedPlugin, ShowsParameterValuesAsPercentAndDecibelTexts)
{
    const auto parameters = automatableParameters (*plugin);

    struct Case { int index; float normalised; const char* text; };
    const Case cases[] = {
        { 0, 0.9f, "90 %" }, { 1, 0.0f, "0 %" }, { 8, 1.0f, "100 %" }, { 12, 0.25f, "25 %" },
        { 13, 0.0f, "-60.0 dB" }, { 13, 1.0f, "6.0 dB" }, { 13, 0.49953f, "-10.0 dB" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (parameters[c.index]->getText (c.normalised, 100), c.text) << hostParameters[c.index].id;
}

TEST_F (HostedPlugin, OffersTheFourFactoryProgramsByName)
{
    ASSERT_EQ (plugin->getNumPrograms(), 4);
    const char* names[] = { "Full Gospel", "Jazz Trio", "Rock 888", "Flute Stop" };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ (plugin->getProgramName (i), names[i]);
}

TEST_F (HostedPlugin, StateRoundTripsIntoASecondInstance)
{
    auto parameters = automatableParameters (*plugin);
    // Values on the parameters' grids, so that the plug-in's snapping does not move them.
    const std::pair<int, float> edits[] = { { 0, 0.1f }, { 4, 0.5f }, { 10, 0.8f }, { 12, 1.0f }, { 13, 0.0f } };
    for (const auto& [index, value] : edits)
        parameters[index]->setValueNotifyingHost (value);

    juce::MemoryBlock state;
    plugin->getStateInformation (state);
    ASSERT_GT (state.getSize(), 0u);

    auto second = load();
    ASSERT_NE (second, nullptr);
    second->setStateInformation (state.getData(), (int) state.getSize());

    const auto restored = automatableParameters (*second);
    for (int i = 0; i < 14; ++i)
        EXPECT_NEAR (restored[i]->getValue(), parameters[i]->getValue(), 1e-4f) << hostParameters[i].id;
}

TEST_F (HostedPlugin, ProcessesSilentBlocksAsSilence)
{
    plugin->setPlayConfigDetails (0, 2, 48000.0, 512);
    plugin->prepareToPlay (48000.0, 512);

    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;

    for (int block = 0; block < 20; ++block)
    {
        buffer.clear();
        plugin->processBlock (buffer, midi);

        // The overdrive's memory starts below its bias point, so the very first sample after a
        // reset is not zero; everything after it is.
        const int first = block == 0 ? 1 : 0;
        for (int ch = 0; ch < 2; ++ch)
        {
            EXPECT_EQ (buffer.getMagnitude (ch, first, 512 - first), 0.0f) << "block " << block;
            EXPECT_TRUE (std::isfinite (buffer.getSample (ch, 0)));
        }
    }

    plugin->releaseResources();
}

namespace
{
    void setAll (juce::AudioPluginInstance& plugin, std::initializer_list<std::pair<int, float>> values)
    {
        const auto parameters = automatableParameters (plugin);
        for (const auto& [index, value] : values)
            parameters[index]->setValueNotifyingHost (value);
    }

    // Renders seconds of audio in host-sized blocks with the given events at absolute positions.
    juce::AudioBuffer<float> renderThroughHost (juce::AudioPluginInstance& plugin, int numSamples,
                                                const juce::MidiBuffer& events)
    {
        constexpr int blockSize = 512;
        plugin.setPlayConfigDetails (0, 2, 48000.0, blockSize);
        plugin.prepareToPlay (48000.0, blockSize);

        juce::AudioBuffer<float> output (2, numSamples), block (2, blockSize);
        juce::MidiBuffer midi;
        for (int start = 0; start + blockSize <= numSamples; start += blockSize)
        {
            midi.clear();
            midi.addEvents (events, start, blockSize, -start);
            block.clear();
            plugin.processBlock (block, midi);
            for (int ch = 0; ch < 2; ++ch)
                output.copyFrom (ch, start, block, ch, 0, blockSize);
        }

        plugin.releaseResources();
        return output;
    }
}

TEST_F (HostedPlugin, AMidiNoteSoundsAtItsPitchInStereo)
{
    // Only the 8' drawbar, no percussion, vibrato or drive: note 69 is a 440 Hz tone.
    setAll (*plugin, { { 0, 0.0f }, { 2, 1.0f }, { 3, 0.0f }, { 5, 0.0f }, { 8, 0.0f },
                       { 9, 0.0f }, { 10, 0.0f }, { 12, 0.0f } });

    juce::MidiBuffer events;
    events.addEvent (juce::MidiMessage::noteOn (1, 69, 1.0f), 1000);
    const auto out = renderThroughHost (*plugin, 48128, events);

    for (int ch = 0; ch < 2; ++ch)
    {
        EXPECT_EQ (out.getMagnitude (ch, 1, 999), 0.0f);
        EXPECT_GT (out.getRMSLevel (ch, 4800, 43000), 0.01f); // about 0.037 at the default -10 dB
    }

    // Count upward crossings of the signal's mean over one second after the attack.
    double mean = 0.0;
    for (int i = 4800; i < 48000; ++i)
        mean += out.getSample (0, i) + out.getSample (1, i);
    mean /= 43200.0;

    int crossings = 0;
    for (int i = 4801; i < 48000; ++i)
        crossings += (out.getSample (0, i - 1) + out.getSample (1, i - 1) < mean
                      && out.getSample (0, i) + out.getSample (1, i) >= mean) ? 1 : 0;
    EXPECT_NEAR (crossings / 0.9, 440.0, 2.0);
}

TEST_F (HostedPlugin, OutputStaysFiniteWhateverTheParameters)
{
    const auto parameters = automatableParameters (*plugin);
    juce::Random random (99);

    for (int trial = 0; trial < 6; ++trial)
    {
        for (int i = 0; i < 14; ++i)
            parameters[i]->setValueNotifyingHost (trial < 2 ? (float) trial : random.nextFloat());

        juce::MidiBuffer events;
        for (int note = 0; note < 128; note += 5)
            events.addEvent (juce::MidiMessage::noteOn (1 + note % 16, note, (juce::uint8) (1 + note % 127)), note * 37);

        const auto out = renderThroughHost (*plugin, 24576, events);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < out.getNumSamples(); ++i)
                ASSERT_TRUE (std::isfinite (out.getSample (ch, i))) << "trial " << trial;
        EXPECT_GT (out.getMagnitude (0, out.getNumSamples()), 0.0f);
    }
}
