#pragma once

// Mutations of host state blobs and preset files, the checks every restore
// or preset load must pass, and a watchdog for loads that never return.
// Shared by the quick fuzz tests and the long run in tarnwell-state-fuzz.
#include "ParameterIDs.h"
#include "PresetFile.h"
#include "ProcessorTestSupport.h"
#include "UntrustedXml.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace test
{
// Ends the process when a guarded call has not returned within the limit: a
// parser caught in a loop cannot be stopped, and a run must fail, not stall.
// The wait ends as soon as the call returns.
class Watchdog
{
public:
    explicit Watchdog (std::chrono::seconds limitToUse = std::chrono::seconds (10))
        : limit (limitToUse), thread ([this] { watch(); })
    {
    }

    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            stopping = true;
        }
        wake.notify_all();
        thread.join();
    }

    template <typename Call>
    void guard (const std::string& label, Call&& call)
    {
        arm (label);
        call();
        disarm();
    }

private:
    void arm (const std::string& label)
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            currentLabel = label;
            deadline = std::chrono::steady_clock::now() + limit;
            ++generation;
            armed = true;
        }
        wake.notify_all();
    }

    void disarm()
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            armed = false;
        }
        wake.notify_all();
    }

    void watch()
    {
        std::unique_lock<std::mutex> lock (mutex);

        while (! stopping)
        {
            if (! armed)
            {
                wake.wait (lock);
                continue;
            }

            const auto watched = generation;
            if (wake.wait_until (lock, deadline, [&] { return stopping || ! armed || generation != watched; }))
                continue;

            std::fprintf (stderr, "FAILED: did not finish within %d s: %s\n", (int) limit.count(),
                          currentLabel.c_str());
            std::fflush (stderr);
            std::_Exit (EXIT_FAILURE);
        }
    }

    const std::chrono::seconds limit;
    std::mutex mutex;
    std::condition_variable wake;
    bool armed = false, stopping = false;
    unsigned generation = 0;
    std::string currentLabel;
    std::chrono::steady_clock::time_point deadline;
    std::thread thread;
};

namespace fuzz
{
// JUCE's XML-in-binary container around a text, with the length it declares.
inline juce::MemoryBlock blobAround (const std::string& text, juce::uint32 declaredLength)
{
    juce::MemoryBlock blob;
    juce::MemoryOutputStream out (blob, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) declaredLength);
    out.write (text.data(), text.size());
    out.writeByte (0);
    out.flush();
    return blob;
}

inline juce::MemoryBlock blobAround (const std::string& text)
{
    return blobAround (text, (juce::uint32) text.size());
}

inline std::string textOf (const juce::MemoryBlock& blob)
{
    const auto* bytes = static_cast<const char*> (blob.getData());
    return std::string (bytes + 8, bytes + blob.getSize() - 1);
}

// A position just after one of the text's tags, or the end.
inline size_t afterSomeTag (const std::string& text, juce::Random& random)
{
    std::vector<size_t> ends;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '>')
            ends.push_back (i + 1);

    return ends.empty() ? text.size() : ends[(size_t) random.nextInt ((int) ends.size())];
}

// A position just after the value of one `value` attribute, or the end.
inline size_t afterSomeValue (const std::string& text, juce::Random& random)
{
    std::vector<size_t> ends;
    for (auto at = text.find ("value=\""); at != std::string::npos; at = text.find ("value=\"", at + 1))
        if (const auto close = text.find ('"', at + 7); close != std::string::npos)
            ends.push_back (close + 1);

    return ends.empty() ? text.size() : ends[(size_t) random.nextInt ((int) ends.size())];
}

inline const char* pick (const std::vector<const char*>& choices, juce::Random& random)
{
    return choices[(size_t) random.nextInt ((int) choices.size())];
}

inline std::string someParameterID (juce::Random& random)
{
    return ParameterIDs::all[random.nextInt (ParameterIDs::count)];
}

