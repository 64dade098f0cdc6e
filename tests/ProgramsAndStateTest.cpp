#include "Presets.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

using test::parameterValues;
using test::saveState;
using test::setParameter;

TEST (FactoryPresets, FourNamedPresetsThatStartWithTheNineDrawbarsAndStayInRange)
{
    const auto& presets = Presets::getFactoryPresets();
    EXPECT_EQ (&presets, &Presets::getFactoryPresets());

    const std::pair<const char*, size_t> expected[] = {
        { "Full Gospel", 12 }, { "Jazz Trio", 11 }, { "Rock 888", 11 }, { "Flute Stop", 11 }
    };
    ASSERT_EQ (presets.size(), std::size (expected));

    OrganProcessor processor;
    for (size_t i = 0; i < presets.size(); ++i)
    {
        const auto& preset = presets[i];
        SCOPED_TRACE (preset.name);
        EXPECT_EQ (preset.name, expected[i].first);
        ASSERT_EQ (preset.values.size(), expected[i].second);

        for (size_t k = 0; k < 9; ++k)
            EXPECT_EQ (preset.values[k].first, "bar" + juce::String ((int) k + 1));

        for (const auto& [id, value] : preset.values)
        {
            EXPECT_NE (id, "volume");
            auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (processor.apvts.getParameter (id));
            ASSERT_NE (parameter, nullptr) << id;
            EXPECT_GE (value, parameter->getNormalisableRange().start) << id;
            EXPECT_LE (value, parameter->getNormalisableRange().end) << id;
        }
    }
}

TEST (Programs, ReportFourFactoryNamesAndIgnoreOutOfRangeIndices)
{
    OrganProcessor processor;
    EXPECT_EQ (processor.getNumPrograms(), 4);
    EXPECT_EQ (processor.getProgramName (0), "Full Gospel");
    EXPECT_EQ (processor.getProgramName (3), "Flute Stop");
    EXPECT_EQ (processor.getProgramName (-1), "");
    EXPECT_EQ (processor.getProgramName (4), "");

    // A fresh instance says program 0 but holds the layout defaults, not that preset.
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_FLOAT_EQ (parameterValues (processor.apvts)["perc"], 0.3f);

    processor.setCurrentProgram (3);
    const auto before = parameterValues (processor.apvts);

    for (int index : { -1, 4, 1000, std::numeric_limits<int>::min() })
    {
        processor.setCurrentProgram (index);
        EXPECT_EQ (processor.getCurrentProgram(), 3);
        EXPECT_EQ (parameterValues (processor.apvts), before);
    }

    processor.changeProgramName (0, "Renamed");
    EXPECT_EQ (processor.getProgramName (0), "Full Gospel");
}

TEST (Programs, LoadingAPresetSetsOnlyWhatItListsAndKeepsVolume)
{
    OrganProcessor processor;
    setParameter (processor.apvts, "volume", -3.0f);

    processor.setCurrentProgram (2); // "Rock 888"
    processor.setCurrentProgram (1); // "Jazz Trio", which does not list "drive"

    auto values = parameterValues (processor.apvts);
    EXPECT_EQ (processor.getCurrentProgram(), 1);
    EXPECT_FLOAT_EQ (values["drive"], 0.55f);
    EXPECT_FLOAT_EQ (values["volume"], -3.0f);
    EXPECT_FLOAT_EQ (values["vibrato"], 0.2f); // still the default: no preset here sets it

    for (const auto& [id, value] : Presets::getFactoryPresets()[1].values)
        EXPECT_FLOAT_EQ (values[id], value) << id;

    processor.setCurrentProgram (0);
    EXPECT_FLOAT_EQ (parameterValues (processor.apvts)["perc"], 0.0f);
}

TEST (PersistedState, RoundTripsIntoANewInstanceAndReplacesTheDestination)
{
    OrganProcessor source;
    source.setCurrentProgram (2);
    setParameter (source.apvts, "volume", 3.7f);
    setParameter (source.apvts, "vibrato", 0.123f);
    setParameter (source.apvts, "bar7", 1.0f);

    juce::MemoryBlock block (4096, true); // must be replaced, not appended to
    source.getStateInformation (block);
    EXPECT_EQ (block.getSize(), saveState (source).getSize());

    const auto tree = juce::ValueTree::readFromData (block.getData(), block.getSize());
    EXPECT_EQ (tree.getType().toString(), "PARAMETERS");
    EXPECT_EQ (tree.getNumChildren(), 14);

    OrganProcessor restored;
    restored.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (parameterValues (restored.apvts), parameterValues (source.apvts));
    EXPECT_EQ (restored.getCurrentProgram(), 0);
}

