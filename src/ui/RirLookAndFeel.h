#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace rir::ui
{

// The kit's colours for framework components, and its own knob drawing.
class RirLookAndFeel : public juce::LookAndFeel_V4
{
public:
    RirLookAndFeel();
    ~RirLookAndFeel() override = default;

    // Track, value arc with glow, face, rim and pointer. Only the theme decides the colours;
    // the slider's own colours and state are ignored on purpose.
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                           float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle,
                           juce::Slider& slider) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (RirLookAndFeel)
};

} // namespace rir::ui
