#include "UiKitTestHelpers.h"

#include "ui/RirLookAndFeel.h"
#include "ui/Theme.h"

#include <gtest/gtest.h>

namespace
{
    using uitest::hex;
    using uitest::near;
    using uitest::pixel;
    using uitest::polar;

    constexpr float pi = juce::MathConstants<float>::pi;

    struct KnobArea { int x, y, w, h; int imageW, imageH; };
    struct Range    { float start, end; };

    juce::Image drawKnob (const KnobArea& area, float position, Range range, juce::Slider& slider)
    {
        rir::ui::RirLookAndFeel lookAndFeel;
        auto image = uitest::blankImage (area.imageW, area.imageH);
        juce::Graphics g (image);
        lookAndFeel.drawRotarySlider (g, area.x, area.y, area.w, area.h, position, range.start, range.end, slider);
        return image;
    }

    juce::Image drawKnob (const KnobArea& area, float position, Range range)
    {
        juce::Slider slider;
        return drawKnob (area, position, range, slider);
    }

    // The knob sits in the area less a 6 px margin: centre and radius of that square.
    juce::Point<float> centreOf (const KnobArea& a)
    {
        return { (float) a.x + 6.0f + (float) (a.w - 12) * 0.5f, (float) a.y + 6.0f + (float) (a.h - 12) * 0.5f };
    }

    float radiusOf (const KnobArea& a) { return (float) juce::jmin (a.w - 12, a.h - 12) * 0.5f; }

    // Radii as fractions of the knob radius: the arcs are 0.16 r thick, centred 0.08 r inside the
    // edge; the glow doubles that thickness; the pointer runs from 0.29 r to 0.64 r.
    constexpr float arcBand = 0.92f;
    constexpr float glowInside = 0.80f;
    constexpr float glowOutside = 1.04f;
    constexpr float pointerMiddle = 0.466f;

    const KnobArea areas[] { { 0, 0, 150, 150, 150, 150 }, { 20, 10, 150, 110, 200, 140 } };
    const Range ranges[] { { 1.2f * pi, 2.8f * pi }, { -0.75f * pi, 0.75f * pi } };
}

TEST (UiKitLookAndFeel, SetsTheThemeColourIds)
{
    struct Case { int id; juce::uint32 argb; };
    static const Case cases[] {
        { juce::ResizableWindow::backgroundColourId,            0xFF0C0C0E },
        { juce::Slider::textBoxTextColourId,                    0xFFECEAE6 },
        { juce::Slider::textBoxOutlineColourId,                 0x00000000 },
        { juce::Label::textColourId,                            0xFFECEAE6 },
        { juce::ComboBox::backgroundColourId,                   0xFF0C0C0E },
        { juce::ComboBox::textColourId,                         0xFFECEAE6 },
        { juce::ComboBox::outlineColourId,                      0xFF34343B },
        { juce::ComboBox::arrowColourId,                        0xFFE8B24C },
        { juce::PopupMenu::backgroundColourId,                  0xFF141417 },
        { juce::PopupMenu::highlightedBackgroundColourId,       0x40E8B24C },
        { juce::TextButton::buttonColourId,                     0xFF141417 },
        { juce::TextButton::buttonOnColourId,                   0xFFE8B24C },
        { juce::TextButton::textColourOffId,                    0xFFA6988A },
        { juce::TextButton::textColourOnId,                     0xFF0C0C0E },
    };

    rir::ui::RirLookAndFeel lookAndFeel;
    for (const auto& c : cases)
        EXPECT_EQ (lookAndFeel.findColour (c.id).getARGB(), c.argb) << std::hex << c.id;
}

TEST (UiKitLookAndFeel, LeavesOtherColourIdsAtTheDarkScheme)
{
    static const int ids[] { juce::Slider::thumbColourId, juce::Slider::rotarySliderFillColourId,
                             juce::Slider::rotarySliderOutlineColourId, juce::Label::backgroundColourId,
                             juce::TextEditor::backgroundColourId, juce::PopupMenu::textColourId };

    rir::ui::RirLookAndFeel ours;
    juce::LookAndFeel_V4 base;
    for (const int id : ids)
        EXPECT_EQ (ours.findColour (id), base.findColour (id)) << std::hex << id;
}

