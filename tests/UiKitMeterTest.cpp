#include "UiKitTestHelpers.h"

#include "PluginProcessor.h"
#include "ui/MeterComponent.h"
#include "ui/Theme.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
    using uitest::hex;
    using uitest::near;

    float gainOf (float decibels) { return juce::Decibels::decibelsToGain (decibels, -1000.0f); }

    // Feeds one published value per tick and returns what the meter shows afterwards.
    float showAfter (MeterLevels& levels, rir::ui::MeterComponent& meter, int index, const std::vector<float>& perTick)
    {
        for (const float v : perTick)
        {
            levels.values[(size_t) index].store (v);
            meter.timerCallback();
        }
        return meter.getDisplayLevel();
    }

    juce::Image paintMeter (rir::ui::MeterComponent& meter, int width, int height)
    {
        meter.setBounds (0, 0, width, height);
        auto image = uitest::blankImage (width, height);
        juce::Graphics g (image);
        meter.paint (g);
        return image;
    }
}

TEST (UiKitMeter, StartsEmpty)
{
    MeterLevels levels;
    levels.peak().store (1.0f);
    rir::ui::MeterComponent meter (levels.values.data(), MeterLevels::peakIndex, "OUT");
    EXPECT_EQ (meter.getDisplayLevel(), 0.0f);
    EXPECT_TRUE (meter.isTimerRunning());
    EXPECT_EQ (meter.getTimerInterval(), 33);
}

TEST (UiKitMeter, Ballistics)
{
    struct Case { const char* what; int index; std::vector<float> perTick; float expected; };
    const std::vector<Case> cases {
        { "0 dB rises at once",                   1, { 1.0f },                       1.0f },
        { "over full scale is clamped",           1, { 4.0f },                       1.0f },
        { "-30 dB is half the height",            1, { gainOf (-30.0f) },            0.5f },
        { "every 6 dB is a tenth",                0, { gainOf (-54.0f) },            0.1f },
        { "-6 dB on index 0",                     0, { gainOf (-6.0f) },             0.9f },
        { "-60 dB is the floor",                  1, { 0.001f },                     0.0f },
        { "below the floor is empty",             1, { 0.0001f },                    0.0f },
        { "negative values are empty",            0, { -0.5f },                      0.0f },
        { "silence after full: one tick",         1, { 1.0f, 0.0f },                 0.8f },
        { "silence after full: two ticks",        1, { 1.0f, 0.0f, 0.0f },           0.64f },
        { "silence after full: three ticks",      1, { 1.0f, 0.0f, 0.0f, 0.0f },     0.512f },
        { "falls a fifth of the gap",             1, { 1.0f, gainOf (-30.0f) },      0.9f },
        { "rises at once while falling",          1, { 1.0f, 0.0f, gainOf (-6.0f) }, 0.9f },
        { "index 2 is linear up to 18",           2, { 9.0f },                       0.5f },
        { "index 2 full at 18",                   2, { 18.0f },                      1.0f },
        { "index 2 clamped above 18",             2, { 40.0f },                      1.0f },
        { "index 2 clamped below 0",              2, { -3.0f },                      0.0f },
        { "index 2 falls like the others",        2, { 18.0f, 0.0f },                0.8f },
    };

    for (const auto& c : cases)
    {
        MeterLevels levels;
        rir::ui::MeterComponent meter (levels.values.data(), c.index, "M");
        EXPECT_NEAR (showAfter (levels, meter, c.index, c.perTick), c.expected, 1.0e-5f) << c.what;
    }
}

TEST (UiKitMeter, FallShrinksTheDropGeometricallyAndNeverJumps)
{
    MeterLevels levels;
    rir::ui::MeterComponent meter (levels.values.data(), 1, "OUT");
    showAfter (levels, meter, 1, { 1.0f });

    float previous = meter.getDisplayLevel();
    for (int k = 1; k <= 11; ++k)
    {
        const float now = showAfter (levels, meter, 1, { 0.0f });
        EXPECT_NEAR (now, std::pow (0.8f, (float) k), 1.0e-5f) << k;
        EXPECT_LT (now, previous);
        EXPECT_GT (now, 0.0f);
        previous = now;
    }
    EXPECT_LT (previous, 0.1f);   // below a tenth after eleven ticks
}

TEST (UiKitMeter, ReadsOnlyItsOwnValue)
{
    MeterLevels levels;
    rir::ui::MeterComponent meter (levels.values.data(), 1, "OUT");
    levels.values[0].store (1.0f);
    levels.values[2].store (18.0f);
    meter.timerCallback();
    EXPECT_EQ (meter.getDisplayLevel(), 0.0f);
}

