#include "TestHelpers.h"

#include <gtest/gtest.h>

namespace
{
    struct ExpectedParameter
    {
        const char* id;
        const char* name;
        float minimum, maximum, interval, skew, defaultValue;
    };

    constexpr ExpectedParameter expectedLayout[] = {
        { "bar1", "16'",        0.0f,  1.0f, 0.001f, 1.0f, 0.9f },
        { "bar2", "5 1/3'",     0.0f,  1.0f, 0.001f, 1.0f, 0.0f },
        { "bar3", "8'",         0.0f,  1.0f, 0.001f, 1.0f, 0.9f },
        { "bar4", "4'",         0.0f,  1.0f, 0.001f, 1.0f, 0.7f },
        { "bar5", "2 2/3'",     0.0f,  1.0f, 0.001f, 1.0f, 0.0f },
        { "bar6", "2'",         0.0f,  1.0f, 0.001f, 1.0f, 0.4f },
        { "bar7", "1 3/5'",     0.0f,  1.0f, 0.001f, 1.0f, 0.0f },
        { "bar8", "1 1/3'",     0.0f,  1.0f, 0.001f, 1.0f, 0.0f },
        { "bar9", "1'",         0.0f,  1.0f, 0.001f, 1.0f, 0.2f },
        { "perc", "Percussion", 0.0f,  1.0f, 0.001f, 1.0f, 0.3f },
        { "vibrato", "Vibrato", 0.0f,  1.0f, 0.001f, 1.0f, 0.2f },
        { "rotary", "Rotary",   0.0f,  1.0f, 0.001f, 1.0f, 0.4f },
        { "drive", "Drive",     0.0f,  1.0f, 0.001f, 1.0f, 0.25f },
        { "volume", "Volume", -60.0f,  6.0f, 0.1f,   2.5f, -10.0f },
    };
}

TEST (ParameterLayout, FourteenFloatParametersInOrderWithTheirRangesAndDefaults)
{
    OrganProcessor processor;
    const auto& parameters = processor.getParameters();
    ASSERT_EQ (parameters.size(), (int) std::size (expectedLayout));

    for (int i = 0; i < parameters.size(); ++i)
    {
        const auto& expected = expectedLayout[i];
        SCOPED_TRACE (expected.id);

        auto* parameter = dynamic_cast<juce::AudioParameterFloat*> (parameters[i]);
        ASSERT_NE (parameter, nullptr);
        EXPECT_EQ (parameter->getParameterID(), expected.id);
        EXPECT_EQ (parameter->getVersionHint(), 1);
        EXPECT_EQ (parameter->getName (100), expected.name);
        EXPECT_TRUE (parameter->isAutomatable());
        EXPECT_FALSE (parameter->isMetaParameter());
        EXPECT_EQ (parameter->getLabel(), "");

        EXPECT_EQ (parameter->range.start, expected.minimum);
        EXPECT_EQ (parameter->range.end, expected.maximum);
        EXPECT_EQ (parameter->range.interval, expected.interval);
        EXPECT_EQ (parameter->range.skew, expected.skew);
        EXPECT_FALSE (parameter->range.symmetricSkew);

        EXPECT_EQ (parameter->get(), expected.defaultValue);
        EXPECT_FLOAT_EQ (parameter->convertFrom0to1 (static_cast<juce::AudioProcessorParameter*> (parameter)->getDefaultValue()), expected.defaultValue);
    }
}

TEST (ParameterLayout, VolumeIsSkewedTowardsTheTopAndSnapsToTenthsOfADecibel)
{
    OrganProcessor processor;
    auto* volume = processor.apvts.getParameter ("volume");

    EXPECT_NEAR (volume->getDefaultValue(), 0.49953f, 1e-5f);
    EXPECT_FLOAT_EQ (volume->convertFrom0to1 (0.5f), -10.0f);
    EXPECT_FLOAT_EQ (volume->convertFrom0to1 (0.25f), -22.1f);
    EXPECT_NEAR (volume->convertTo0to1 (0.0f), 0.788f, 1e-3f);

    auto* drawbar = processor.apvts.getParameter ("bar1");
    EXPECT_FLOAT_EQ (drawbar->convertFrom0to1 (0.12345f), 0.123f);
}

TEST (ParameterLayout, ValueTextsUseThePercentAndDecibelFormatters)
{
    struct Case { const char* id; float value; const char* text; };
    const Case cases[] = {
        { "bar1", 0.9f, "90 %" },    { "bar2", 0.25f, "25 %" },  { "bar3", 0.999f, "99 %" },
        { "bar4", 0.005f, "0 %" },   { "bar5", 0.0f, "0 %" },    { "bar6", 1.0f, "100 %" },
        { "perc", 0.3f, "30 %" },    { "drive", 0.55f, "55 %" },
        { "volume", -10.0f, "-10.0 dB" }, { "volume", 6.0f, "6.0 dB" }, { "volume", -60.0f, "-60.0 dB" },
        { "volume", 0.0f, "0.0 dB" },
    };

    OrganProcessor processor;
    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.id) + " " + juce::String (c.value));
        auto* parameter = processor.apvts.getParameter (c.id);
        EXPECT_EQ (parameter->getText (parameter->convertTo0to1 (c.value), 2), c.text);
    }
}
