#pragma once

#include "OrganVoice.h"
#include "Overdrive.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

// Levels the audio thread publishes once per block for the editor's meter, read by index.
struct MeterLevels
{
    static constexpr int peakIndex = 1;

    std::array<std::atomic<float>, 3> values { { { 0.0f }, { 0.0f }, { 0.0f } } };

    // Peak magnitude of the last block's output, linear (1.0 = full scale).
    std::atomic<float>& peak() noexcept { return values[(size_t) peakIndex]; }
};

class OrganProcessor : public juce::AudioProcessor
{
public:
    OrganProcessor();
    ~OrganProcessor() override;

    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;

    using juce::AudioProcessor::processBlock;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    juce::AudioProcessorValueTreeState apvts;

private:
    VoiceParameters voiceParameters;
    juce::Synthesiser synth;

public:
    juce::MidiKeyboardState keyboardState;

private:
    std::array<Overdrive::Memory, 2> driveState {}; // slot 0: channel 0; slot 1: channels 1 and up
    juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear> driveGain { 1.0f };
    std::atomic<float>* drivePointer = nullptr;
    std::atomic<float>* volumePointer = nullptr;
    juce::SmoothedValue<float, juce::ValueSmoothingTypes::Linear> outputGain { 1.0f };

public:
    MeterLevels meterLevels;

private:
    int currentProgram = 0;

    void applyOverdrive (juce::AudioBuffer<float>& buffer);
    void applyOutputVolume (juce::AudioBuffer<float>& buffer, int numChannels);
    juce::ValueTree sanitisedForRestore (juce::ValueTree restored) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrganProcessor)
};
