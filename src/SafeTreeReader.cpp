#include "SafeTreeReader.h"

namespace SafeTreeReader
{
namespace
{
    // Deeper than any state this plug-in writes (root and one level of children), by far.
    constexpr int maxDepth = 32;

    // Value type markers of the framework's var encoding.
    enum Marker : juce::uint8 { intMarker = 1, boolTrue = 2, boolFalse = 3, doubleMarker = 4,
                                stringMarker = 5, int64Marker = 6, arrayMarker = 7, binaryMarker = 8 };

    // Walks the encoding as the framework's reader does, failing instead of reading past the end.
    class Walker
    {
    public:
        Walker (const void* data, size_t size) : bytes (static_cast<const juce::uint8*> (data)), end (size) {}

        bool tree (int depth)
        {
            size_t typeLength = 0;
            if (depth > maxDepth || ! string (typeLength) || typeLength == 0)
                return false;

            int numProperties = 0;
            if (! count (numProperties))
                return false;

            for (int i = 0; i < numProperties; ++i)
            {
                size_t nameLength = 0;
                if (! string (nameLength) || nameLength == 0 || ! value (depth + 1))
                    return false;
            }

            int numChildren = 0;
            if (! count (numChildren))
                return false;

            for (int i = 0; i < numChildren; ++i)
                if (! tree (depth + 1))
                    return false;

            return true;
        }

    private:
        const juce::uint8* bytes;
        size_t end;
        size_t position = 0;

        size_t remaining() const { return end - position; }

        bool skip (size_t n)
        {
            if (n > remaining())
                return false;
            position += n;
            return true;
        }

        // A zero-terminated string; length excludes the terminator.
        bool string (size_t& length)
        {
            for (size_t i = position; i < end; ++i)
            {
                if (bytes[i] == 0)
                {
                    length = i - position;
                    position = i + 1;
                    return true;
                }
            }
            return false;
        }

        bool compressedInt (int& result)
        {
            if (! skip (1))
                return false;

            const auto sizeByte = bytes[position - 1];
            const int numBytes = sizeByte & 0x7f;
            if (numBytes > 4 || (size_t) numBytes > remaining())
                return false;

            juce::uint32 magnitude = 0;
            for (int i = 0; i < numBytes; ++i)
                magnitude |= (juce::uint32) bytes[position + (size_t) i] << (8 * i);
            position += (size_t) numBytes;

            if (magnitude > 0x7fffffffu)
                return false;

            result = (sizeByte & 0x80) != 0 ? -(int) magnitude : (int) magnitude;
            return true;
        }

        // A count of items that each take at least one byte: never more than the bytes left.
        bool count (int& result)
        {
            return compressedInt (result) && result >= 0 && (size_t) result <= remaining();
        }

        bool value (int depth)
        {
            int numBytes = 0;
            if (depth > maxDepth || ! compressedInt (numBytes) || numBytes < 0 || (size_t) numBytes > remaining())
                return false;

            if (numBytes == 0)
                return true;

            const auto marker = bytes[position++];
            const auto payload = (size_t) numBytes - 1;

            switch (marker)
            {
                case intMarker:    return skip (4);
                case int64Marker:  return skip (8);
                case doubleMarker: return skip (8);
                case boolTrue:
                case boolFalse:    return true;
                case arrayMarker:
                {
                    int numElements = 0;
                    if (! count (numElements))
                        return false;
                    for (int i = 0; i < numElements; ++i)
                        if (! value (depth + 1))
                            return false;
                    return true;
                }
                case stringMarker:
                case binaryMarker:
                default:           return skip (payload);
            }
        }
    };
}

bool isWellFormed (const void* data, size_t numBytes)
{
    if (data == nullptr || numBytes == 0)
        return false;

    return Walker (data, numBytes).tree (0);
}

juce::ValueTree read (const void* data, size_t numBytes)
{
    if (! isWellFormed (data, numBytes))
        return {};

    return juce::ValueTree::readFromData (data, numBytes);
}

} // namespace SafeTreeReader
