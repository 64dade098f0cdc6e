#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <atomic>

// Live parameter values every voice reads, resolved once by the processor.
struct VoiceParameters
{
    std::array<std::atomic<float>*, 9> bars {}; // "bar1" .. "bar9"
    std::atomic<float>* perc = nullptr;
    std::atomic<float>* vibrato = nullptr;
    std::atomic<float>* rotary = nullptr;
};

// The organ's only sound: it plays every note on every channel.
class OrganSound : public juce::SynthesiserSound
{
public:
    ~OrganSound() override = default;

    bool appliesToNote (int) override    { return true; }
    bool appliesToChannel (int) override { return true; }
};

// One key: nine drawbar sine partials with percussion, vibrato, a rotating pan and
// attack/release envelopes, added into the block's buffer.
class OrganVoice : public juce::SynthesiserVoice
{
public:
    static constexpr int numPartials = 9;

    // Partial frequency as a multiple of the note frequency, in drawbar order (16' .. 1').
    static constexpr std::array<double, numPartials> partialRatios { 0.5, 1.5, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 8.0 };

    explicit OrganVoice (VoiceParameters& parameters);
    ~OrganVoice() override = default;

    bool canPlaySound (juce::SynthesiserSound* sound) override;
    void startNote (int midiNoteNumber, float velocity, juce::SynthesiserSound*, int currentPitchWheelPosition) override;
    void stopNote (float velocity, bool allowTailOff) override;
    void pitchWheelMoved (int) override {}
    void controllerMoved (int, int) override {}

    using juce::SynthesiserVoice::renderNextBlock;
    void renderNextBlock (juce::AudioBuffer<float>& outputBuffer, int startSample, int numSamples) override;

private:
    VoiceParameters& params;

    std::array<double, numPartials> partialPhase {}; // cycles
    double frequency = 440.0;
    double vibratoPhase = 0.0;
    double panPhase = 0.0;
    float velocityGain = 1.0f;
    float percussionEnv = 0.0f;
    float releaseLevel = 0.0f; // also tells whether the voice still sounds
    float attackLevel = 0.0f;
    bool keyDown = false;
};
