#include "PluginHost.h"

namespace rir::host
{

juce::File bundleFor (const juce::File& bundleOrBinary)
{
    if (bundleOrBinary.isDirectory())
        return bundleOrBinary;

    // NAME.vst3/Contents/<arch>/NAME.so
    return bundleOrBinary.getParentDirectory().getParentDirectory().getParentDirectory();
}

PluginHost::PluginHost()
{
    formats.addFormat (new juce::VST3PluginFormat());
}

juce::OwnedArray<juce::PluginDescription> PluginHost::describe (const juce::File& bundle)
{
    juce::OwnedArray<juce::PluginDescription> types;

    if (bundle.exists())
        if (auto* format = formats.getFormat (0))
            format->findAllTypesForFile (types, bundle.getFullPathName());

    return types;
}

std::unique_ptr<juce::AudioPluginInstance> PluginHost::load (const juce::File& bundle, double sampleRate,
                                                             int blockSize, juce::String& error)
{
    const auto types = describe (bundle);

    if (types.isEmpty())
    {
        error = "no VST3 plug-in found in " + bundle.getFullPathName();
        return nullptr;
    }

    return formats.createPluginInstance (*types.getFirst(), sampleRate, blockSize, error);
}

} // namespace rir::host
