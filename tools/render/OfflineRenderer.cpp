#include "OfflineRenderer.h"

#include <cmath>

namespace rir::render
{

OfflineRenderer::OfflineRenderer (juce::AudioPluginInstance& pluginToPlay, double rate, int samplesPerBlock)
    : plugin (pluginToPlay), sampleRate (rate), blockSize (samplesPerBlock)
{
}

bool OfflineRenderer::render (const juce::MidiMessageSequence& events, double tailSeconds, const BlockSink& sink)
{
    const auto toSample = [this] (double seconds) { return (juce::int64) std::llround (seconds * sampleRate); };

    const double endSeconds = (events.getNumEvents() > 0 ? events.getEndTime() : 0.0) + tailSeconds;
    const juce::int64 totalSamples = toSample (endSeconds);

    // The plug-in has no inputs; the buffer holds as many channels as either side uses.
    const int numChannels = juce::jmax (2, plugin.getTotalNumInputChannels(), plugin.getTotalNumOutputChannels());
    juce::AudioBuffer<float> buffer (numChannels, blockSize);
    juce::AudioBuffer<float> stereo (2, blockSize);
    juce::MidiBuffer midi;

    int next = 0;
    for (rendered = 0; rendered < totalSamples;)
    {
        const int length = (int) juce::jmin ((juce::int64) blockSize, totalSamples - rendered);

        midi.clear();
        for (; next < events.getNumEvents(); ++next)
        {
            const auto& message = events.getEventPointer (next)->message;
            const auto position = toSample (message.getTimeStamp()) - rendered;
            if (position >= length)
                break;
            midi.addEvent (message, (int) juce::jmax ((juce::int64) 0, position));
        }

        buffer.setSize (numChannels, length, false, false, true);
        buffer.clear();
        plugin.processBlock (buffer, midi);

        stereo.setSize (2, length, false, false, true);
        stereo.copyFrom (0, 0, buffer, 0, 0, length);
        stereo.copyFrom (1, 0, buffer, plugin.getTotalNumOutputChannels() > 1 ? 1 : 0, 0, length);

        if (! sink (stereo))
            return false;

        rendered += length;
    }

    return true;
}

} // namespace rir::render
