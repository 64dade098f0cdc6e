#include "PluginEditor.h"
#include "Presets.h"
#include "TestHelpers.h"
#include "UiKitTestHelpers.h"
#include "ui/Theme.h"

#include <gtest/gtest.h>

#include "XDisplay.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace juce
{
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
    // The editor's children in the order it adds them: 14 controls, preset box, meter, keyboard.
    struct EditorParts
    {
        explicit EditorParts (OrganEditor& editor)
        {
            for (auto* child : editor.getChildren())
            {
                if (auto* box = dynamic_cast<juce::ComboBox*> (child))
                    presetBox = box;
                else if (auto* m = dynamic_cast<rir::ui::MeterComponent*> (child))
                    meter = m;
                else if (auto* k = dynamic_cast<juce::MidiKeyboardComponent*> (child))
                    keyboard = k;
                else
                    controls.push_back (child);
            }
        }

        juce::Slider& slider (size_t control) const
        {
            for (auto* child : controls[control]->getChildren())
                if (auto* s = dynamic_cast<juce::Slider*> (child))
                    return *s;
            throw std::runtime_error ("control without slider");
        }

        std::vector<juce::Component*> controls;
        juce::ComboBox* presetBox = nullptr;
        rir::ui::MeterComponent* meter = nullptr;
        juce::MidiKeyboardComponent* keyboard = nullptr;
    };

    using uitest::textBoxOf;

    // The plug-in's JUCE build has no modal loops (no runDispatchLoopUntil), so pump the
    // message queue with the framework's own single-step dispatcher until the condition holds
    // (generous time limits: X round trips are slow on a busy machine).
    template <typename Condition>
    bool dispatchUntil (Condition condition, int timeoutMs = 5000)
    {
        const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
        while (! condition())
        {
            if (juce::Time::getMillisecondCounter() > end)
                return false;
            if (! juce::dispatchNextMessageOnSystemQueue (true))
                juce::Thread::sleep (1);
        }
        return true;
    }

    // Delivers a key press or release to a window, as the X server would for a typed key.
    void sendKey (Display* display, Window window, KeySym key, bool down)
    {
        XEvent event {};
        event.xkey.type = down ? KeyPress : KeyRelease;
        event.xkey.display = display;
        event.xkey.window = window;
        event.xkey.root = DefaultRootWindow (display);
        event.xkey.time = CurrentTime;
        event.xkey.same_screen = True;
        event.xkey.keycode = XKeysymToKeycode (display, key);
        XSendEvent (display, window, True, down ? KeyPressMask : KeyReleaseMask, &event);
        XFlush (display);
    }

    juce::Rectangle<int> gridCell (int index, int columns, int top = 80)
    {
        return { 18 + (index % columns) * 86, top + (index / columns) * 90, 86, 90 };
    }
}

TEST (OrganEditor, LaysOutTheWindowAtItsFixedSize)
{
    OrganProcessor processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditor());
    auto* organEditor = dynamic_cast<OrganEditor*> (editor.get());
    ASSERT_NE (organEditor, nullptr);
    EXPECT_TRUE (processor.hasEditor());

    EXPECT_EQ (editor->getWidth(), 720);
    EXPECT_EQ (editor->getHeight(), 400);
    EXPECT_FALSE (editor->isResizable());

    const EditorParts parts (*organEditor);
    ASSERT_EQ (parts.controls.size(), 14u);
    ASSERT_NE (parts.presetBox, nullptr);
    ASSERT_NE (parts.meter, nullptr);
    ASSERT_NE (parts.keyboard, nullptr);

    EXPECT_EQ (parts.presetBox->getBounds(), juce::Rectangle<int> (546, 32, 152, 28));
    EXPECT_EQ (parts.meter->getBounds(), juce::Rectangle<int> (486, 24, 52, 44));
    EXPECT_EQ (parts.keyboard->getBounds(), juce::Rectangle<int> (18, 314, 684, 62));
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ (parts.controls[(size_t) i]->getBounds(), gridCell (i, 7)) << "control " << i;
}

