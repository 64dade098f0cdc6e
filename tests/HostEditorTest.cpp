// Opens the plug-in's editor through JUCE's VST3 hosting code in a real X window (a virtual
// display under ctest) and reads back what it shows.
#include "PluginHost.h"

#include <gtest/gtest.h>

#include "XDisplay.h"

#include <X11/Xutil.h>

#include <atomic>
#include <thread>

namespace
{
    const juce::File bundle = rir::host::bundleFor (juce::File (RUV_PLUGIN_BINARY));

    juce::uint32 rgbAt (Display* display, Window window, int x, int y)
    {
        XImage* image = XGetImage (display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return 0xffffffffu;
        const auto pixel = (juce::uint32) XGetPixel (image, 0, 0) & 0xffffffu;
        XDestroyImage (image);
        return pixel;
    }

    // Processes blocks with notes on a thread of its own, as a host's audio thread does.
    class AudioThread
    {
    public:
        explicit AudioThread (juce::AudioPluginInstance& p) : plugin (p)
        {
            plugin.setPlayConfigDetails (0, 2, 48000.0, 512);
            plugin.prepareToPlay (48000.0, 512);
            thread = std::thread ([this] { run(); });
        }

        ~AudioThread()
        {
            running = false;
            thread.join();
            plugin.releaseResources();
        }

        std::atomic<int> blocks { 0 };

    private:
        void run()
        {
            juce::AudioBuffer<float> buffer (2, 512);
            juce::MidiBuffer midi;
            while (running)
            {
                midi.clear();
                const int block = blocks.load();
                if (block % 40 == 0)
                    midi.addEvent (juce::MidiMessage::noteOn (1, 48 + block % 24, 0.8f), 0);
                if (block % 40 == 20)
                    midi.addEvent (juce::MidiMessage::allNotesOff (1), 0);
                plugin.processBlock (buffer, midi);
                ++blocks;
                std::this_thread::sleep_for (std::chrono::milliseconds (2));
            }
        }

        juce::AudioPluginInstance& plugin;
        std::atomic<bool> running { true };
        std::thread thread;
    };
}

TEST (HostedEditor, OpensAtItsFixedSizeAndSurvivesReopeningWhileAudioRuns)
{
    const test::XDisplay x;
    if (! x.isOpen())
        GTEST_SKIP() << "no X display: run under xvfb-run";
    Display* display = x.get();

    rir::host::PluginHost host;
    juce::String error;
    auto plugin = host.load (bundle, 48000.0, 512, error);
    ASSERT_NE (plugin, nullptr) << error;

    AudioThread audio (*plugin);

    for (int round = 0; round < 6; ++round)
    {
        SCOPED_TRACE (round);
        std::unique_ptr<juce::AudioProcessorEditor> editor (plugin->createEditorIfNeeded());
        ASSERT_NE (editor, nullptr);
        EXPECT_EQ (editor->getWidth(), 720);
        EXPECT_EQ (editor->getHeight(), 400);
        EXPECT_FALSE (editor->isResizable());

        editor->setTopLeftPosition (0, 0);
        editor->addToDesktop (0);
        editor->setVisible (true);
        juce::MessageManager::getInstance()->runDispatchLoopUntil (150);

        if (round == 0)
        {
            // The plug-in paints its own embedded window from the host's message loop: give it
            // time on a busy machine.
            const auto window = (Window) (juce::pointer_sized_int) editor->getPeer()->getNativeHandle();
            for (int wait = 0; wait < 100 && rgbAt (display, window, 61, 125) != 0x2e2e32u; ++wait)
            {
                juce::MessageManager::getInstance()->runDispatchLoopUntil (50);
                XSync (display, False);
            }

            EXPECT_EQ (rgbAt (display, window, 5, 395), 0x0c0c0eu);   // window background
            EXPECT_EQ (rgbAt (display, window, 61, 125), 0x2e2e32u);  // first knob's face
            EXPECT_EQ (rgbAt (display, window, 100, 365) & 0xe0e0e0u, 0xe0e0e0u); // a white key
        }

        editor.reset();
        EXPECT_EQ (plugin->getActiveEditor(), nullptr);
    }

    EXPECT_GT (audio.blocks.load(), 10);}
