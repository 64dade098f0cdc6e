#pragma once

#include "PluginProcessor.h"

#include <cmath>
#include <map>

namespace test
{
    // Every parameter's value in its own range, keyed by ID.
    inline std::map<juce::String, float> parameterValues (juce::AudioProcessorValueTreeState& apvts)
    {
        std::map<juce::String, float> values;
        for (auto* parameter : apvts.processor.getParameters())
            if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
                values[ranged->getParameterID()] = ranged->convertFrom0to1 (ranged->getValue());
        return values;
    }

    inline void setParameter (juce::AudioProcessorValueTreeState& apvts, const juce::String& id, float value)
    {
        auto* parameter = apvts.getParameter (id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
    }

    // Whether every sample of every channel is a finite number.
    inline bool allFinite (const juce::AudioBuffer<float>& buffer)
    {
        for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                if (! std::isfinite (buffer.getSample (ch, i)))
                    return false;
        return true;
    }

    inline juce::MemoryBlock saveState (juce::AudioProcessor& processor)
    {
        juce::MemoryBlock block;
        processor.getStateInformation (block);
        return block;
    }

    inline juce::MemoryBlock encode (const juce::ValueTree& tree)
    {
        juce::MemoryBlock block;
        juce::MemoryOutputStream stream (block, false);
        tree.writeToStream (stream);
        return block;
    }

    // Renders blocks of the given size into a stereo signal, with the MIDI events placed at
    // absolute sample positions.
    struct Render
    {
        juce::AudioBuffer<float> output;

        Render (juce::AudioProcessor& processor, int totalSamples, int blockSize,
                const juce::MidiBuffer& events = {}, int numChannels = 2)
            : output (numChannels, totalSamples)
        {
            juce::AudioBuffer<float> block (numChannels, blockSize);
            juce::MidiBuffer midi;

            for (int start = 0; start < totalSamples; start += blockSize)
            {
                const int length = juce::jmin (blockSize, totalSamples - start);
                block.setSize (numChannels, length, false, false, true);
                midi.clear();
                for (const auto metadata : events)
                    if (metadata.samplePosition >= start && metadata.samplePosition < start + length)
                        midi.addEvent (metadata.getMessage(), metadata.samplePosition - start);

                processor.processBlock (block, midi);

                for (int ch = 0; ch < numChannels; ++ch)
                    output.copyFrom (ch, start, block, ch, 0, length);
            }
        }
    };
}
