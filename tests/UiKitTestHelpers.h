#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>
#include <functional>
#include <string>

namespace uitest
{
    // Equal within a few steps per channel, so edge smoothing and premultiplication rounding
    // do not matter; probes sit well inside shapes.
    inline bool nearWithin (juce::Colour actual, juce::Colour expected, int tolerance)
    {
        auto close = [tolerance] (int a, int b) { return std::abs (a - b) <= tolerance; };
        return close (actual.getAlpha(), expected.getAlpha())
            && close (actual.getRed(), expected.getRed())
            && close (actual.getGreen(), expected.getGreen())
            && close (actual.getBlue(), expected.getBlue());
    }

    // A slider's value text box: its only child label.
    inline juce::Label* textBoxOf (juce::Slider& slider)
    {
        for (auto* child : slider.getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (child))
                return label;
        return nullptr;
    }

    inline bool near (juce::Colour actual, juce::Colour expected)
    {
        return nearWithin (actual, expected, 3);
    }

    inline std::string hex (juce::Colour c)
    {
        return c.toDisplayString (true).toStdString();
    }

    inline juce::Colour pixel (const juce::Image& image, juce::Point<float> p)
    {
        return image.getPixelAt (juce::roundToInt (std::floor (p.x)), juce::roundToInt (std::floor (p.y)));
    }

    // A point at the given distance from the centre, angles as the framework's rotary sliders
    // use them: 0 points up, growing clockwise.
    inline juce::Point<float> polar (juce::Point<float> centre, float radius, float angle)
    {
        return { centre.x + radius * std::sin (angle), centre.y - radius * std::cos (angle) };
    }

    inline juce::Image blankImage (int width, int height)
    {
        return juce::Image (juce::Image::ARGB, width, height, true, juce::SoftwareImageType());
    }

    inline int countPixels (const juce::Image& image, juce::Rectangle<int> area,
                            const std::function<bool (juce::Colour)>& predicate)
    {
        int count = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (predicate (image.getPixelAt (x, y)))
                    ++count;
        return count;
    }

    inline bool sameImages (const juce::Image& a, const juce::Image& b)
    {
        if (a.getBounds() != b.getBounds())
            return false;
        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    return false;
        return true;
    }
}