TEST (PersistedState, UnreadableBlocksChangeNothing)
{
    OrganProcessor processor;
    processor.setCurrentProgram (3);
    const auto before = parameterValues (processor.apvts);
    const auto valid = saveState (processor);

    std::vector<juce::MemoryBlock> blocks;
    blocks.emplace_back();                                                   // empty
    blocks.emplace_back (64, true);                                          // zeros: empty type name
    blocks.emplace_back (valid.getData(), 1);                                // truncated to one byte
    blocks.emplace_back (valid.getData(), valid.getSize() / 2);              // truncated midway
    blocks.emplace_back (valid.getData(), valid.getSize() - 1);              // last byte missing

    for (const auto& block : blocks)
    {
        processor.setStateInformation (block.getData(), (int) block.getSize());
        EXPECT_EQ (parameterValues (processor.apvts), before) << "block of " << block.getSize() << " bytes";
    }

    processor.setStateInformation (nullptr, 100);
    processor.setStateInformation (valid.getData(), -5);
    EXPECT_EQ (parameterValues (processor.apvts), before);
}

TEST (PersistedState, RandomBytesNeverCrashOrLeaveParametersOutOfRange)
{
    OrganProcessor processor;
    juce::Random random (1234);

    for (int trial = 0; trial < 300; ++trial)
    {
        juce::MemoryBlock block ((size_t) random.nextInt ({ 1, 300 }));
        random.fillBitsRandomly (block.getData(), block.getSize());
        if (trial % 3 == 0)
            block.copyFrom ("PARAMETERS", 0, 11); // a plausible head with a corrupt body

        processor.setStateInformation (block.getData(), (int) block.getSize());
    }

    for (const auto& [id, value] : parameterValues (processor.apvts))
    {
        auto* parameter = dynamic_cast<juce::RangedAudioParameter*> (processor.apvts.getParameter (id));
        EXPECT_TRUE (std::isfinite (value)) << id;
        EXPECT_GE (value, parameter->getNormalisableRange().start) << id;
        EXPECT_LE (value, parameter->getNormalisableRange().end) << id;
    }

    const auto saved = juce::ValueTree::readFromData (saveState (processor).getData(), saveState (processor).getSize());
    std::set<juce::String> ids;
    for (const auto& child : saved)
        ids.insert (child["id"].toString());
    for (auto* parameter : processor.getParameters())
        EXPECT_EQ (ids.count (dynamic_cast<juce::RangedAudioParameter*> (parameter)->getParameterID()), 1u);
}

TEST (PersistedState, ForeignTreesChangeOnlyMatchingParametersAndNonFiniteValuesAreIgnored)
{
    OrganProcessor processor;
    setParameter (processor.apvts, "bar1", 0.5f);
    setParameter (processor.apvts, "bar2", 0.25f);
    setParameter (processor.apvts, "bar3", 0.75f);
    setParameter (processor.apvts, "bar5", 0.6f);
    setParameter (processor.apvts, "volume", -20.0f);
    const auto before = parameterValues (processor.apvts);

    constexpr auto nan = std::numeric_limits<double>::quiet_NaN();
    constexpr auto inf = std::numeric_limits<double>::infinity();

    juce::ValueTree foreign ("SomethingElse");
    auto add = [&foreign] (const juce::var& id, const juce::var& value)
    {
        foreign.appendChild (juce::ValueTree ("PARAM", { { "id", id }, { "value", value } }), nullptr);
    };
    add ("bar1", nan);
    add ("bar2", inf);
    add ("bar3", -inf);
    add ("bar4", 2.5);          // clamped to the range end
    add ("bar5", "nan");        // a string that reads as NaN
    add ("volume", -1000.0);    // clamped to -60 dB
    add ("nonsense", 0.1);      // matches nothing
    add (42, 0.1);

    processor.setStateInformation (test::encode (foreign).getData(), (int) test::encode (foreign).getSize());

    auto after = parameterValues (processor.apvts);
    for (const char* kept : { "bar1", "bar2", "bar3", "bar5" })
        EXPECT_FLOAT_EQ (after[kept], before.at (kept)) << kept;
    EXPECT_FLOAT_EQ (after["bar4"], 1.0f);
    EXPECT_FLOAT_EQ (after["volume"], -60.0f);
    EXPECT_FLOAT_EQ (after["bar9"], before.at ("bar9"));
}

TEST (PersistedState, MissingParametersKeepTheirValuesAndAreSavedAgain)
{
    OrganProcessor processor;
    setParameter (processor.apvts, "drive", 0.9f);
    setParameter (processor.apvts, "volume", 2.0f);
    processor.setCurrentProgram (3);

    juce::ValueTree partial ("PARAMETERS");
    partial.appendChild (juce::ValueTree ("PARAM", { { "id", "bar1" }, { "value", 0.33 } }), nullptr);
    const auto block = test::encode (partial);

    auto expected = parameterValues (processor.apvts);
    expected["bar1"] = 0.33f;

    processor.setStateInformation (block.getData(), (int) block.getSize());
    EXPECT_EQ (parameterValues (processor.apvts), expected);
    EXPECT_EQ (processor.getCurrentProgram(), 3);

    OrganProcessor reloaded;
    const auto saved = saveState (processor);
    EXPECT_EQ (juce::ValueTree::readFromData (saved.getData(), saved.getSize()).getNumChildren(), 14);
    reloaded.setStateInformation (saved.getData(), (int) saved.getSize());
    EXPECT_EQ (parameterValues (reloaded.apvts), expected);
}
