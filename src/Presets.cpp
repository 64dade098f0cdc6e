#include "Presets.h"

namespace Presets
{
namespace
{
    void bars (std::vector<std::pair<juce::String, float>>& values, const float* drawbars)
    {
        for (int i = 0; i < 9; ++i)
            values.emplace_back ("bar" + juce::String (i + 1), drawbars[i]);
    }

    Preset makePreset (const juce::String& name, const float (&drawbars)[9],
                       std::initializer_list<std::pair<const char*, float>> further)
    {
        Preset preset { name, {} };
        bars (preset.values, drawbars);

        for (const auto& [id, value] : further)
            preset.values.emplace_back (id, value);

        return preset;
    }
}

const std::vector<Preset>& getFactoryPresets()
{
    static const std::vector<Preset> presets {
        makePreset ("Full Gospel", { 0.9f, 0.8f, 0.9f, 0.8f, 0.7f, 0.6f, 0.5f, 0.4f, 0.6f },
                    { { "perc", 0.0f }, { "rotary", 0.7f }, { "drive", 0.4f } }),
        makePreset ("Jazz Trio",   { 0.9f, 0.0f, 0.8f, 0.6f, 0.0f, 0.0f, 0.0f, 0.0f, 0.3f },
                    { { "perc", 0.6f }, { "rotary", 0.3f } }),
        makePreset ("Rock 888",    { 0.9f, 0.9f, 0.9f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f },
                    { { "drive", 0.55f }, { "rotary", 0.8f } }),
        makePreset ("Flute Stop",  { 0.0f, 0.0f, 0.9f, 0.4f, 0.0f, 0.2f, 0.0f, 0.0f, 0.0f },
                    { { "vibrato", 0.4f }, { "rotary", 0.15f } }),
    };

    return presets;
}

} // namespace Presets
