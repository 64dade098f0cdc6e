#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// The instrument's fourteen parameters. Their ID strings are part of every saved project
// (hosts key automation on a hash of them), so they must never change.
namespace Params
{
    juce::AudioProcessorValueTreeState::ParameterLayout createLayout();
}