TEST (UiKitLookAndFeel, KnobShowsFaceTrackValueArcAndPointer)
{
    const auto& theme = rir::ui::mutableTheme();
    const auto face = theme.knob.brighter (0.1f);
    const auto glow = theme.accent.withAlpha ((juce::uint8) 0x40);
    static const float positions[] { 0.0f, 0.5f, 1.0f };
    static const float probes[] { 0.1f, 0.25f, 0.4f, 0.6f, 0.75f, 0.9f };

    for (const auto& area : areas)
        for (const auto& range : ranges)
            for (const float p : positions)
            {
                SCOPED_TRACE ("area " + std::to_string (area.w) + "x" + std::to_string (area.h)
                              + " start " + std::to_string (range.start) + " p " + std::to_string (p));

                const auto image = drawKnob (area, p, range);
                const auto centre = centreOf (area);
                const float r = radiusOf (area);
                const float value = range.start + p * (range.end - range.start);

                EXPECT_PRED2 (near, pixel (image, centre), face) << hex (pixel (image, centre));

                const auto tip = pixel (image, polar (centre, pointerMiddle * r, value));
                EXPECT_PRED2 (near, tip, theme.accentBright) << hex (tip);
                const auto opposite = pixel (image, polar (centre, pointerMiddle * r, value + pi));
                EXPECT_PRED2 (near, opposite, face) << hex (opposite);

                for (const float f : probes)
                {
                    if (std::abs (f - p) < 0.08f)
                        continue;

                    const float angle = range.start + f * (range.end - range.start);
                    const bool filled = f < p;
                    const auto onArc = pixel (image, polar (centre, arcBand * r, angle));
                    const auto inside = pixel (image, polar (centre, glowInside * r, angle));
                    const auto outside = pixel (image, polar (centre, glowOutside * r, angle));

                    EXPECT_PRED2 (near, onArc, filled ? theme.accent : theme.track) << "f " << f << " " << hex (onArc);
                    EXPECT_PRED2 (near, inside, filled ? glow : juce::Colours::transparentBlack) << "f " << f << " " << hex (inside);
                    EXPECT_PRED2 (near, outside, filled ? glow : juce::Colours::transparentBlack) << "f " << f << " " << hex (outside);
                }

                // The gap between the ends of the range stays empty, even when full.
                const auto gap = pixel (image, polar (centre, arcBand * r, pi));
                EXPECT_EQ (gap.getAlpha(), 0) << hex (gap);
            }
}

TEST (UiKitLookAndFeel, KnobPaintsOnlyInsideItsArea)
{
    // The glow reaches 0.08 r beyond the knob, which the 6 px margin holds while r <= 75.
    const KnobArea area { 30, 20, 162, 162, 222, 202 };
    const auto image = drawKnob (area, 1.0f, ranges[0]);
    const juce::Rectangle<int> inside (area.x, area.y, area.w, area.h);

    const int outside = uitest::countPixels (image, image.getBounds(), [] (juce::Colour) { return true; })
                      - uitest::countPixels (image, inside, [] (juce::Colour) { return true; });
    const int paintedOutside = uitest::countPixels (image, image.getBounds(), [] (juce::Colour c) { return c.getAlpha() > 0; })
                             - uitest::countPixels (image, inside, [] (juce::Colour c) { return c.getAlpha() > 0; });
    EXPECT_GT (outside, 0);
    EXPECT_EQ (paintedOutside, 0);
    EXPECT_GT (uitest::countPixels (image, inside, [] (juce::Colour c) { return c.getAlpha() > 0; }), 0);
}

TEST (UiKitLookAndFeel, KnobAreaOfTwelvePixelsOrLessDrawsNothing)
{
    struct Case { int w, h; };
    static const Case cases[] { { 12, 12 }, { 12, 100 }, { 100, 12 }, { 5, 40 }, { 0, 0 } };

    for (const auto& c : cases)
    {
        const auto image = drawKnob ({ 4, 4, c.w, c.h, 120, 120 }, 0.5f, ranges[0]);
        EXPECT_EQ (uitest::countPixels (image, image.getBounds(), [] (juce::Colour px) { return px.getAlpha() > 0; }), 0)
            << c.w << "x" << c.h;
    }

    // Just above the limit something shows, so the cases above are not empty by accident.
    const auto image = drawKnob ({ 4, 4, 20, 20, 120, 120 }, 0.5f, ranges[0]);
    EXPECT_GT (uitest::countPixels (image, image.getBounds(), [] (juce::Colour px) { return px.getAlpha() > 0; }), 0);
}

TEST (UiKitLookAndFeel, SliderColoursAndStateDoNotChangeTheKnob)
{
    const KnobArea area { 0, 0, 120, 120, 120, 120 };
    const auto reference = drawKnob (area, 0.3f, ranges[0]);

    juce::Slider coloured;
    coloured.setColour (juce::Slider::rotarySliderFillColourId, juce::Colours::red);
    coloured.setColour (juce::Slider::rotarySliderOutlineColourId, juce::Colours::blue);
    coloured.setColour (juce::Slider::thumbColourId, juce::Colours::green);
    coloured.setColour (juce::Slider::backgroundColourId, juce::Colours::white);

    juce::Slider disabled;
    disabled.setEnabled (false);

    juce::Slider otherValue;
    otherValue.setRange (-5.0, 5.0);
    otherValue.setValue (4.0);
    otherValue.setRotaryParameters (0.0f, 1.0f, false);

    for (auto* slider : { &coloured, &disabled, &otherValue })
        EXPECT_TRUE (uitest::sameImages (drawKnob (area, 0.3f, ranges[0], *slider), reference));
}
