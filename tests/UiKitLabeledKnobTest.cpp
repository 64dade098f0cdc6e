#include "TestHelpers.h"
#include "UiKitTestHelpers.h"

#include "PluginProcessor.h"
#include "ui/LabeledKnob.h"
#include "ui/RirLookAndFeel.h"
#include "ui/Theme.h"

#include <gtest/gtest.h>

namespace
{
    using uitest::hex;
    using uitest::near;

    using uitest::textBoxOf;

    float defaultOf (juce::AudioProcessorValueTreeState& apvts, const juce::String& id)
    {
        auto* parameter = apvts.getParameter (id);
        return parameter->convertFrom0to1 (parameter->getDefaultValue());
    }

    // Changes the shared theme for one test and puts the obsidian values back afterwards.
    struct ThemeChange
    {
        ~ThemeChange() { rir::ui::mutableTheme() = rir::ui::obsidianTheme(); }
    };
}

TEST (UiKitLabeledKnob, CaptionOnTopKnobAndTextBoxBelowIn86By90Cell)
{
    OrganProcessor processor;
    rir::ui::LabeledKnob knob (processor.apvts, "bar1", "16'");
    knob.setBounds (0, 0, 86, 90);

    EXPECT_EQ (knob.label.getBounds(), juce::Rectangle<int> (0, 0, 86, 16));
    EXPECT_EQ (knob.slider.getBounds(), juce::Rectangle<int> (0, 16, 86, 74));
    EXPECT_EQ (knob.slider.getSliderStyle(), juce::Slider::RotaryHorizontalVerticalDrag);
    EXPECT_TRUE (knob.label.isVisible());
    EXPECT_TRUE (knob.slider.isVisible());

    auto* textBox = textBoxOf (knob.slider);
    ASSERT_NE (textBox, nullptr);
    EXPECT_EQ (textBox->getBounds(), juce::Rectangle<int> (7, 58, 72, 16));
    EXPECT_TRUE (textBox->isEditable());
}

TEST (UiKitLabeledKnob, PaintedCellShowsCaptionKnobAndValue)
{
    const auto& theme = rir::ui::mutableTheme();
    rir::ui::RirLookAndFeel lookAndFeel;
    OrganProcessor processor;
    rir::ui::LabeledKnob knob (processor.apvts, "bar1", "16'");
    knob.setLookAndFeel (&lookAndFeel);
    knob.setBounds (0, 0, 86, 90);

    const auto image = knob.createComponentSnapshot (knob.getLocalBounds(), true, 1.0f);
    knob.setLookAndFeel (nullptr);

    auto solid = [] (juce::Colour target) { return [target] (juce::Colour c) { return c.getAlpha() == 255 && near (c, target); }; };

    // The knob fills the slider above its text box: an 86 x 58 area centred at (43, 45).
    EXPECT_PRED2 (near, image.getPixelAt (43, 45), theme.knob.brighter (0.1f)) << hex (image.getPixelAt (43, 45));
    EXPECT_GT (uitest::countPixels (image, { 0, 0, 86, 16 }, solid (theme.textDim)), 0);
    EXPECT_EQ (uitest::countPixels (image, { 0, 0, 86, 16 }, solid (theme.text)), 0);
    EXPECT_GT (uitest::countPixels (image, { 7, 74, 72, 16 }, solid (theme.text)), 0);
    EXPECT_EQ (uitest::countPixels (image, { 7, 74, 72, 16 }, solid (theme.textDim)), 0);
}

TEST (UiKitLabeledKnob, CaptionUsesBoldMonoAndDimText)
{
    OrganProcessor processor;
    rir::ui::LabeledKnob knob (processor.apvts, "vibrato", "VIBRATO");

    EXPECT_EQ (knob.label.getText(), juce::String ("VIBRATO"));
    EXPECT_EQ (knob.label.getJustificationType(), juce::Justification (juce::Justification::centred));
    EXPECT_EQ (knob.label.getFont(), rir::ui::monoFont (12.0f, true));
    EXPECT_EQ (knob.label.findColour (juce::Label::textColourId).getARGB(), 0xFFA6988Au);
}

