// ruv_render: loads the built VST3 bundle as a host does and renders MIDI to a WAV file offline.
#include "OfflineRenderer.h"
#include "PluginHost.h"
#include "RenderOptions.h"
#include "Score.h"
#include "WavSink.h"

#include <iostream>

namespace
{
    enum ExitCode { success = 0, failure = 1, badUsage = 2 };

    int fail (const juce::String& message, ExitCode code = failure)
    {
        std::cerr << "ruv_render: " << message << std::endl;
        return code;
    }

    int run (const rir::render::RenderOptions& options)
    {
        using namespace rir::render;

        const auto bundle = rir::host::bundleFor (options.bundle);
        if (! options.bundle.exists() || ! bundle.isDirectory())
            return fail ("VST3 bundle not found: " + options.bundle.getFullPathName());

        const auto score = options.midiFile == juce::File() ? demoPhrase() : readMidiFile (options.midiFile);
        if (! score.ok())
            return fail (score.error);

        rir::host::PluginHost host;
        juce::String error;
        auto plugin = host.load (bundle, options.sampleRate, options.blockSize, error);
        if (plugin == nullptr)
            return fail ("cannot load " + bundle.getFullPathName() + ": " + error);

        if (options.program >= plugin->getNumPrograms())
            return fail ("the plug-in has no program " + juce::String (options.program), badUsage);

        if (options.program >= 0)
            plugin->setCurrentProgram (options.program);

        plugin->setNonRealtime (true);
        plugin->setRateAndBufferSizeDetails (options.sampleRate, options.blockSize);
        plugin->prepareToPlay (options.sampleRate, options.blockSize);

        WavSink sink (options.output, options.sampleRate, options.bitsPerSample);
        if (! sink.opened())
            return fail (sink.error());

        OfflineRenderer renderer (*plugin, options.sampleRate, options.blockSize);
        const auto started = juce::Time::getMillisecondCounterHiRes();
        const bool rendered = renderer.render (score.events, options.tailSeconds,
                                               [&sink] (const auto& block) { return sink.write (block); });
        const auto elapsed = (juce::Time::getMillisecondCounterHiRes() - started) / 1000.0;

        plugin->releaseResources();

        if (! sink.close() || ! rendered)
            return fail ("writing " + options.output.getFullPathName() + " failed");

        const double seconds = (double) renderer.samplesRendered() / options.sampleRate;
        std::cout << "Wrote " << options.output.getFullPathName() << ": "
                  << juce::String (seconds, 2) << " s at " << options.sampleRate << " Hz, "
                  << options.bitsPerSample << "-bit stereo, rendered in " << juce::String (elapsed, 2)
                  << " s (" << juce::String (seconds / juce::jmax (elapsed, 1.0e-6), 1)
                  << "x real time)" << std::endl;
        return success;
    }
}

int main (int argc, char* argv[])
{
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    const auto parsed = rir::render::parseOptions (args, juce::File (RUV_PLUGIN_BINARY));
    if (! parsed.ok())
        return fail (parsed.error + "\n" + rir::render::usage(), badUsage);

    if (parsed.options.showHelp)
    {
        std::cout << rir::render::usage();
        return success;
    }

    // Hosting needs JUCE's message manager on this thread.
    juce::ScopedJuceInitialiser_GUI juce;
    return run (parsed.options);
}
