#include "MeterComponent.h"

#include "Theme.h"

#include <cmath>

namespace rir::ui
{

MeterComponent::MeterComponent (const std::atomic<float>* levelsToRead, int valueIndex, const juce::String& captionText)
    : levels (levelsToRead), index (valueIndex), caption (captionText)
{
    startTimer (33);
}

MeterComponent::~MeterComponent()
{
    stopTimer();
}

float MeterComponent::targetLevel() const noexcept
{
    const float v = levels[index].load (std::memory_order_relaxed);

    float n = 0.0f;
    if (index == 2)
        n = v / 18.0f;
    else if (v > 0.0f)
        n = (juce::jmax (20.0f * std::log10 (v), -60.0f) + 60.0f) / 60.0f;   // a tenth per 6 dB

    return n < 0.0f ? 0.0f : (n > 1.0f ? 1.0f : n);
}

void MeterComponent::timerCallback()
{
    const float target = targetLevel();

    if (displayLevel < target)
        displayLevel = target;
    else
        displayLevel += (target - displayLevel) * 0.2f;   // close a fifth of the gap per tick

    repaint();
}

void MeterComponent::paint (juce::Graphics& g)
{
    const auto& theme = mutableTheme();
    const float w = (float) getWidth();
    const float h = (float) getHeight();
    const float captionHeight = juce::jmin (15.0f, h);

    g.setColour (theme.textMuted);
    g.setFont (monoFont (theme.sizeXS, true));
    g.drawText (caption, juce::Rectangle<float> (0.0f, h - captionHeight, w, captionHeight),
                juce::Justification::centred, true);

    const float wellW = juce::jmax (0.0f, w - 4.0f);
    const float wellH = juce::jmax (0.0f, h - captionHeight - 4.0f);
    g.setColour (theme.track);
    g.fillRoundedRectangle (2.0f, 2.0f, wellW, wellH, 3.0f);

    juce::Colour fill = theme.accentDim;
    if (index != 2)
        fill = displayLevel > 0.92f ? theme.red : (index == 0 ? theme.teal : theme.accent);

    const float bottom = 2.0f + wellH;
    const float top = bottom - displayLevel * wellH;
    g.setColour (fill);
    g.fillRoundedRectangle (2.0f, top, wellW, juce::jmax (0.0f, bottom - top), 3.0f);
}

} // namespace rir::ui
