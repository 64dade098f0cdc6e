#pragma once

#include <juce_data_structures/juce_data_structures.h>

// Reads a ValueTree from bytes that may be corrupt or crafted. The framework's reader trusts the
// counts it finds: a corrupt block can make it loop for minutes, try to reserve gigabytes or
// recurse until the stack overflows. This checks the block's structure first, within bounds,
// and only then hands it to the framework's reader.
namespace SafeTreeReader
{
    // An invalid tree when the bytes do not hold a well-formed tree; trailing bytes are ignored.
    juce::ValueTree read (const void* data, size_t numBytes);

    // Whether the bytes start with a well-formed tree in the framework's stream encoding.
    bool isWellFormed (const void* data, size_t numBytes);
}
