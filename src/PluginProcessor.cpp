#include "PluginProcessor.h"

#include "Params.h"
#include "PluginEditor.h"
#include "Presets.h"
#include "SafeTreeReader.h"

#include <cmath>

namespace
{
    constexpr int numVoices = 8;
    constexpr double rampSeconds = 0.02;
    constexpr double tailSeconds = 8.0;

    int rampLengthFor (double sampleRate)
    {
        if (! std::isfinite (sampleRate) || sampleRate <= 0.0)
            return 0;

        return (int) std::floor (rampSeconds * sampleRate);
    }
}

OrganProcessor::OrganProcessor()
    : AudioProcessor (BusesProperties().withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      apvts (*this, nullptr, "PARAMETERS", Params::createLayout())
{
    for (size_t i = 0; i < voiceParameters.bars.size(); ++i)
        voiceParameters.bars[i] = apvts.getRawParameterValue ("bar" + juce::String ((int) i + 1));

    voiceParameters.perc = apvts.getRawParameterValue ("perc");
    voiceParameters.vibrato = apvts.getRawParameterValue ("vibrato");
    voiceParameters.rotary = apvts.getRawParameterValue ("rotary");
    drivePointer = apvts.getRawParameterValue ("drive");
    volumePointer = apvts.getRawParameterValue ("volume");

    synth.addSound (new OrganSound());
    for (int i = 0; i < numVoices; ++i)
        synth.addVoice (new OrganVoice (voiceParameters));

    synth.setNoteStealingEnabled (true);
}

OrganProcessor::~OrganProcessor() = default;

const juce::String OrganProcessor::getName() const { return "RUV AZOZU"; }

//==============================================================================
void OrganProcessor::prepareToPlay (double sampleRate, int)
{
    synth.setCurrentPlaybackSampleRate (sampleRate);
    for (int i = 0; i < synth.getNumVoices(); ++i)
        if (auto* voice = dynamic_cast<OrganVoice*> (synth.getVoice (i)))
            voice->setCurrentPlaybackSampleRate (sampleRate);

    const int ramp = rampLengthFor (sampleRate);
    driveGain.reset (ramp);
    outputGain.reset (ramp);
    driveState = {};
}

void OrganProcessor::releaseResources() {}

void OrganProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages)
{
    juce::ScopedNoDenormals noDenormals;

    const int totalOut = juce::jmin (getTotalNumOutputChannels(), buffer.getNumChannels());
    const int numSamples = buffer.getNumSamples();

    buffer.clear();

    keyboardState.processNextMidiBuffer (midiMessages, 0, numSamples, true);
    synth.renderNextBlock (buffer, midiMessages, 0, numSamples);

    applyOverdrive (buffer);
    applyOutputVolume (buffer, totalOut);

    const float peak = buffer.getNumChannels() > 0 ? buffer.getMagnitude (0, numSamples) : 0.0f;
    meterLevels.peak().store (peak, std::memory_order_relaxed);
}

void OrganProcessor::applyOverdrive (juce::AudioBuffer<float>& buffer)
{
    driveGain.setTargetValue (Overdrive::gainFor (drivePointer->load (std::memory_order_relaxed)));

    if (buffer.getNumChannels() == 0)
        return;

    const double tanhOfBias = Overdrive::tanhOfBias();

    // The gain advances once per sample of each channel, channel after channel.
    float lastGain = std::numeric_limits<float>::quiet_NaN();
    float compensation = 1.0f;

    for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
    {
        auto& memory = driveState[channel == 0 ? 0 : 1];
        auto* samples = buffer.getWritePointer (channel);

        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const float gain = driveGain.getNextValue();
            if (gain != lastGain)
            {
                lastGain = gain;
                compensation = Overdrive::compensationFor (gain);
            }

            samples[i] = Overdrive::processSample (samples[i], gain, compensation, tanhOfBias, memory);
        }
    }
}

