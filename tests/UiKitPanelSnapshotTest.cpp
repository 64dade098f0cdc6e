#include "TestHelpers.h"
#include "UiKitTestHelpers.h"

#include "PluginProcessor.h"
#include "ui/LabeledKnob.h"
#include "ui/MeterComponent.h"
#include "ui/RirLookAndFeel.h"
#include "ui/Theme.h"

#include <gtest/gtest.h>

namespace
{
    // A strip of the instrument's panel: a row of captioned knobs and the output meter.
    class KnobRowPanel : public juce::Component
    {
    public:
        explicit KnobRowPanel (OrganProcessor& processor)
            : meter (processor.meterLevels.values.data(), MeterLevels::peakIndex, "OUT")
        {
            struct Cell { const char* id; const char* caption; };
            static const Cell cells[] { { "bar1", "16'" }, { "bar3", "8'" }, { "bar4", "4'" },
                                        { "perc", "PERC" }, { "drive", "DRIVE" }, { "volume", "VOLUME" } };

            for (const auto& cell : cells)
                addAndMakeVisible (knobs.add (new rir::ui::LabeledKnob (processor.apvts, cell.id, cell.caption)));
            addAndMakeVisible (meter);

            setLookAndFeel (&lookAndFeel);
            setSize (8 + knobs.size() * 86 + 12 + 52 + 12, 106);
        }

        ~KnobRowPanel() override { setLookAndFeel (nullptr); }

        void paint (juce::Graphics& g) override { g.fillAll (rir::ui::mutableTheme().background); }

        void resized() override
        {
            for (int i = 0; i < knobs.size(); ++i)
                knobs[i]->setBounds (8 + i * 86, 8, 86, 90);
            meter.setBounds (8 + knobs.size() * 86 + 12, 31, 52, 44);
        }

        rir::ui::RirLookAndFeel lookAndFeel;
        juce::OwnedArray<rir::ui::LabeledKnob> knobs;
        rir::ui::MeterComponent meter;
    };
}

TEST (UiKitPanelSnapshot, WritesKnobRowAndMeterPng)
{
    OrganProcessor processor;
    test::setParameter (processor.apvts, "drive", 0.6f);
    processor.meterLevels.peak().store (0.3f);

    KnobRowPanel panel (processor);
    panel.meter.timerCallback();

    const auto image = panel.createComponentSnapshot (panel.getLocalBounds(), true, 2.0f);
    const auto file = juce::File (RUV_TEST_OUTPUT_DIR).getChildFile ("ui_kit_panel.png");
    file.deleteFile();
    {
        juce::FileOutputStream stream (file);
        ASSERT_TRUE (stream.openedOk());
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (image, stream));
    }
    EXPECT_GT (file.getSize(), 0);

    // The whole panel is opaque, dark background with the kit's pieces on it.
    const auto& theme = rir::ui::mutableTheme();
    EXPECT_PRED2 (uitest::near, image.getPixelAt (2, 2), theme.background);
    EXPECT_EQ (uitest::countPixels (image, image.getBounds(), [] (juce::Colour c) { return c.getAlpha() < 255; }), 0);
}
