#pragma once

#include <juce_graphics/juce_graphics.h>

namespace rir::ui
{

// Every colour and text size the kit paints with. Sizes are font heights in pixels.
struct Theme
{
    juce::Colour background, panel, knob, track, outline;   // greys, darkest first
    juce::Colour accent, accentBright, accentDim;           // one amber at three brightnesses
    juce::Colour brick, teal, tealBright;
    juce::Colour text, textDim, textMuted;
    juce::Colour red, green;

    float metricA;
    float knobArcRatio;   // knob arc thickness as a fraction of the knob radius
    float metricB;
    float sizeXL, sizeL, sizeM, sizeS, sizeXS;
};

inline Theme obsidianTheme()
{
    return {
        juce::Colour (0xFF0C0C0Eu), juce::Colour (0xFF141417u), juce::Colour (0xFF1A1A1Eu),
        juce::Colour (0xFF26262Bu), juce::Colour (0xFF34343Bu),
        juce::Colour (0xFFE8B24Cu), juce::Colour (0xFFF3D38Au), juce::Colour (0xFFC9922Fu),
        juce::Colour (0xFF8A2F1Cu), juce::Colour (0xFF37B9A8u), juce::Colour (0xFF7FE6D6u),
        juce::Colour (0xFFECEAE6u), juce::Colour (0xFFA6988Au), juce::Colour (0xFF6F6357u),
        juce::Colour (0xFFFF5C4Du), juce::Colour (0xFF8FCB6Eu),
        12.0f, 0.16f, 6.0f,
        22.0f, 15.0f, 12.0f, 11.0f, 10.0f
    };
}

// The process-wide theme. Readers call this each time they need a value, so nobody holds a copy.
inline Theme& mutableTheme()
{
    static Theme theme = obsidianTheme();
    return theme;
}

// Monospaced placeholder face, always in its bold style; the flag is kept for call-site symmetry
// with sansFont.
inline juce::Font monoFont (float height, bool /*bold*/)
{
    return juce::Font (juce::Font::getDefaultMonospacedFontName(), "Bold", height);
}

// The default sans-serif face.
inline juce::Font sansFont (float height, bool bold)
{
    return juce::Font (height, bold ? juce::Font::bold : juce::Font::plain);
}

} // namespace rir::ui
