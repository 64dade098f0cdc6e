#pragma once

#include "PluginProcessor.h"
#include "ui/MeterComponent.h"
#include "ui/RirLookAndFeel.h"

#include <juce_audio_utils/juce_audio_utils.h>

// A caption above a combo box bound to a choice parameter.
class LabeledCombo : public juce::Component
{
public:
    LabeledCombo (juce::AudioProcessorValueTreeState& state, const juce::String& paramId, const juce::String& caption);
    ~LabeledCombo() override;

    void resized() override;

private:
    juce::Label label { {}, {} };
    juce::ComboBox box { {} };
    std::unique_ptr<juce::AudioProcessorValueTreeState::ComboBoxAttachment> attachment;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LabeledCombo)
};

// The plug-in window: a painted header, the preset box, the output meter, a grid of fourteen
// captioned controls and the on-screen keyboard. Fixed at 720 x 400.
class OrganEditor : public juce::AudioProcessorEditor, private juce::Timer
{
public:
    struct Cell
    {
        juce::String paramId;
        juce::String caption;
        bool isChoice = false;
    };

    static constexpr int cellWidth = 86;
    static constexpr int cellHeight = 90;

    explicit OrganEditor (OrganProcessor& organProcessor);
    ~OrganEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void timerCallback() override;
    void buildControls();
    void fillPresetBox();

    std::vector<Cell> cells;
    std::vector<std::unique_ptr<juce::Component>> controls;
    OrganProcessor& processorRef;
    rir::ui::RirLookAndFeel lnf;
    juce::ComboBox presetBox { {} };
    rir::ui::MeterComponent meter;
    juce::MidiKeyboardComponent keyboard;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrganEditor)
};