TEST (UiKitLabeledKnob, CaptionFollowsTheThemeOnLookAndFeelChange)
{
    ThemeChange restore;
    OrganProcessor processor;
    rir::ui::LabeledKnob knob (processor.apvts, "perc", "PERC");

    rir::ui::mutableTheme().sizeM = 14.0f;
    rir::ui::mutableTheme().textDim = juce::Colour (0xFF102030u);
    EXPECT_EQ (knob.label.getFont().getHeight(), 12.0f);   // nothing changes until the look-and-feel does

    rir::ui::RirLookAndFeel lookAndFeel;
    knob.setLookAndFeel (&lookAndFeel);
    EXPECT_EQ (knob.label.getFont(), rir::ui::monoFont (14.0f, true));
    EXPECT_EQ (knob.label.findColour (juce::Label::textColourId).getARGB(), 0xFF102030u);
    knob.setLookAndFeel (nullptr);
}

TEST (UiKitLabeledKnob, ValueTextComesFromTheParameter)
{
    struct Case { const char* id; const char* text; };
    static const Case cases[] { { "bar1", "90 %" }, { "perc", "30 %" }, { "volume", "-10.0 dB" } };

    OrganProcessor processor;
    for (const auto& c : cases)
    {
        rir::ui::LabeledKnob knob (processor.apvts, c.id, c.id);
        knob.setBounds (0, 0, 86, 90);
        auto* textBox = textBoxOf (knob.slider);
        ASSERT_NE (textBox, nullptr);
        EXPECT_EQ (textBox->getText(), juce::String (c.text)) << c.id;
        EXPECT_EQ (knob.slider.getTextFromValue (knob.slider.getValue()), juce::String (c.text)) << c.id;
    }
}

TEST (UiKitLabeledKnob, SliderAndParameterMoveTogether)
{
    OrganProcessor processor;
    rir::ui::LabeledKnob knob (processor.apvts, "volume", "VOLUME");
    knob.setBounds (0, 0, 86, 90);

    // Text typed into the box goes back through the parameter.
    textBoxOf (knob.slider)->setText ("-20.0 dB", juce::sendNotificationSync);
    EXPECT_NEAR (test::parameterValues (processor.apvts)["volume"], -20.0f, 1.0e-4f);

    test::setParameter (processor.apvts, "volume", 3.0f);
    EXPECT_NEAR (knob.slider.getValue(), 3.0, 1.0e-4);
    EXPECT_EQ (textBoxOf (knob.slider)->getText(), juce::String ("3.0 dB"));
}

TEST (UiKitLabeledKnob, DoubleClickReturnsToTheDefault)
{
    OrganProcessor processor;
    for (const char* id : { "bar1", "bar2", "drive", "volume" })
    {
        rir::ui::LabeledKnob knob (processor.apvts, id, id);
        test::setParameter (processor.apvts, id, 0.5f);

        EXPECT_TRUE (knob.slider.isDoubleClickReturnEnabled()) << id;
        EXPECT_NEAR (knob.slider.getDoubleClickReturnValue(), defaultOf (processor.apvts, id), 1.0e-4) << id;
    }
}

TEST (UiKitLabeledKnob, UnknownParameterBuildsAnUnboundKnob)
{
    OrganProcessor processor;
    const auto before = test::parameterValues (processor.apvts);

    rir::ui::LabeledKnob knob (processor.apvts, "nosuchparam", "GHOST");
    knob.setBounds (0, 0, 86, 90);
    knob.slider.setValue (knob.slider.getMaximum(), juce::sendNotificationSync);

    EXPECT_TRUE (knob.slider.isVisible());
    EXPECT_EQ (knob.label.getText(), juce::String ("GHOST"));
    EXPECT_FALSE (knob.slider.isDoubleClickReturnEnabled());
    EXPECT_EQ (test::parameterValues (processor.apvts), before);
}

TEST (UiKitLabeledKnob, ShortKnobIsAllCaption)
{
    OrganProcessor processor;
    rir::ui::LabeledKnob knob (processor.apvts, "rotary", "ROTARY");
    knob.setBounds (0, 0, 86, 10);

    EXPECT_EQ (knob.label.getBounds(), juce::Rectangle<int> (0, 0, 86, 10));
    EXPECT_EQ (knob.slider.getBounds(), juce::Rectangle<int> (0, 10, 86, 0));
}
