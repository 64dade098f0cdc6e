#include "SafeTreeReader.h"
#include "TestHelpers.h"

#include <gtest/gtest.h>

namespace
{
    juce::MemoryBlock bytes (std::initializer_list<int> values)
    {
        juce::MemoryBlock block;
        for (int v : values)
            block.append (&v, 1); // little-endian: the low byte
        return block;
    }

    juce::MemoryBlock deeplyNested (int depth)
    {
        juce::MemoryOutputStream out;
        for (int i = 0; i < depth; ++i)
        {
            out.writeString ("T");
            out.writeCompressedInt (0); // no properties
            out.writeCompressedInt (1); // one child
        }
        out.writeString ("T");
        out.writeCompressedInt (0);
        out.writeCompressedInt (0);
        return out.getMemoryBlock();
    }
}

TEST (SafeTreeReader, ReadsEveryValueKindTheFrameworkWrites)
{
    juce::ValueTree tree ("ROOT", { { "int", 42 }, { "int64", (juce::int64) 1 << 40 }, { "yes", true },
                                    { "no", false }, { "double", 0.25 }, { "text", "hello" } });
    tree.setProperty ("binary", juce::var (juce::MemoryBlock ("abc", 3)), nullptr);
    tree.setProperty ("array", juce::Array<juce::var> { 1, "two", juce::Array<juce::var> { 3.0 } }, nullptr);
    tree.setProperty ("void", juce::var(), nullptr);
    tree.appendChild (juce::ValueTree ("CHILD", { { "id", "bar1" } }, { juce::ValueTree ("GRANDCHILD") }), nullptr);

    auto block = test::encode (tree);
    block.append ("trailing", 8);

    const auto read = SafeTreeReader::read (block.getData(), block.getSize());
    ASSERT_TRUE (read.isValid());
    EXPECT_TRUE (read.isEquivalentTo (tree));

    // Every proper prefix is incomplete.
    for (size_t length = 0; length < test::encode (tree).getSize(); ++length)
        EXPECT_FALSE (SafeTreeReader::isWellFormed (block.getData(), length)) << length;
}

TEST (SafeTreeReader, RejectsCraftedCountsAndNestingWithoutTryingThem)
{
    struct Case { const char* what; juce::MemoryBlock block; };
    const Case cases[] = {
        // "T\0", then the counts: a compressed int is a size byte and up to four bytes.
        { "huge property count", bytes ({ 'T', 0, 4, 0xff, 0xff, 0xff, 0x7f }) },
        { "huge child count",    bytes ({ 'T', 0, 0, 4, 0xff, 0xff, 0xff, 0x7f }) },
        { "negative child count", bytes ({ 'T', 0, 0, 0x81, 5 }) },
        { "oversized count field", bytes ({ 'T', 0, 5, 1, 1, 1, 1, 1 }) },
        { "huge value size",     bytes ({ 'T', 0, 1, 1, 'v', 0, 4, 0xff, 0xff, 0xff, 0x7f, 8 }) },
        { "huge array",          bytes ({ 'T', 0, 1, 1, 'v', 0, 1, 6, 7, 4, 0xff, 0xff, 0xff, 0x7f }) },
        { "empty property name", bytes ({ 'T', 0, 1, 1, 0, 0, 0 }) },
        { "unterminated type",   bytes ({ 'T', 'T', 'T' }) },
        { "nesting 100000 deep", deeplyNested (100000) },
    };

    for (const auto& c : cases)
    {
        EXPECT_FALSE (SafeTreeReader::read (c.block.getData(), c.block.getSize()).isValid()) << c.what;

        OrganProcessor processor;
        const auto before = test::parameterValues (processor.apvts);
        processor.setStateInformation (c.block.getData(), (int) c.block.getSize());
        EXPECT_EQ (test::parameterValues (processor.apvts), before) << c.what;
    }

    EXPECT_TRUE (SafeTreeReader::read (deeplyNested (20).getData(), deeplyNested (20).getSize()).isValid());
}
