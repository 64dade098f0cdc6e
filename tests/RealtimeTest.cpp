// Counts heap allocations made on this thread while processBlock runs.
#include "TestHelpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

namespace
{
    thread_local bool countingAllocations = false;
    thread_local long allocationCount = 0;

    void* allocate (std::size_t size)
    {
        if (countingAllocations)
            ++allocationCount;

        if (void* p = std::malloc (size == 0 ? 1 : size))
            return p;

        throw std::bad_alloc();
    }

    int* volatile escape = nullptr;

    struct CountAllocations
    {
        CountAllocations()  { allocationCount = 0; countingAllocations = true; }
        ~CountAllocations() { countingAllocations = false; }
    };
}

void* operator new (std::size_t size)                              { return allocate (size); }
void* operator new[] (std::size_t size)                            { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept
{
    try { return allocate (size); } catch (...) { return nullptr; }
}
void operator delete (void* p) noexcept                            { std::free (p); }
void operator delete[] (void* p) noexcept                          { std::free (p); }
void operator delete (void* p, std::size_t) noexcept               { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept             { std::free (p); }

TEST (Realtime, TheCounterSeesAllocationsOnThisThread)
{
    CountAllocations counter;
    escape = new int[16];
    delete[] escape;
    EXPECT_EQ (allocationCount, 1);
}

TEST (Realtime, ProcessBlockAllocatesNothingWithNotesParameterAndProgramChanges)
{
    OrganProcessor processor;
    processor.prepareToPlay (48000.0, 512);

    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;
    midi.ensureSize (8192); // a host hands over a buffer with room for its events
    processor.processBlock (buffer, midi);

    juce::Random random (7);
    long allocations = 0;

    for (int block = 0; block < 400; ++block)
    {
        // Message-thread work between blocks: automation, program changes, on-screen keys.
        test::setParameter (processor.apvts, "bar" + juce::String (1 + block % 9), random.nextFloat());
        test::setParameter (processor.apvts, "drive", random.nextFloat());
        test::setParameter (processor.apvts, "volume", -60.0f + 66.0f * random.nextFloat());
        if (block % 50 == 0)
            processor.setCurrentProgram ((block / 50) % 4);
        if (block % 7 == 0)
            processor.keyboardState.noteOn (1, 36 + block % 48, 0.9f);
        if (block % 11 == 0)
            processor.keyboardState.allNotesOff (1);

        midi.clear();
        for (int i = 0; i < 3; ++i)
            midi.addEvent (juce::MidiMessage::noteOn (1 + i, random.nextInt ({ 24, 108 }), 0.8f), random.nextInt (512));
        midi.addEvent (juce::MidiMessage::noteOff (1, random.nextInt ({ 24, 108 })), random.nextInt (512));
        midi.addEvent (juce::MidiMessage::controllerEvent (1, 64, block % 2 == 0 ? 127 : 0), 100);
        midi.addEvent (juce::MidiMessage::pitchWheel (1, random.nextInt (16384)), 200);

        CountAllocations counter;
        processor.processBlock (buffer, midi);
        allocations += allocationCount;
    }

    EXPECT_EQ (allocations, 0);
}
