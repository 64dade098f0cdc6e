#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

namespace rir::ui
{

// A vertical bar that polls one of three published levels: instant rise, gradual fall.
// Indices 0 and 1 are linear gains shown on a -60..0 dB scale; index 2 is shown linearly, 0..18.
class MeterComponent : public juce::Component,
                       public juce::Timer
{
public:
    // levels points at the first of three consecutive values, owned by a producer that outlives
    // the meter.
    MeterComponent (const std::atomic<float>* levels, int index, const juce::String& caption);
    ~MeterComponent() override;

    void paint (juce::Graphics& g) override;
    void timerCallback() override;

    // The bar height currently shown, as a fraction of the well.
    float getDisplayLevel() const noexcept { return displayLevel; }

private:
    const std::atomic<float>* levels;
    int index;
    juce::String caption;
    float displayLevel = 0.0f;

    float targetLevel() const noexcept;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MeterComponent)
};

} // namespace rir::ui
