#include "RenderOptions.h"

namespace rir::render
{
namespace
{
    juce::File fileFrom (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }

    // A whole number in [low, high]; anything else (trailing text, overflow) is refused.
    bool parseInt (const juce::String& text, int low, int high, int& result)
    {
        const auto trimmed = text.trim();
        if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789") || trimmed.length() > 9)
            return false;

        const int value = trimmed.getIntValue();
        if (value < low || value > high)
            return false;

        result = value;
        return true;
    }

    bool parseSeconds (const juce::String& text, double low, double high, double& result)
    {
        const auto trimmed = text.trim();
        if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789.") || trimmed.indexOfChar ('.') != trimmed.lastIndexOfChar ('.'))
            return false;

        const double value = trimmed.getDoubleValue();
        if (value < low || value > high)
            return false;

        result = value;
        return true;
    }
}

juce::String usage()
{
    return "Usage: ruv_render [options]\n"
           "Renders the RUV AZOZU VST3 bundle offline into a stereo WAV file.\n"
           "\n"
           "  --bundle PATH   the .vst3 bundle (or the module binary inside it) to load\n"
           "                  (default: the one this build produced)\n"
           "  --midi FILE     a standard MIDI file to play; all tracks are merged\n"
           "                  (default: a built-in demo phrase of about 8 seconds)\n"
           "  --out FILE      the WAV file to write (default: demo.wav)\n"
           "  --rate HZ       sample rate, 8000..192000 (default: 48000)\n"
           "  --block N       samples per processing block, 1..8192 (default: 512)\n"
           "  --program N     factory program to select before playing, 0..3\n"
           "  --bits N        16 or 24 bits per sample (default: 24)\n"
           "  --tail SECONDS  audio kept after the last MIDI event, 0..60 (default: 1.5)\n"
           "  --help          show this text\n";
}

ParsedOptions parseOptions (const juce::StringArray& args, const juce::File& defaultBundle)
{
    ParsedOptions parsed;
    auto& options = parsed.options;
    options.bundle = defaultBundle;
    options.output = fileFrom ("demo.wav");

    for (int i = 0; i < args.size() && parsed.ok(); ++i)
    {
        const auto& name = args[i];

        if (name == "--help" || name == "-h")
        {
            options.showHelp = true;
            continue;
        }

        if (i + 1 >= args.size())
        {
            parsed.error = name.startsWith ("--") ? "missing value for " + name : "unknown argument " + name;
            break;
        }

        const auto value = args[++i];
        const auto invalid = [&] { parsed.error = "invalid value for " + name + ": \"" + value + "\""; };

        if (name == "--bundle")
            options.bundle = fileFrom (value);
        else if (name == "--midi")
            options.midiFile = fileFrom (value);
        else if (name == "--out")
            options.output = fileFrom (value);
        else if (name == "--rate")
        {
            int rate = 0;
            if (parseInt (value, 8000, 192000, rate)) options.sampleRate = rate; else invalid();
        }
        else if (name == "--block")
        {
            if (! parseInt (value, 1, 8192, options.blockSize)) invalid();
        }
        else if (name == "--program")
        {
            if (! parseInt (value, 0, 3, options.program)) invalid();
        }
        else if (name == "--bits")
        {
            if (! parseInt (value, 16, 24, options.bitsPerSample)
                 || (options.bitsPerSample != 16 && options.bitsPerSample != 24))
                invalid();
        }
        else if (name == "--tail")
        {
            if (! parseSeconds (value, 0.0, 60.0, options.tailSeconds)) invalid();
        }
        else
            parsed.error = "unknown option " + name;
    }

    if (parsed.ok() && (options.output.isDirectory() || options.output == juce::File()))
        parsed.error = "output is not a file: " + options.output.getFullPathName();

    return parsed;
}

} // namespace rir::render
