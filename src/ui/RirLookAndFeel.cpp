#include "RirLookAndFeel.h"

#include "Theme.h"

namespace rir::ui
{

RirLookAndFeel::RirLookAndFeel()
{
    const auto& theme = mutableTheme();

    setColour (juce::ResizableWindow::backgroundColourId, theme.background);
    setColour (juce::Slider::textBoxTextColourId, theme.text);
    setColour (juce::Slider::textBoxOutlineColourId, juce::Colour (0x00000000u));
    setColour (juce::Label::textColourId, theme.text);
    setColour (juce::ComboBox::backgroundColourId, theme.background);
    setColour (juce::ComboBox::textColourId, theme.text);
    setColour (juce::ComboBox::outlineColourId, theme.outline);
    setColour (juce::ComboBox::arrowColourId, theme.accent);
    setColour (juce::PopupMenu::backgroundColourId, theme.panel);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, theme.accent.withAlpha ((juce::uint8) 0x40));
    setColour (juce::TextButton::buttonColourId, theme.panel);
    setColour (juce::TextButton::buttonOnColourId, theme.accent);
    setColour (juce::TextButton::textColourOffId, theme.textDim);
    setColour (juce::TextButton::textColourOnId, theme.background);
}

void RirLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                       float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle,
                                       juce::Slider&)
{
    const auto& theme = mutableTheme();

    // The inset leaves room for the glow, which reaches beyond the knob radius.
    const float inset = 6.0f;
    const float areaW = juce::jmax (0.0f, (float) width - 2.0f * inset);
    const float areaH = juce::jmax (0.0f, (float) height - 2.0f * inset);
    const float radius = juce::jmin (areaW, areaH) * 0.5f;
    const float cx = (float) x + inset + areaW * 0.5f;
    const float cy = (float) y + inset + areaH * 0.5f;

    // No room for a knob: show nothing, not even the dot a zero-size rim would leave.
    if (radius <= 0.0f)
        return;

    const float lineW = theme.knobArcRatio * radius;
    const float arcRadius = radius - lineW * 0.5f;
    const float faceRadius = radius - 1.7f * lineW;
    const float angle = rotaryStartAngle + sliderPosProportional * (rotaryEndAngle - rotaryStartAngle);

    const juce::PathStrokeType arcStroke (lineW, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);

    juce::Path track;
    track.addCentredArc (cx, cy, arcRadius, arcRadius, 0.0f, rotaryStartAngle, rotaryEndAngle, true);
    g.setColour (theme.track);
    g.strokePath (track, arcStroke);

    juce::Path value;
    value.addCentredArc (cx, cy, arcRadius, arcRadius, 0.0f, rotaryStartAngle, angle, true);
    g.setColour (theme.accent.withAlpha ((juce::uint8) 0x40));
    g.strokePath (value, juce::PathStrokeType (2.0f * lineW, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.setColour (theme.accent);
    g.strokePath (value, arcStroke);

    const juce::Rectangle<float> face (cx - faceRadius, cy - faceRadius, 2.0f * faceRadius, 2.0f * faceRadius);
    g.setColour (theme.knob.brighter (0.1f));
    g.fillEllipse (face);
    g.setColour (theme.outline);
    g.drawEllipse (face, 1.0f);

    // A bar with fully rounded ends on the upward vertical, turned to the value angle.
    juce::Path pointer;
    pointer.addRoundedRectangle (-0.32f * lineW, -0.88f * faceRadius, 0.64f * lineW, 0.55f * 0.88f * faceRadius,
                                 0.32f * lineW, 0.32f * lineW);
    pointer.applyTransform (juce::AffineTransform::rotation (angle).translated (cx, cy));
    g.setColour (theme.accentBright);
    g.fillPath (pointer);
}

} // namespace rir::ui
