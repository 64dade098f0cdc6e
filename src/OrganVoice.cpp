#include "OrganVoice.h"

#include <cmath>

namespace
{
    constexpr double twoPi = 6.28318530718;

    constexpr float silenceThreshold = 0.0001f;  // release level below which the voice is free
    constexpr float partialThreshold = 0.001f;   // partial amplitudes at or below this skip their sine
    constexpr float voiceLevel = 0.18f;
    constexpr float panGain = 2.0f * 0.7f;       // 0.7 per side at the centre

    constexpr size_t percussiveFourFoot = 3;     // "bar4", 4'
    constexpr size_t percussiveTwoThirds = 4;    // "bar5", 2 2/3'

    float onePoleCoefficient (double seconds, double sampleRate)
    {
        return (float) std::exp (-1.0 / (seconds * sampleRate));
    }
}

OrganVoice::OrganVoice (VoiceParameters& parameters) : params (parameters) {}

bool OrganVoice::canPlaySound (juce::SynthesiserSound* sound)
{
    return dynamic_cast<OrganSound*> (sound) != nullptr;
}

void OrganVoice::startNote (int midiNoteNumber, float velocity, juce::SynthesiserSound*, int)
{
    velocityGain = velocity * 0.6f + 0.4f;
    frequency = 440.0 * std::pow (2.0, (midiNoteNumber - 69) / 12.0);

    partialPhase.fill (0.0);
    vibratoPhase = 0.0;
    panPhase = 0.0;
    attackLevel = 0.0f;

    keyDown = true;
    percussionEnv = 1.0f;
    releaseLevel = 1.0f;
}

void OrganVoice::stopNote (float, bool allowTailOff)
{
    if (allowTailOff)
    {
        keyDown = false;
        return;
    }

    releaseLevel = 0.0f;
    clearCurrentNote();
}

void OrganVoice::renderNextBlock (juce::AudioBuffer<float>& outputBuffer, int startSample, int numSamples)
{
    if (releaseLevel <= silenceThreshold)
        return;

    std::array<float, numPartials> bars {};
    for (int k = 0; k < numPartials; ++k)
        bars[(size_t) k] = params.bars[(size_t) k]->load (std::memory_order_relaxed);

    const float perc = params.perc->load (std::memory_order_relaxed);
    const float vibrato = params.vibrato->load (std::memory_order_relaxed);
    const float rotary = params.rotary->load (std::memory_order_relaxed);

    const double sampleRate = getSampleRate();
    if (! (sampleRate > 0.0) || ! std::isfinite (sampleRate))
        return; // no usable rate yet: nothing sensible to render

    const float percussionCoefficient = onePoleCoefficient (0.2, sampleRate);
    const float releaseCoefficient = onePoleCoefficient (0.008, sampleRate);
    const float attackCoefficient = onePoleCoefficient (0.004, sampleRate);

    if (numSamples > 0)
    {
        const double vibratoIncrement = 6.4 / sampleRate;
        const double panIncrement = (0.5 + 6.5 * rotary) / sampleRate; // 0.5 Hz .. 7 Hz
        const double vibratoDepth = 0.006 * vibrato;                      // octaves

        std::array<double, numPartials> baseIncrement {};
        for (size_t k = 0; k < (size_t) numPartials; ++k)
            baseIncrement[k] = partialRatios[k] * frequency / sampleRate;

        const bool held = keyDown;
        const int numChannels = outputBuffer.getNumChannels();
        auto* left = numChannels > 0 ? outputBuffer.getWritePointer (0) : nullptr;
        auto* right = numChannels > 1 ? outputBuffer.getWritePointer (1) : nullptr;

        for (int n = startSample; n < startSample + numSamples; ++n)
        {
            vibratoPhase += vibratoIncrement;
            if (vibratoPhase >= 1.0) vibratoPhase -= 1.0;
            panPhase += panIncrement;
            if (panPhase >= 1.0) panPhase -= 1.0;

            // With the vibrato off the factor is exactly 1: skip its sine and power.
            const double pitchFactor = vibratoDepth == 0.0 ? 1.0 : std::pow (2.0, vibratoDepth * std::sin (twoPi * vibratoPhase));

            float sum = 0.0f;
            for (size_t k = 0; k < (size_t) numPartials; ++k)
            {
                auto& phase = partialPhase[k];
                phase += pitchFactor * baseIncrement[k];
                if (phase >= 1.0) phase -= 1.0;

                float amplitude = bars[k];
                if (k == percussiveFourFoot || k == percussiveTwoThirds)
                    amplitude += percussionEnv * perc;

                if (amplitude > partialThreshold)
                    sum += (float) std::sin (twoPi * phase) * amplitude;
            }

            percussionEnv *= percussionCoefficient;
            attackLevel = (attackLevel - 1.0f) * attackCoefficient + 1.0f;
            if (! held)
                releaseLevel *= releaseCoefficient;

            const float pan = (float) std::sin (twoPi * panPhase) * 0.35f + 0.5f; // 0.15 .. 0.85
            const float y = sum * (attackLevel * (velocityGain * voiceLevel * releaseLevel));

            if (left != nullptr)
                left[n] += (1.0f - pan) * y * panGain;
            if (right != nullptr)
                right[n] += y * pan * panGain;
        }
    }

    if (releaseLevel <= silenceThreshold)
        clearCurrentNote();
}
