#include "Overdrive.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>

namespace
{
    const double tanhOfBias = Overdrive::tanhOfBias();

    struct Stage
    {
        float gain;
        Overdrive::Memory memory {};

        float operator() (float x)
        {
            return Overdrive::processSample (x, gain, Overdrive::compensationFor (gain), tanhOfBias, memory);
        }
    };

    // The mean of tanh over [a, b] by Simpson's rule: the value an exact anti-aliased stage outputs.
    double meanOfTanh (double a, double b)
    {
        constexpr int steps = 2000;
        const double h = (b - a) / steps;
        double sum = std::tanh (a) + std::tanh (b);
        for (int i = 1; i < steps; ++i)
            sum += std::tanh (a + i * h) * (i % 2 == 1 ? 4.0 : 2.0);
        return sum * h / 3.0 / (b - a);
    }
}

TEST (Overdrive, SilenceStaysSilentAfterTheFirstSample)
{
    for (const float drive : { 0.0f, 0.25f, 1.0f })
    {
        Stage stage { Overdrive::gainFor (drive) };

        // The memory starts at 0, not at the bias point: the first sample is not zero.
        const double expectedFirst = (std::log (std::cosh (Overdrive::bias)) / Overdrive::bias - std::tanh (Overdrive::bias))
                                   / std::tanh ((double) stage.gain);
        EXPECT_NEAR (stage (0.0f), expectedFirst, 1e-6) << drive;

        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ (stage (0.0f), 0.0f);
    }

    EXPECT_NEAR (Stage { 1.0f } (0.0f), -0.1884, 1e-3);
}

TEST (Overdrive, MatchesTheMeanOfTanhOverEachStep)
{
    Stage stage { Overdrive::gainFor (0.4f) };
    double previous = Overdrive::bias;
    stage (0.0f);

    for (int i = 1; i < 200; ++i)
    {
        const float x = 0.6f * (float) std::sin (i * 0.37) + 0.2f * (float) std::sin (i * 1.91);
        const double u = (double) x * stage.gain + Overdrive::bias;
        const double expected = (meanOfTanh (previous, u) - tanhOfBias) / std::tanh ((double) stage.gain);
        ASSERT_NEAR (stage (x), expected, 1e-5) << "sample " << i;
        previous = u;
    }
}

TEST (Overdrive, SmallSignalsGainAboutOnePointTwoAtZeroDrive)
{
    Stage stage { Overdrive::gainFor (0.0f) };
    EXPECT_EQ (stage.gain, 1.0f);
    stage (0.0f);

    const double slope = (1.0 - std::pow (std::tanh (Overdrive::bias), 2.0)) / std::tanh (1.0);
    EXPECT_NEAR (slope, 1.20, 0.005);

    // The anti-aliased stage answers a step from x0 to x1 with the curve's mean over the step,
    // for a small signal the slope times their midpoint.
    float previous = 0.0f;
    for (int i = 1; i < 2000; ++i)
    {
        const float x = 1e-3f * (float) std::sin (i * 0.01);
        const float y = stage (x);
        const float midpoint = 0.5f * (x + previous);
        if (i > 10 && std::abs (midpoint) > 2e-4f)
            ASSERT_NEAR (y / midpoint, slope, 0.003) << "sample " << i;
        previous = x;
    }
}

TEST (Overdrive, LargeSignalsSettleNearTheAsymmetricLimitsAtFullDrive)
{
    struct Case { float x; double limit; };
    const double compensation = 1.0 / std::tanh (24.0);
    const Case cases[] = { { 1.0f, (1.0 - std::tanh (Overdrive::bias)) * compensation },    // 0.709
                           { -1.0f, -(1.0 + std::tanh (Overdrive::bias)) * compensation },  // -1.291
                           { 10.0f, 0.70867 }, { -10.0f, -1.29131 } };

    for (const auto& c : cases)
    {
        Stage stage { Overdrive::gainFor (1.0f) };
        EXPECT_EQ (stage.gain, 24.0f);
        float y = 0.0f;
        for (int i = 0; i < 10; ++i)
            y = stage (c.x);
        EXPECT_NEAR (y, c.limit, 1e-4) << c.x;
    }
}

TEST (Overdrive, NearlyEqualSamplesUseTheMidpointInsteadOfDividingByTheirDifference)
{
    Stage stage { Overdrive::gainFor (1.0f) };
    stage (0.3f);

    // Steps below 1e-6 / g: the quotient would be dominated by rounding, the midpoint is exact.
    float x = 0.3f;
    for (int i = 0; i < 100; ++i)
    {
        const double previous = (double) x * 24.0 + Overdrive::bias;
        x = std::nextafter (x, 1.0f);
        const double u = (double) x * 24.0 + Overdrive::bias;
        ASSERT_LT (std::abs (u - previous), Overdrive::adaaTolerance);

        const float expected = Overdrive::compensationFor (24.0f) * (float) (std::tanh ((previous + u) * 0.5) - tanhOfBias);
        ASSERT_EQ (stage (x), expected);
    }
}

TEST (Overdrive, ChannelsAfterTheFirstTwoShareTheSecondMemory)
{
    // Silence through three channels: a fresh memory makes its first sample non-zero, so only
    // channels 0 and 1 show one; channel 2 continues where channel 1 left off.
    OrganProcessor processor;
    processor.prepareToPlay (48000.0, 64);

    juce::AudioBuffer<float> buffer (3, 64);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);

    EXPECT_NE (buffer.getSample (0, 0), 0.0f);
    EXPECT_NE (buffer.getSample (1, 0), 0.0f);
    EXPECT_EQ (buffer.getMagnitude (2, 0, 64), 0.0f);
    EXPECT_EQ (buffer.getMagnitude (0, 1, 63), 0.0f);

    processor.processBlock (buffer, midi);
    EXPECT_EQ (buffer.getMagnitude (0, 64), 0.0f);

    // prepareToPlay clears the memory again.
    processor.prepareToPlay (48000.0, 64);
    processor.processBlock (buffer, midi);
    EXPECT_NE (buffer.getSample (0, 0), 0.0f);
}
