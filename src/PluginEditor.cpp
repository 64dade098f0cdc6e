#include "PluginEditor.h"

#include "Presets.h"
#include "ui/LabeledKnob.h"
#include "ui/Theme.h"

namespace
{
    constexpr int margin = 18;
    constexpr int headerHeight = 56;
    constexpr int titleWidth = 250;
    constexpr int presetWidth = 160;
    constexpr int meterWidth = 60;
    constexpr int keyboardHeight = 74;
    constexpr int gapUnderHeader = 6;
    constexpr int repaintIntervalMs = 66;

    const std::vector<OrganEditor::Cell>& controlTable()
    {
        static const std::vector<OrganEditor::Cell> table {
            { "bar1", "16'", false },     { "bar2", "5.1/3'", false }, { "bar3", "8'", false },
            { "bar4", "4'", false },      { "bar5", "2.2/3'", false }, { "bar6", "2'", false },
            { "bar7", "1.3/5'", false },  { "bar8", "1.1/3'", false }, { "bar9", "1'", false },
            { "perc", "PERC", false },    { "vibrato", "VIB", false }, { "rotary", "ROTARY", false },
            { "drive", "DRIVE", false },  { "volume", "VOLUME", false },
        };
        return table;
    }
}

//==============================================================================
LabeledCombo::LabeledCombo (juce::AudioProcessorValueTreeState& state, const juce::String& paramId,
                            const juce::String& caption)
{
    const auto& theme = rir::ui::mutableTheme();

    label.setText (caption, juce::dontSendNotification);
    label.setJustificationType (juce::Justification::centred);
    label.setFont (rir::ui::monoFont (theme.sizeM, true));
    label.setColour (juce::Label::textColourId, theme.textDim);

    addAndMakeVisible (label);
    addAndMakeVisible (box);

    if (auto* choice = dynamic_cast<juce::AudioParameterChoice*> (state.getParameter (paramId)))
        box.addItemList (choice->choices, 1);

    // An unknown ID leaves the box showing but bound to nothing.
    if (state.getParameter (paramId) != nullptr)
        attachment = std::make_unique<juce::AudioProcessorValueTreeState::ComboBoxAttachment> (state, paramId, box);
}

LabeledCombo::~LabeledCombo() = default;

void LabeledCombo::resized()
{
    const int w = getWidth(), h = getHeight();
    const int captionHeight = juce::jmin (16, h);

    label.setBounds (0, 0, w, captionHeight);
    box.setBounds (2, captionHeight + 18, juce::jmax (w - 4, 0), juce::jmax (h - captionHeight - 26, 0));
}

//==============================================================================
OrganEditor::OrganEditor (OrganProcessor& organProcessor)
    : juce::AudioProcessorEditor (organProcessor),
      processorRef (organProcessor),
      meter (organProcessor.meterLevels.values.data(), MeterLevels::peakIndex, "OUT"),
      keyboard (organProcessor.keyboardState, juce::MidiKeyboardComponent::horizontalKeyboard)
{
    setLookAndFeel (&lnf);

    cells = controlTable();
    buildControls();

    addAndMakeVisible (presetBox);
    fillPresetBox();

    addAndMakeVisible (meter);

    keyboard.setKeyWidth (20.0f);
    keyboard.setLowestVisibleKey (36);
    addAndMakeVisible (keyboard);

    // Children copy some look-and-feel colours (a slider's text box, for one) when they are
    // built, which happened before they had this editor as their parent: refresh them all.
    sendLookAndFeelChange();

    startTimer (repaintIntervalMs);
    setSize (720, 400);
}

OrganEditor::~OrganEditor()
{
    stopTimer();
    setLookAndFeel (nullptr);
}

void OrganEditor::buildControls()
{
    for (const auto& cell : cells)
    {
        std::unique_ptr<juce::Component> control;
        if (cell.isChoice)
            control = std::make_unique<LabeledCombo> (processorRef.apvts, cell.paramId, cell.caption);
        else
            control = std::make_unique<rir::ui::LabeledKnob> (processorRef.apvts, cell.paramId, cell.caption);

        addAndMakeVisible (*control);
        controls.push_back (std::move (control));
    }
}

void OrganEditor::fillPresetBox()
{
    presetBox.clear (juce::dontSendNotification);

    const auto& presets = Presets::getFactoryPresets();
    for (size_t i = 0; i < presets.size(); ++i)
        presetBox.addItem (presets[i].name, (int) i + 1);

    // Without notification: opening the window must not reload the program.
    presetBox.setSelectedId (processorRef.getCurrentProgram() + 1, juce::dontSendNotification);

    presetBox.onChange = [this]
    {
        const int id = presetBox.getSelectedId();
        if (id > 0)
            processorRef.setCurrentProgram (id - 1);
    };
}

//==============================================================================
void OrganEditor::paint (juce::Graphics& g)
{
    const auto& theme = rir::ui::mutableTheme();
    const auto width = (float) getWidth();

    g.fillAll (theme.background);

    // A faint teal glow, fading out 270 px around a point below the top edge's middle.
    g.setGradientFill (juce::ColourGradient (theme.teal.withAlpha (0.1f), width * 0.5f, 110.0f,
                                             theme.background.withAlpha (0.0f), width * 0.5f, 380.0f, true));
    g.fillRect (getLocalBounds());

    auto text = [&g] (const juce::String& s, juce::Colour colour, const juce::Font& font, juce::Rectangle<float> area)
    {
        g.setColour (colour);
        g.setFont (font);
        g.drawText (s, area, juce::Justification::left, true);
    };

    text ("RIR", theme.accent, rir::ui::monoFont (theme.sizeXS + 1.0f, true), { 20.0f, 16.0f, 60.0f, 14.0f });
    text ("ORGAN", theme.text, rir::ui::sansFont (theme.sizeXL, true), { 20.0f, 28.0f, 380.0f, 30.0f });
    text ("Tonewheel drawbar organ", theme.textMuted, rir::ui::sansFont (theme.sizeXS + 1.0f, false),
          { 20.0f, 58.0f, 380.0f, 16.0f });
}

void OrganEditor::resized()
{
    auto area = getLocalBounds().reduced (margin);
    const int usableWidth = area.getWidth();

    auto header = area.removeFromTop (headerHeight);
    header.removeFromLeft (titleWidth); // painted title, no component
    presetBox.setBounds (header.removeFromRight (presetWidth).reduced (4, 14));
    meter.setBounds (header.removeFromRight (meterWidth).reduced (4, 6));

    keyboard.setBounds (area.removeFromBottom (keyboardHeight).reduced (0, 6));
    area.removeFromTop (gapUnderHeader);

    const int top = area.getY();
    const int columns = juce::jmax (1, usableWidth / cellWidth);

    for (size_t i = 0; i < controls.size(); ++i)
    {
        const int index = (int) i;
        controls[i]->setBounds (margin + (index % columns) * cellWidth, top + (index / columns) * cellHeight,
                                cellWidth, cellHeight);
    }
}

void OrganEditor::timerCallback()
{
    repaint();
}
