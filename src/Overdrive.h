#pragma once

#include <cmath>

// Biased, level-compensated tanh saturator with first-order antiderivative anti-aliasing.
// The stage state (gain smoothing, one memory per channel slot) lives with its owner; these
// are the per-sample pieces, kept free of any framework type so they can be tested alone.
namespace Overdrive
{
    constexpr double bias = (double) 0.3f;     // offset before shaping: makes the curve asymmetric
    constexpr double adaaTolerance = 1e-6;     // below this change of argument, use the midpoint

    // tanh(bias), evaluated at run time by the same library tanh as the midpoint branch (a value
    // folded by the compiler can differ in the last bit), so that silence maps to exactly 0.
    inline double tanhOfBias() noexcept
    {
        volatile double c = bias;
        return std::tanh (c);
    }

    // Input gain: 1 at drive 0, 24 at drive 1.
    inline float gainFor (float drive) noexcept { return 1.0f + 23.0f * drive; }

    // Previous shaped argument and previous antiderivative, for one channel slot.
    struct Memory
    {
        double previousArgument = 0.0;
        double previousAntiderivative = 0.0;
    };

    // 1 / tanh(g), rounded to single precision: holds a full-scale output near the same level
    // across the gain range.
    inline float compensationFor (float gain) noexcept { return (float) (1.0 / std::tanh ((double) gain)); }

    // tanhOfBias is tanh(bias), subtracted so that silence maps to 0.
    inline float processSample (float x, float gain, float compensation, double tanhOfBias, Memory& memory) noexcept
    {
        const double u = (double) x * (double) gain + bias;
        const double antiderivative = std::log (std::cosh (u));
        const double delta = u - memory.previousArgument;

        const double shaped = std::abs (delta) < adaaTolerance
                                ? std::tanh ((memory.previousArgument + u) * 0.5)
                                : (antiderivative - memory.previousAntiderivative) / delta;

        memory.previousArgument = u;
        memory.previousAntiderivative = antiderivative;

        return compensation * (float) (shaped - tanhOfBias);
    }
}
