#pragma once

#include <juce_core/juce_core.h>

#include <utility>
#include <vector>

// The factory presets, offered to the host as programs.
namespace Presets
{
    struct Preset
    {
        juce::String name;
        std::vector<std::pair<juce::String, float>> values; // (parameter ID, value in its own range), applied in order
    };

    // Built once on first use and never changed afterwards.
    const std::vector<Preset>& getFactoryPresets();
}