void OrganProcessor::applyOutputVolume (juce::AudioBuffer<float>& buffer, int numChannels)
{
    outputGain.setTargetValue (juce::Decibels::decibelsToGain (volumePointer->load (std::memory_order_relaxed)));

    if (! outputGain.isSmoothing())
    {
        const float gain = outputGain.getTargetValue();
        for (int channel = 0; channel < numChannels; ++channel)
            buffer.applyGain (channel, 0, buffer.getNumSamples(), gain);
        return;
    }

    // One gain step per sample frame, shared by all channels.
    auto* const* channels = buffer.getArrayOfWritePointers();
    for (int i = 0; i < buffer.getNumSamples(); ++i)
    {
        const float gain = outputGain.getNextValue();
        for (int channel = 0; channel < numChannels; ++channel)
            channels[channel][i] *= gain;
    }
}

//==============================================================================
double OrganProcessor::getTailLengthSeconds() const { return tailSeconds; }
bool OrganProcessor::acceptsMidi() const { return true; }
bool OrganProcessor::producesMidi() const { return false; }
bool OrganProcessor::isMidiEffect() const { return false; }

juce::AudioProcessorEditor* OrganProcessor::createEditor() { return new OrganEditor (*this); }
bool OrganProcessor::hasEditor() const { return true; }

bool OrganProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto output = layouts.outputBuses.isEmpty() ? juce::AudioChannelSet::disabled()
                                                      : layouts.getMainOutputChannelSet();

    return output == juce::AudioChannelSet::mono() || output == juce::AudioChannelSet::stereo();
}

//==============================================================================
int OrganProcessor::getNumPrograms() { return (int) Presets::getFactoryPresets().size(); }
int OrganProcessor::getCurrentProgram() { return currentProgram; }

void OrganProcessor::setCurrentProgram (int index)
{
    if (index < 0 || index >= getNumPrograms())
        return;

    currentProgram = index;

    for (const auto& [id, value] : Presets::getFactoryPresets()[(size_t) index].values)
        if (auto* parameter = apvts.getParameter (id))
            parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
}

const juce::String OrganProcessor::getProgramName (int index)
{
    if (index < 0 || index >= getNumPrograms())
        return {};

    return Presets::getFactoryPresets()[(size_t) index].name;
}

void OrganProcessor::changeProgramName (int, const juce::String&) {}

//==============================================================================
void OrganProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const auto state = apvts.copyState();

    if (state.isValid())
    {
        juce::MemoryOutputStream stream (destData, false);
        state.writeToStream (stream);
    }
}

void OrganProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 0)
        return;

    auto restored = SafeTreeReader::read (data, (size_t) sizeInBytes);

    if (! restored.isValid())
        return;

    apvts.replaceState (sanitisedForRestore (restored));
}

// The framework takes a restored tree as it stands: a non-finite "value" would pass into the
// parameter, and a parameter missing from the tree would be reset to its default. A project
// restore must do neither, so non-finite values are replaced by the parameter's current value
// and missing parameters are added with their current values.
juce::ValueTree OrganProcessor::sanitisedForRestore (juce::ValueTree restored) const
{
    static const juce::Identifier idProperty ("id"), valueProperty ("value"), paramType ("PARAM");

    for (auto child : restored)
    {
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (apvts.getParameter (child[idProperty].toString()));

        if (parameter == nullptr || ! child.hasProperty (valueProperty))
            continue;

        if (! std::isfinite ((double) child[valueProperty]))
            child.setProperty (valueProperty, (double) parameter->convertFrom0to1 (parameter->getValue()), nullptr);
    }

    for (auto* parameter : getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        if (ranged == nullptr || restored.getChildWithProperty (idProperty, ranged->getParameterID()).isValid())
            continue;

        restored.appendChild (juce::ValueTree (paramType, { { idProperty, ranged->getParameterID() },
                                                            { valueProperty, (double) ranged->convertFrom0to1 (ranged->getValue()) } }),
                              nullptr);
    }

    return restored;
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new OrganProcessor();
}