inline std::string someBadValue (juce::Random& random)
{
    return pick ({ "nan", "-nan", "inf", "-inf", "1e999", "", "x", "1e30", "-1e30", "0x10", "7" }, random);
}

// One change at the level of the XML text: bytes that are not UTF-8,
// processing instructions, comments, repeated attributes, foreign, renamed or
// repeated elements.
inline void mutateText (std::string& text, juce::Random& random)
{
    const auto anywhere = [&] { return (size_t) random.nextInt ((int) text.size() + 1); };

    switch (random.nextInt (9))
    {
        case 0:
            text.insert (anywhere(), pick ({ "\xae", "\xff", "\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80",
                                             "\xf4\x90\x80\x80", "\xf8\x88\x80\x80\x80", "\xe2\x82", "\xc3" },
                                           random));
            break;
        case 1:
            text.insert (afterSomeTag (text, random), pick ({ "<?pi x?>x", "<?pi?>", "<?x", "<?xml version=\"1.0\"?>" },
                                                            random));
            break;
        case 2:
            text.insert (afterSomeTag (text, random), pick ({ "<!-- c -->", "<!-- c -->x", "<!--", "<![CDATA[x]]>" },
                                                            random));
            break;
        case 3:
            text.insert (afterSomeValue (text, random), " value=\"" + someBadValue (random) + "\"");
            break;
        case 4:
            text.insert (afterSomeTag (text, random), "<" + std::string (pick ({ "X", "param", "PARAM", "a" }, random))
                                                           + " id=\"" + someParameterID (random) + "\" value=\""
                                                           + someBadValue (random) + "\"/>");
            break;
        case 5:
            if (const auto at = text.find ("<PARAM", (size_t) random.nextInt ((int) text.size() + 1));
                at != std::string::npos)
                text.replace (at, 6, pick ({ "<param", "<X", "<PARAMS", "<TarnwellCompressor" }, random));
            break;
        case 6:
            if (const auto at = text.find ("id=\"", (size_t) random.nextInt ((int) text.size() + 1));
                at != std::string::npos)
                if (const auto close = text.find ('"', at + 4); close != std::string::npos)
                    text.replace (at + 4, close - at - 4, someParameterID (random));
            break;
        case 7:
            if (const auto start = text.find ("<PARAM", (size_t) random.nextInt ((int) text.size() + 1));
                start != std::string::npos)
                if (const auto end = text.find ("/>", start); end != std::string::npos)
                    text.insert (afterSomeTag (text, random), text.substr (start, end + 2 - start));
            break;
        default:
            if (! text.empty())
                text.erase (anywhere() % text.size(), 1 + (size_t) random.nextInt (16));
            break;
    }
}

// One change at the level of bytes: cut short, bits flipped, bytes replaced
// or inserted.
inline void mutateBytes (std::string& text, juce::Random& random)
{
    if (text.empty())
        return;

    const auto anywhere = [&] { return (size_t) random.nextInt ((int) text.size()); };

    switch (random.nextInt (4))
    {
        case 0: text.resize (anywhere()); break;
        case 1:
            for (int i = 1 + random.nextInt (8); --i >= 0;)
                text[anywhere()] ^= (char) (1 << random.nextInt (8));
            break;
        case 2:
            for (int i = 1 + random.nextInt (16); --i >= 0;)
                text[anywhere()] = (char) random.nextInt (256);
            break;
        default:
            text.insert (anywhere(), pick ({ "<", ">", "\"", "&", "&amp;", "&#0;", "&#x110000;", "\x80" }, random));
            break;
    }
}

inline std::string mutated (std::string text, juce::Random& random)
{
    for (int i = 1 + random.nextInt (3); --i >= 0;)
        (random.nextInt (3) == 0 ? mutateBytes : mutateText) (text, random);

    return text;
}