TEST (OrganEditor, KeepsItsLayoutRulesAtSizesAHostImposes)
{
    struct Case { int width; int columns; int presetWidth; int meterWidth; };
    const Case cases[] = {
        { 720, 7, 152, 52 },
        { 506, 5, 152, 52 },  // header just wide enough for both
        { 476, 5, 152, 22 },  // the meter shrinks first
        { 446, 4, 152, 0 },
        { 436, 4, 142, 0 },   // then the preset box
        { 300, 3, 6, 0 },
        { 208, 2, 0, 0 },
        { 207, 1, 0, 0 },     // below 208 px one column
        { 20, 1, 0, 0 },
    };

    OrganProcessor processor;
    OrganEditor editor (processor);
    const EditorParts parts (editor);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.width);
        editor.setSize (c.width, 400);
        EXPECT_EQ (parts.presetBox->getWidth(), c.presetWidth);
        EXPECT_EQ (parts.meter->getWidth(), c.meterWidth);
        EXPECT_EQ (parts.keyboard->getWidth(), juce::jmax (0, c.width - 36));
        for (int i = 0; i < 14; ++i)
            EXPECT_EQ (parts.controls[(size_t) i]->getBounds(), gridCell (i, c.columns)) << "control " << i;
    }

    // A shorter window moves the grid with the header; the keyboard keeps the bottom strip.
    editor.setSize (720, 200);
    EXPECT_EQ (parts.keyboard->getBounds(), juce::Rectangle<int> (18, 114, 684, 62));
    EXPECT_EQ (parts.controls[0]->getBounds(), gridCell (0, 7));
}

TEST (OrganEditor, PresetBoxListsTheFactoryProgramsAndShowsTheCurrentOneWithoutReloadingIt)
{
    OrganProcessor processor;
    processor.setCurrentProgram (2);
    test::setParameter (processor.apvts, "bar1", 0.123f); // an edit after the program was loaded
    const auto before = test::parameterValues (processor.apvts);

    OrganEditor editor (processor);
    const EditorParts parts (editor);
    auto& box = *parts.presetBox;

    const auto& presets = Presets::getFactoryPresets();
    ASSERT_EQ (box.getNumItems(), (int) presets.size());
    for (int i = 0; i < box.getNumItems(); ++i)
    {
        EXPECT_EQ (box.getItemText (i), presets[(size_t) i].name);
        EXPECT_EQ (box.getItemId (i), i + 1);
    }

    EXPECT_EQ (box.getSelectedId(), 3);
    EXPECT_EQ (test::parameterValues (processor.apvts), before);
    EXPECT_EQ (processor.getCurrentProgram(), 2);
}

TEST (OrganEditor, ChoosingAPresetLoadsItAndKnobsFollowEveryProgramChange)
{
    OrganProcessor processor;
    OrganEditor editor (processor);
    const EditorParts parts (editor);

    parts.presetBox->setSelectedId (2, juce::sendNotificationSync); // "Jazz Trio"
    EXPECT_EQ (processor.getCurrentProgram(), 1);
    EXPECT_FLOAT_EQ (test::parameterValues (processor.apvts)["perc"], 0.6f);

    // The host switches programs while the window is open: the knobs follow, the box keeps its choice.
    processor.setCurrentProgram (3); // "Flute Stop"
    EXPECT_EQ (parts.presetBox->getSelectedId(), 2);

    const auto values = test::parameterValues (processor.apvts);
    const char* ids[] = { "bar1", "bar2", "bar3", "bar4", "bar5", "bar6", "bar7", "bar8", "bar9",
                          "perc", "vibrato", "rotary", "drive", "volume" };
    for (size_t i = 0; i < 14; ++i)
        EXPECT_NEAR (parts.slider (i).getValue(), values.at (ids[i]), 1e-6) << ids[i];
}

TEST (OrganEditor, KnobsShowTheParameterTextsAndCarryTheLookAndFeelColours)
{
    OrganProcessor processor;
    OrganEditor editor (processor);
    const EditorParts parts (editor);

    auto& volume = parts.slider (13);
    auto* text = textBoxOf (volume);
    ASSERT_NE (text, nullptr);

    volume.setValue (volume.getMinimum(), juce::sendNotificationSync);
    EXPECT_EQ (text->getText(), "-60.0 dB");
    EXPECT_FLOAT_EQ (test::parameterValues (processor.apvts)["volume"], -60.0f);

    volume.setValue (volume.getMaximum(), juce::sendNotificationSync);
    EXPECT_EQ (text->getText(), "6.0 dB");

    // Whoever changes a parameter, its knob follows.
    test::setParameter (processor.apvts, "bar3", 0.25f);
    EXPECT_EQ (textBoxOf (parts.slider (2))->getText(), "25 %");

    // Every text box shows the theme's text colour with no outline.
    for (size_t i = 0; i < 14; ++i)
    {
        auto* box = textBoxOf (parts.slider (i));
        EXPECT_EQ (box->findColour (juce::Label::textColourId), rir::ui::mutableTheme().text) << i;
        EXPECT_EQ (box->findColour (juce::Label::outlineColourId), juce::Colour (0x00000000)) << i;
    }
}

