// ruv_bench: the cost of OrganProcessor::processBlock at 48 kHz with 512-sample stereo blocks.
#include "PluginProcessor.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{
    constexpr double sampleRate = 48000.0;
    constexpr int blockSize = 512;

    // One measured situation: the notes held and the parameter values set before timing.
    struct Case
    {
        const char* name;
        std::vector<int> heldNotes;
        std::vector<std::pair<juce::String, float>> settings;
    };

    std::vector<std::pair<juce::String, float>> everythingFull()
    {
        std::vector<std::pair<juce::String, float>> settings;
        for (int i = 1; i <= 9; ++i)
            settings.emplace_back ("bar" + juce::String (i), 1.0f);
        for (const char* id : { "perc", "vibrato", "rotary" })
            settings.emplace_back (id, 1.0f);
        return settings;
    }

    void processBlocks (benchmark::State& state, const Case& setup)
    {
        OrganProcessor processor;
        for (const auto& [id, value] : setup.settings)
        {
            auto* parameter = processor.apvts.getParameter (id);
            parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
        }

        processor.setRateAndBufferSizeDetails (sampleRate, blockSize);
        processor.prepareToPlay (sampleRate, blockSize);

        juce::AudioBuffer<float> buffer (2, blockSize);
        juce::MidiBuffer midi;
        for (const int note : setup.heldNotes)
            midi.addEvent (juce::MidiMessage::noteOn (1, note, 0.8f), 0);

        // Start the notes and let the parameter ramps settle before timing.
        for (int i = 0; i < 50; ++i)
        {
            processor.processBlock (buffer, midi);
            midi.clear();
        }

        for (auto _ : state)
        {
            processor.processBlock (buffer, midi);
            benchmark::DoNotOptimize (buffer.getReadPointer (0));
            benchmark::ClobberMemory();
        }

        const auto frames = (double) state.iterations() * blockSize;
        // Both counters divide by CPU time. Per sample frame (one sample on each channel),
        // printed with an SI prefix ("125ns"); the factor is audio seconds per CPU second ("/s").
        state.counters["cpu_per_sample"] = benchmark::Counter (frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        state.counters["realtime_factor"] = benchmark::Counter (frames / sampleRate, benchmark::Counter::kIsRate);
    }

    const std::vector<Case>& cases()
    {
        static const std::vector<Case> table {
            { "idle", {}, {} },
            { "one_note", { 60 }, {} },
            { "eight_notes_full", { 48, 52, 55, 60, 64, 67, 72, 76 }, everythingFull() },
        };
        return table;
    }
}

int main (int argc, char** argv)
{
    // The processor's parameter tree expects JUCE's message manager.
    juce::ScopedJuceInitialiser_GUI juce;

    for (const auto& setup : cases())
        benchmark::RegisterBenchmark (("processBlock/" + juce::String (setup.name)).toRawUTF8(),
                                      [&setup] (benchmark::State& state) { processBlocks (state, setup); });

    benchmark::Initialize (&argc, argv);
    if (benchmark::ReportUnrecognizedArguments (argc, argv))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
