#pragma once

#include "Theme.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace rir::ui
{

// A caption over a rotary knob with its value text box, bound to one parameter.
class LabeledKnob : public juce::Component
{
public:
    LabeledKnob (juce::AudioProcessorValueTreeState& state, const juce::String& parameterID, const juce::String& caption)
    {
        slider.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
        slider.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 72, 16);
        addAndMakeVisible (slider);

        label.setText (caption, juce::dontSendNotification);
        label.setJustificationType (juce::Justification::centred);
        applyCaptionTheme();
        addAndMakeVisible (label);

        // Range, value text and the double-click reset all come from the parameter. An ID the
        // state does not hold leaves the knob unbound rather than tripping the framework.
        if (state.getParameter (parameterID) != nullptr)
            attachment = std::make_unique<juce::AudioProcessorValueTreeState::SliderAttachment> (state, parameterID, slider);
    }

    ~LabeledKnob() override = default;

    void lookAndFeelChanged() override
    {
        applyCaptionTheme();
    }

    void resized() override
    {
        const int captionHeight = juce::jmin (16, getHeight());
        label.setBounds (0, 0, getWidth(), captionHeight);
        slider.setBounds (0, captionHeight, getWidth(), getHeight() - captionHeight);
    }

    juce::Slider slider;
    juce::Label label { {}, {} };

private:
    // Declared after the slider so it is destroyed while the slider still exists.
    std::unique_ptr<juce::AudioProcessorValueTreeState::SliderAttachment> attachment;

    void applyCaptionTheme()
    {
        const auto& theme = mutableTheme();
        label.setFont (monoFont (theme.sizeM, true));
        label.setColour (juce::Label::textColourId, theme.textDim);
    }

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LabeledKnob)
};

} // namespace rir::ui