TEST (OrganEditor, KeyboardStartsAtC1WithTwentyPixelKeysAndPlaysTheOrgan)
{
    const test::XDisplay x;
    if (! x.isOpen())
        GTEST_SKIP() << "no X display: run under xvfb-run";
    Display* display = x.get();

    OrganProcessor processor;
    processor.prepareToPlay (48000.0, 256);
    OrganEditor editor (processor);
    const EditorParts parts (editor);
    auto& keyboard = *parts.keyboard;

    EXPECT_EQ (keyboard.getLowestVisibleKey(), 36);
    EXPECT_FLOAT_EQ (keyboard.getKeyWidth(), 20.0f);
    EXPECT_EQ (keyboard.getOrientation(), juce::MidiKeyboardComponent::horizontalKeyboard);
    EXPECT_TRUE (keyboard.getWantsKeyboardFocus());
    EXPECT_EQ (keyboard.getMidiChannel(), 1);

    // Mouse and keys need a real window.
    editor.setTopLeftPosition (0, 0);
    editor.addToDesktop (0);
    editor.setVisible (true);
    ASSERT_TRUE (dispatchUntil ([&] { return editor.isShowing() && editor.getPeer() != nullptr; }));

    // The leftmost key past the 12 px scroll button is note 36, which JUCE names "C1".
    EXPECT_EQ (keyboard.getNoteAndVelocityAtPosition ({ 14.0f, 55.0f }).note, 36);
    EXPECT_EQ (juce::MidiMessage::getMidiNoteName (36, true, true, 3), "C1");

    // The "a" key plays note 72 on channel 1 while the keyboard has the focus.
    ASSERT_TRUE (dispatchUntil ([&] { keyboard.grabKeyboardFocus(); return keyboard.hasKeyboardFocus (false); }));

    const auto window = (Window) (juce::pointer_sized_int) editor.getPeer()->getNativeHandle();
    sendKey (display, window, XK_a, true);
    EXPECT_TRUE (dispatchUntil ([&] { return processor.keyboardState.isNoteOn (1, 72); }));

    juce::AudioBuffer<float> buffer (2, 256);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
    EXPECT_GT (buffer.getMagnitude (0, 10, 246), 0.001f); // sounding in the next block

    sendKey (display, window, XK_a, false);
    EXPECT_TRUE (dispatchUntil ([&] { return ! processor.keyboardState.isNoteOn (1, 72); }));
}

TEST (OrganEditor, PaintsTheFinishedWindow)
{
    OrganProcessor processor;
    OrganEditor editor (processor);
    const auto image = editor.createComponentSnapshot (editor.getLocalBounds(), true, 1.0f);

    juce::File output (juce::String (RUV_TEST_OUTPUT_DIR) + "/organ_editor.png");
    output.deleteFile();
    juce::FileOutputStream stream (output);
    ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (image, stream));

    const auto& theme = rir::ui::mutableTheme();
    auto pixel = [&image] (int x, int y) { return image.getPixelAt (x, y).withAlpha ((juce::uint8) 255); };

    // Far from the glow the window is its plain background.
    EXPECT_EQ (pixel (4, 396), theme.background);
    EXPECT_EQ (pixel (715, 396), theme.background);

    // The glow brightens the teal channels near the header, beside the title.
    const auto glow = pixel (330, 40);
    EXPECT_GT (glow.getGreen(), theme.background.getGreen() + 4);
    EXPECT_GT (glow.getBlue(), theme.background.getBlue() + 4);
    EXPECT_LT (glow.getRed(), theme.background.getRed() + 4);

    // The maker word is amber, the title near-white: look for their colours in their rectangles.
    auto contains = [&] (juce::Rectangle<int> area, juce::Colour colour, int tolerance)
    {
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
            {
                const auto p = pixel (x, y);
                if (std::abs (p.getRed() - colour.getRed()) <= tolerance && std::abs (p.getGreen() - colour.getGreen()) <= tolerance
                    && std::abs (p.getBlue() - colour.getBlue()) <= tolerance)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE (contains ({ 20, 16, 60, 14 }, theme.accent, 12));
    EXPECT_TRUE (contains ({ 20, 28, 380, 30 }, theme.text, 12));
    EXPECT_FALSE (contains ({ 20, 28, 380, 30 }, theme.accent, 12));

    // Every knob's face at the centre of its drawing area (cell top + caption + half the knob).
    for (int i = 0; i < 14; ++i)
    {
        const int x = 18 + (i % 7) * 86 + 43, y = 80 + (i / 7) * 90 + 16 + 29;
        EXPECT_EQ (pixel (x, y), juce::Colour (0xff2e2e32)) << "knob " << i;
    }

    // The meter's empty well, and white keys along the keyboard's lower half.
    EXPECT_EQ (pixel (512, 40), theme.track);
    for (int x = 40; x < 700; x += 20)
        EXPECT_GT (pixel (x, 365).getBrightness(), 0.9f) << "key at x " << x;
}

namespace
{
    // A processor with a choice parameter, for the control kind no organ parameter uses yet.
    class ChoiceProcessor : public juce::AudioProcessor
    {
    public:
        ChoiceProcessor() : state (*this, nullptr, "PARAMETERS", createLayout()) {}

        static juce::AudioProcessorValueTreeState::ParameterLayout createLayout()
        {
            juce::AudioProcessorValueTreeState::ParameterLayout layout;
            layout.add (std::make_unique<juce::AudioParameterChoice> (juce::ParameterID { "speed", 1 }, "Speed",
                                                                      juce::StringArray { "Slow", "Brake", "Fast" }, 2));
            layout.add (std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { "level", 1 }, "Level", 0.0f, 1.0f, 0.5f));
            return layout;
        }

        const juce::String getName() const override { return "choice"; }
        void prepareToPlay (double, int) override {}
        void releaseResources() override {}
        using juce::AudioProcessor::processBlock;
        void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override {}
        double getTailLengthSeconds() const override { return 0.0; }
        bool acceptsMidi() const override { return false; }
        bool producesMidi() const override { return false; }
        juce::AudioProcessorEditor* createEditor() override { return nullptr; }
        bool hasEditor() const override { return false; }
        int getNumPrograms() override { return 1; }
        int getCurrentProgram() override { return 0; }
        void setCurrentProgram (int) override {}
        const juce::String getProgramName (int) override { return {}; }
        void changeProgramName (int, const juce::String&) override {}
        void getStateInformation (juce::MemoryBlock&) override {}
        void setStateInformation (const void*, int) override {}

        juce::AudioProcessorValueTreeState state;
    };

    struct ComboParts
    {
        explicit ComboParts (LabeledCombo& combo)
        {
            for (auto* child : combo.getChildren())
            {
                if (auto* l = dynamic_cast<juce::Label*> (child)) label = l;
                if (auto* b = dynamic_cast<juce::ComboBox*> (child)) box = b;
            }
        }

        juce::Label* label = nullptr;
        juce::ComboBox* box = nullptr;
    };
}

