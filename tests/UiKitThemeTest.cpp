#include "ui/Theme.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{
    using rir::ui::Theme;

    struct ColourField { const char* name; juce::Colour Theme::* field; juce::uint32 argb; };
    struct SizeField   { const char* name; float Theme::* field; float value; };

    const std::vector<ColourField>& colourFields()
    {
        static const std::vector<ColourField> fields {
            { "background",   &Theme::background,   0xFF0C0C0E }, { "panel",      &Theme::panel,      0xFF141417 },
            { "knob",         &Theme::knob,         0xFF1A1A1E }, { "track",      &Theme::track,      0xFF26262B },
            { "outline",      &Theme::outline,      0xFF34343B }, { "accent",     &Theme::accent,     0xFFE8B24C },
            { "accentBright", &Theme::accentBright, 0xFFF3D38A }, { "accentDim",  &Theme::accentDim,  0xFFC9922F },
            { "brick",        &Theme::brick,        0xFF8A2F1C }, { "teal",       &Theme::teal,       0xFF37B9A8 },
            { "tealBright",   &Theme::tealBright,   0xFF7FE6D6 }, { "text",       &Theme::text,       0xFFECEAE6 },
            { "textDim",      &Theme::textDim,      0xFFA6988A }, { "textMuted",  &Theme::textMuted,  0xFF6F6357 },
            { "red",          &Theme::red,          0xFFFF5C4D }, { "green",      &Theme::green,      0xFF8FCB6E },
        };
        return fields;
    }

    const std::vector<SizeField>& sizeFields()
    {
        static const std::vector<SizeField> fields {
            { "metricA", &Theme::metricA, 12.0f }, { "knobArcRatio", &Theme::knobArcRatio, 0.16f },
            { "metricB", &Theme::metricB, 6.0f },  { "sizeXL", &Theme::sizeXL, 22.0f },
            { "sizeL",   &Theme::sizeL,   15.0f }, { "sizeM",  &Theme::sizeM,  12.0f },
            { "sizeS",   &Theme::sizeS,   11.0f }, { "sizeXS", &Theme::sizeXS, 10.0f },
        };
        return fields;
    }

    void expectObsidian (const Theme& theme)
    {
        for (const auto& f : colourFields())
            EXPECT_EQ ((theme.*f.field).getARGB(), f.argb) << f.name;
        for (const auto& f : sizeFields())
            EXPECT_FLOAT_EQ (theme.*f.field, f.value) << f.name;
    }
}

TEST (UiKitTheme, ObsidianHoldsTheDarkPaletteAndSizes)
{
    expectObsidian (rir::ui::obsidianTheme());
}

TEST (UiKitTheme, RecordIsSixteenColoursThenEightSizes)
{
    static_assert (std::is_trivially_copyable_v<Theme>);
    EXPECT_EQ (sizeof (Theme), 16 * sizeof (juce::Colour) + 8 * sizeof (float));

    // Field order: the last colour sits just before the first size.
    const Theme theme {};
    const auto* base = reinterpret_cast<const char*> (&theme);
    EXPECT_EQ (reinterpret_cast<const char*> (&theme.green) - base, (std::ptrdiff_t) (15 * sizeof (juce::Colour)));
    EXPECT_EQ (reinterpret_cast<const char*> (&theme.metricA) - base, (std::ptrdiff_t) (16 * sizeof (juce::Colour)));
    EXPECT_EQ (reinterpret_cast<const char*> (&theme.sizeXS) - base,
               (std::ptrdiff_t) (16 * sizeof (juce::Colour) + 7 * sizeof (float)));
}

TEST (UiKitTheme, CallsOfObsidianAreEqual)
{
    const auto a = rir::ui::obsidianTheme();
    const auto b = rir::ui::obsidianTheme();
    EXPECT_EQ (std::memcmp (&a, &b, sizeof (Theme)), 0);
}

TEST (UiKitTheme, MutableThemeIsOneInstanceWithObsidianValues)
{
    auto* first = &rir::ui::mutableTheme();
    EXPECT_EQ (first, &rir::ui::mutableTheme());
    expectObsidian (*first);
}

TEST (UiKitTheme, DerivedColoursOfTheKnobAndGlow)
{
    const auto theme = rir::ui::obsidianTheme();
    EXPECT_EQ (theme.knob.brighter (0.1f).getARGB(), 0xFF2E2E32u);
    EXPECT_EQ (theme.accent.withAlpha ((juce::uint8) 0x40).getARGB(), 0x40E8B24Cu);
}

TEST (UiKitTheme, MonoFontIsBoldMonospacedWhateverTheFlag)
{
    for (const float height : { 10.0f, 11.0f, 12.0f })
    {
        const auto plain = rir::ui::monoFont (height, false);
        const auto bold = rir::ui::monoFont (height, true);

        EXPECT_EQ (plain, bold) << height;
        EXPECT_EQ (bold.getTypefaceName(), juce::Font::getDefaultMonospacedFontName());
        EXPECT_EQ (bold.getTypefaceStyle(), juce::String ("Bold"));
        EXPECT_TRUE (bold.isBold());
        EXPECT_FALSE (bold.isItalic());
        EXPECT_FLOAT_EQ (bold.getHeight(), height);
    }
}

TEST (UiKitTheme, SansFontUsesTheDefaultFaceAndTheFlag)
{
    struct Case { float height; bool bold; };
    static const Case cases[] { { 22.0f, true }, { 11.0f, false }, { 22.0f, false }, { 11.0f, true } };

    for (const auto& c : cases)
    {
        const auto font = rir::ui::sansFont (c.height, c.bold);

        EXPECT_EQ (font.getTypefaceName(), juce::Font::getDefaultSansSerifFontName()) << c.height;
        EXPECT_FLOAT_EQ (font.getHeight(), c.height);
        EXPECT_EQ (font.isBold(), c.bold) << c.height;
        EXPECT_EQ (font.getStyleFlags(), c.bold ? juce::Font::bold : juce::Font::plain) << c.height;
    }
}
