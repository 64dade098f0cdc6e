#include "Params.h"

namespace Params
{

juce::AudioProcessorValueTreeState::ParameterLayout createLayout()
{
    static constexpr const char* names[9] = { "16'", "5 1/3'", "8'", "4'", "2 2/3'", "2'", "1 3/5'", "1 1/3'", "1'" };
    static constexpr float defs[9]        = { 0.9f, 0.0f, 0.9f, 0.7f, 0.0f, 0.4f, 0.0f, 0.0f, 0.2f };

    using ValueToText = std::function<juce::String (float, int)>;

    const ValueToText percent = [] (float value, int) { return juce::String ((int) (value * 100.0f)) + " %"; };
    const ValueToText decibels = [] (float value, int) { return juce::String (value, 1) + " dB"; };

    std::vector<std::unique_ptr<juce::RangedAudioParameter>> parameters;

    auto addFloat = [&parameters] (const juce::String& id, const juce::String& name,
                                   float minimum, float maximum, float defaultValue,
                                   const ValueToText& toText)
    {
        parameters.push_back (std::make_unique<juce::AudioParameterFloat> (
            juce::ParameterID { id, 1 }, name,
            juce::NormalisableRange<float> (minimum, maximum, 0.001f, 1.0f),
            defaultValue,
            juce::AudioParameterFloatAttributes().withStringFromValueFunction (toText)));
    };

    for (int i = 0; i < 9; ++i)
        addFloat ("bar" + juce::String (i + 1), names[i], 0.0f, 1.0f, defs[i], percent);

    addFloat ("perc",    "Percussion", 0.0f, 1.0f, 0.3f,  percent);
    addFloat ("vibrato", "Vibrato",    0.0f, 1.0f, 0.2f,  percent);
    addFloat ("rotary",  "Rotary",     0.0f, 1.0f, 0.4f,  percent);
    addFloat ("drive",   "Drive",      0.0f, 1.0f, 0.25f, percent);

    // Skew 2.5 gives the upper part of the dB range the finer resolution.
    parameters.push_back (std::make_unique<juce::AudioParameterFloat> (
        juce::ParameterID { "volume", 1 }, "Volume",
        juce::NormalisableRange<float> (-60.0f, 6.0f, 0.1f, 2.5f),
        -10.0f,
        juce::AudioParameterFloatAttributes().withStringFromValueFunction (decibels)));

    return { parameters.begin(), parameters.end() };
}

} // namespace Params