TEST (LabeledCombo, ShowsTheChoicesOfItsParameterAndFollowsItBothWays)
{
    ChoiceProcessor processor;
    LabeledCombo combo (processor.state, "speed", "SPEED");
    combo.setBounds (0, 0, 86, 90);

    const ComboParts parts (combo);
    ASSERT_NE (parts.label, nullptr);
    ASSERT_NE (parts.box, nullptr);

    EXPECT_EQ (parts.label->getText(), "SPEED");
    EXPECT_EQ (parts.label->getBounds(), juce::Rectangle<int> (0, 0, 86, 16));
    EXPECT_EQ (parts.box->getBounds(), juce::Rectangle<int> (2, 34, 82, 48));
    EXPECT_EQ (parts.label->findColour (juce::Label::textColourId), rir::ui::mutableTheme().textDim);
    EXPECT_EQ (parts.label->getFont().getTypefaceName(), juce::Font::getDefaultMonospacedFontName());
    EXPECT_FLOAT_EQ (parts.label->getFont().getHeight(), 12.0f);

    ASSERT_EQ (parts.box->getNumItems(), 3);
    EXPECT_EQ (parts.box->getItemText (1), "Brake");
    EXPECT_EQ (parts.box->getItemId (0), 1);
    EXPECT_EQ (parts.box->getSelectedId(), 3); // the default, "Fast"

    parts.box->setSelectedId (1, juce::sendNotificationSync);
    EXPECT_EQ (dynamic_cast<juce::AudioParameterChoice*> (processor.state.getParameter ("speed"))->getIndex(), 0);

    test::setParameter (processor.state, "speed", 1.0f);
    EXPECT_EQ (parts.box->getSelectedId(), 2);

    // Short cells give all their height to the caption first.
    combo.setSize (50, 10);
    EXPECT_EQ (parts.label->getBounds(), juce::Rectangle<int> (0, 0, 50, 10));
    EXPECT_EQ (parts.box->getHeight(), 0);
}

TEST (LabeledCombo, OtherOrUnknownParametersLeaveAnEmptyBox)
{
    ChoiceProcessor processor;

    for (const char* id : { "level", "nothing" })
    {
        LabeledCombo combo (processor.state, id, "X");
        const ComboParts parts (combo);
        EXPECT_EQ (parts.box->getNumItems(), 0) << id;

        // The float parameter is still attached: moving it leaves the empty box as it is.
        test::setParameter (processor.state, "level", 0.9f);
        EXPECT_EQ (parts.box->getSelectedId(), 0) << id;
        EXPECT_EQ (parts.label->getText(), "X");
    }
}