TEST (UiKitMeter, PaintsWellFillAndCaptionAt52By44)
{
    const auto& theme = rir::ui::mutableTheme();
    MeterLevels levels;
    rir::ui::MeterComponent meter (levels.values.data(), 1, "OUT");
    showAfter (levels, meter, 1, { gainOf (-30.0f) });
    ASSERT_NEAR (meter.getDisplayLevel(), 0.5f, 1.0e-5f);

    const auto image = paintMeter (meter, 52, 44);
    auto at = [&image] (int x, int y) { return image.getPixelAt (x, y); };

    // Well (2, 2, 48, 25) with the bar from y = 27 up to y = 14.5.
    for (const int y : { 4, 8, 12, 13 })
        EXPECT_PRED2 (near, at (26, y), theme.track) << "y " << y << " " << hex (at (26, y));
    for (const int y : { 15, 20, 25 })
        for (const int x : { 5, 26, 46 })
            EXPECT_PRED2 (near, at (x, y), theme.accent) << x << "," << y << " " << hex (at (x, y));

    // Nothing outside the well above the caption strip.
    for (const int y : { 0, 1, 27, 28 })
        EXPECT_EQ (at (26, y).getAlpha(), 0) << "y " << y;
    for (const int x : { 0, 1, 50, 51 })
        EXPECT_EQ (at (x, 14).getAlpha(), 0) << "x " << x;

    // Caption glyphs only in the strip (0, 29, 52, 15), in the muted text colour.
    auto painted = [] (juce::Colour c) { return c.getAlpha() > 0; };
    EXPECT_GT (uitest::countPixels (image, { 0, 29, 52, 15 }, painted), 10);
    EXPECT_EQ (uitest::countPixels (image, { 0, 27, 52, 2 }, painted), 0);
    auto solidMuted = [&theme] (juce::Colour c) { return c.getAlpha() == 255 && near (c, theme.textMuted); };
    auto solidOther = [&theme] (juce::Colour c) { return c.getAlpha() == 255 && ! near (c, theme.textMuted); };
    EXPECT_GT (uitest::countPixels (image, { 0, 29, 52, 15 }, solidMuted), 0);
    EXPECT_EQ (uitest::countPixels (image, { 0, 29, 52, 15 }, solidOther), 0);
}

TEST (UiKitMeter, FillColourFollowsIndexAndLevel)
{
    const auto& theme = rir::ui::mutableTheme();
    struct Case { const char* what; int index; std::vector<float> perTick; juce::Colour expected; };
    const std::vector<Case> cases {
        { "index 0 below -4.8 dB",       0, { gainOf (-6.0f) },               theme.teal },
        { "index 1 below -4.8 dB",       1, { gainOf (-6.0f) },               theme.accent },
        { "index 0 at full scale",       0, { 1.0f },                         theme.red },
        { "index 1 above -4.8 dB",       1, { gainOf (-4.0f) },               theme.red },
        { "red while falling above 0.92",1, { 1.0f, gainOf (-6.0f) },         theme.red },
        { "back from red below 0.92",    1, { 1.0f, 0.0f },                   theme.accent },
        { "index 2 at full height",      2, { 18.0f },                        theme.accentDim },
        { "index 2 half way",            2, { 9.0f },                         theme.accentDim },
    };

    for (const auto& c : cases)
    {
        MeterLevels levels;
        rir::ui::MeterComponent meter (levels.values.data(), c.index, "M");
        showAfter (levels, meter, c.index, c.perTick);
        const auto image = paintMeter (meter, 52, 44);
        EXPECT_PRED2 (near, image.getPixelAt (26, 24), c.expected) << c.what << " " << hex (image.getPixelAt (26, 24));
    }
}

TEST (UiKitMeter, FullAndEmptyBars)
{
    const auto& theme = rir::ui::mutableTheme();
    MeterLevels levels;
    rir::ui::MeterComponent meter (levels.values.data(), 1, "OUT");

    const auto empty = paintMeter (meter, 52, 44);
    EXPECT_PRED2 (near, empty.getPixelAt (26, 24), theme.track);

    showAfter (levels, meter, 1, { 1.0f });
    const auto full = paintMeter (meter, 52, 44);
    for (const int y : { 3, 14, 25 })
        EXPECT_PRED2 (near, full.getPixelAt (26, y), theme.red) << y;
}

TEST (UiKitMeter, SmallMetersShowNoBar)
{
    struct Case { int w, h; };
    static const Case cases[] { { 52, 15 }, { 52, 10 }, { 52, 19 }, { 4, 44 } };

    for (const auto& c : cases)
    {
        MeterLevels levels;
        rir::ui::MeterComponent meter (levels.values.data(), 2, "");
        showAfter (levels, meter, 2, { 18.0f });
        const auto image = paintMeter (meter, c.w, c.h);
        EXPECT_EQ (uitest::countPixels (image, image.getBounds(), [] (juce::Colour px) { return px.getAlpha() > 0; }), 0)
            << c.w << "x" << c.h;
    }
}