// A blob around a mutated text; now and then the header keeps the original
// length or the whole container is mutated.
inline juce::MemoryBlock mutatedBlob (const std::string& text, juce::Random& random)
{
    const auto changed = mutated (text, random);

    switch (random.nextInt (8))
    {
        case 0: return blobAround (changed, (juce::uint32) text.size());
        case 1:
        {
            auto whole = blobAround (changed);
            std::string bytes (static_cast<const char*> (whole.getData()), whole.getSize());
            mutateBytes (bytes, random);
            return juce::MemoryBlock (bytes.data(), bytes.size());
        }
        default: return blobAround (changed);
    }
}

//==============================================================================
// Empty when every parameter in force is a finite value in its range, as the
// processor and the host see it, and the tempo settings are usable.
inline juce::String problemsInForce (TarnwellCompressorAudioProcessor& p)
{
    juce::String problems;

    for (auto* parameter : p.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        const auto value = test::parameterValue (p, ranged->paramID.toRawUTF8());
        const auto hostValue = ranged->getValue();
        const auto& range = ranged->getNormalisableRange();

        if (! (std::isfinite (value) && value >= range.start && value <= range.end))
            problems << ranged->paramID << " = " << value << "; ";
        if (! (std::isfinite (hostValue) && hostValue >= 0.0f && hostValue <= 1.0f))
            problems << ranged->paramID << " as the host sees it = " << hostValue << "; ";
    }

    if (! (std::isfinite (p.savedBPM) && p.savedBPM > 0.0 && std::isfinite (p.manualBPM) && p.manualBPM > 0.0))
        problems << "tempo " << p.savedBPM << " / " << p.manualBPM << "; ";
    if (! (std::isfinite (p.bpmSyncAttackOffset) && std::isfinite (p.bpmSyncHoldOffset)
           && std::isfinite (p.bpmSyncReleaseOffset)))
        problems << "an offset is not finite; ";

    return problems;
}

// Empty when the state the processor would save holds exactly one PARAM per
// parameter, nothing else, each with the value in force.
inline juce::String problemsInSavedState (TarnwellCompressorAudioProcessor& p)
{
    juce::MemoryBlock blob;
    p.getStateInformation (blob);
    const auto xml = juce::AudioProcessor::getXmlFromBinary (blob.getData(), (int) blob.getSize());
    if (xml == nullptr)
        return "the saved state does not parse";

    juce::String problems;
    juce::StringArray seen;

    for (const auto* child : xml->getChildIterator())
    {
        const auto id = child->getStringAttribute ("id");

        if (! child->hasTagName ("PARAM") || child->getNumAttributes() != 2 || seen.contains (id)
            || p.parameters.getParameter (id) == nullptr)
        {
            problems << "saved: " << child->toString (juce::XmlElement::TextFormat().singleLine()) << "; ";
            continue;
        }

        seen.add (id);
        const auto saved = (float) child->getDoubleAttribute ("value");
        const auto inForce = test::parameterValue (p, id.toRawUTF8());
        if (saved != inForce)
            problems << id << " saved " << juce::String (saved, 9) << " but " << juce::String (inForce, 9)
                     << " in force; ";
    }

    if (seen.size() != p.getParameters().size())
        problems << seen.size() << " parameters saved; ";

    return problems;
}

inline juce::String problemsAfterLoad (TarnwellCompressorAudioProcessor& p)
{
    return problemsInForce (p) + problemsInSavedState (p);
}

// Whether the processor must ignore the blob altogether.
inline bool isRefused (const juce::MemoryBlock& blob)
{
    const auto size = blob.getSize();
    if (size < 9)
        return true;

    const auto* bytes = static_cast<const char*> (blob.getData());
    const auto declared = (size_t) juce::ByteOrder::littleEndianInt (bytes + 4);
    const auto textLength = strnlen (bytes + 8, juce::jmin (declared, size - 8));

    return ! UntrustedXml::isAcceptable (bytes + 8, textLength)
           || juce::AudioProcessor::getXmlFromBinary (blob.getData(), (int) (8 + textLength)) == nullptr;
}
} // namespace fuzz
} // namespace test
