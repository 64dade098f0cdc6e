#include "WavSink.h"

namespace rir::render
{

WavSink::WavSink (const juce::File& file, double sampleRate, int bitsPerSample)
{
    const auto path = file.getFullPathName();

    if (! file.getParentDirectory().isDirectory())
    {
        message = "cannot write " + path + ": no such folder";
        return;
    }

    auto stream = std::make_unique<juce::FileOutputStream> (file);
    if (stream->failedToOpen())
    {
        message = "cannot write " + path + ": " + stream->getStatus().getErrorMessage();
        return;
    }

    // FileOutputStream appends to an existing file.
    if (! stream->setPosition (0) || stream->truncate().failed())
    {
        message = "cannot overwrite " + path;
        return;
    }

    juce::WavAudioFormat wav;
    writer.reset (wav.createWriterFor (stream.get(), sampleRate, 2, bitsPerSample, {}, 0));

    if (writer == nullptr)
        message = "cannot write a " + juce::String (bitsPerSample) + "-bit WAV file at "
                  + juce::String (sampleRate) + " Hz";
    else
        stream.release(); // the writer owns the stream now
}

bool WavSink::write (const juce::AudioBuffer<float>& block)
{
    return writer != nullptr && writer->writeFromAudioSampleBuffer (block, 0, block.getNumSamples());
}

bool WavSink::close()
{
    if (writer == nullptr)
        return false;

    const bool flushed = writer->flush();
    writer.reset();
    return flushed;
}

} // namespace rir::render
