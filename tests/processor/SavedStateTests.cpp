#include "ProcessorTestSupport.h"
#include "SavedState.h"

#include <gtest/gtest.h>

namespace
{
    juce::MemoryBlock blockFor (const juce::String& document)
    {
        juce::MemoryBlock block;
        juce::MemoryOutputStream out (block, false);
        out.writeInt (0x21324356);
        out.writeInt ((int) document.getNumBytesAsUTF8());
        out << document;
        out.writeByte (0);
        return block;
    }

    juce::MemoryBlock savedState (SorvaneAudioProcessor& processor)
    {
        juce::MemoryBlock block;
        processor.getStateInformation (block);
        return block;
    }

    void load (SorvaneAudioProcessor& processor, const juce::MemoryBlock& block)
    {
        processor.setStateInformation (block.getData(), (int) block.getSize());
    }

    /** The settings a block restores, read with no processor behind them: each parameter value
        is stored as it arrives, and applied records whether any block was taken.
    */
    struct LoadedSettings
    {
        LoadedSettings()
        {
            std::copy (lumarro::parameterDefaults.begin(), lumarro::parameterDefaults.end(), std::begin (parameterValues));
        }

        bool load (const void* data, int sizeInBytes)
        {
            const lumarro::SavedStateTarget target { [this] (int index, float value) { parameterValues[index] = value; },
                                                     midiMap, idxMidiChannel, idxGUI };
            const bool taken = lumarro::readSavedState (data, sizeInBytes, target);
            applied = applied || taken;
            return taken;
        }

        bool load (const juce::MemoryBlock& block)
        {
            return load (block.getData(), (int) block.getSize());
        }

        float parameterValues[SorvaneAudioProcessor::numParameters];
        lumarro::RelaxedAtomic<int32_t> midiMap[SorvaneAudioProcessor::numParameters] { -1, -1, -1, -1, -1, -1, -1, -1, -1 };
        lumarro::RelaxedAtomic<int32_t> idxMidiChannel = 0;
        lumarro::RelaxedAtomic<int32_t> idxGUI = 0;
        bool applied = false;
    };
}

TEST (SavedState, ADefaultProcessorWritesTheExactBlock)
{
    SorvaneAudioProcessor processor;
    const auto block = savedState (processor);

    const juce::String expected =
        "<Root><LowPass>0</LowPass><HighPass>0</HighPass><DelayTime>0</DelayTime>"
        "<DelayFeedback>0.5</DelayFeedback><Balance>0.5</Balance><PingPong>0</PingPong>"
        "<DryWet>0.5</DryWet><Gain>0.9</Gain><Mode>0.33</Mode><idxMidiChannel>0</idxMidiChannel>"
        "<midiMapLowPass>-1</midiMapLowPass><midiMapHighPass>-1</midiMapHighPass>"
        "<midiMapDelayTime>-1</midiMapDelayTime><midiMapDelayFeedback>-1</midiMapDelayFeedback>"
        "<midiMapBalance>-1</midiMapBalance><midiMapPingPong>-1</midiMapPingPong>"
        "<midiMapDryWet>-1</midiMapDryWet><midiMapGain>-1</midiMapGain><midiMapMode>-1</midiMapMode>"
        "<idxGUI>0</idxGUI></Root>";

    EXPECT_EQ (block, blockFor (expected));

    const auto* bytes = static_cast<const juce::uint8*> (block.getData());
    EXPECT_EQ (bytes[0], 0x56);
    EXPECT_EQ (bytes[3], 0x21);
    EXPECT_EQ (block.getSize(), expected.getNumBytesAsUTF8() + 9);
    EXPECT_EQ (bytes[block.getSize() - 1], 0);
}

TEST (SavedState, EachSettingIsWrittenUnderItsOwnElement)
{
    const lumarro::RelaxedAtomic<float> values[] { 0.25f, 0.8f, 0.66f, 0.1f, 0.75f, 0.3f, 0.2f, 0.9f, 0.7f };
    const lumarro::RelaxedAtomic<int32_t> midiMap[] { 20, 21, 22, 23, 24, 25, 26, 27, 28 };
    juce::MemoryBlock block { "stale", 5 };
    lumarro::writeSavedState (block, values, midiMap, 5, 1);

    const juce::String expected =
        "<Root><LowPass>0.3</LowPass><HighPass>0.2</HighPass><DelayTime>0.25</DelayTime>"
        "<DelayFeedback>0.8</DelayFeedback><Balance>0.1</Balance><PingPong>0.75</PingPong>"
        "<DryWet>0.9</DryWet><Gain>0.7</Gain><Mode>0.66</Mode><idxMidiChannel>5</idxMidiChannel>"
        "<midiMapLowPass>25</midiMapLowPass><midiMapHighPass>26</midiMapHighPass>"
        "<midiMapDelayTime>20</midiMapDelayTime><midiMapDelayFeedback>21</midiMapDelayFeedback>"
        "<midiMapBalance>23</midiMapBalance><midiMapPingPong>24</midiMapPingPong>"
        "<midiMapDryWet>27</midiMapDryWet><midiMapGain>28</midiMapGain><midiMapMode>22</midiMapMode>"
        "<idxGUI>1</idxGUI></Root>";

    EXPECT_EQ (block, blockFor (expected)) << "the whole block is replaced";

    LoadedSettings settings;
    ASSERT_TRUE (settings.load (block));
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ (settings.parameterValues[i], values[i]) << i;
        EXPECT_EQ (settings.midiMap[i], midiMap[i]) << i;
    }
    EXPECT_EQ (settings.idxMidiChannel, 5);
    EXPECT_EQ (settings.idxGUI, 1);
}

TEST (SavedState, RestoringIntoASecondProcessorGivesTheSameSettings)
{
    SorvaneAudioProcessor original;
    const float values[] { 0.25f, 0.8f, 0.66f, 0.1f, 0.75f, 0.3f, 0.2f, 0.9f, 0.7f };
    for (int i = 0; i < 9; ++i)
        original.setParameter (i, values[i]);
    for (int i = 0; i < 9; ++i)
        original.midiMap[i] = 20 + i;
    original.idxMidiChannel = 5;
    original.idxGUI = 1;

    SorvaneAudioProcessor restored;
    restored.parametersChanged = false;
    load (restored, savedState (original));

    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ (restored.getParameter (i), original.getParameter (i)) << i;
        EXPECT_EQ (restored.midiMap[i], 20 + i);
    }
    EXPECT_EQ (restored.idxMidiChannel, 5);
    EXPECT_EQ (restored.idxGUI, 1);
    EXPECT_EQ (restored.currentMode, Long);
    EXPECT_EQ (restored.delayLine.targetDelay, original.delayLine.targetDelay);
    EXPECT_TRUE (restored.parametersChanged);
    EXPECT_EQ (savedState (restored), savedState (original));
}

TEST (SavedState, MalformedBlocksAreIgnoredWhole)
{
    const auto good = blockFor ("<Root><Gain>0.1</Gain></Root>");

    auto wrongMagic = good;
    static_cast<char*> (wrongMagic.getData())[0] = 0x57;

    auto zeroLength = good;
    juce::ByteOrder::littleEndianInt (zeroLength.getData());
    static_cast<juce::uint32*> (zeroLength.getData())[1] = 0;

    auto negativeLength = good;
    static_cast<juce::uint32*> (negativeLength.getData())[1] = 0x80000000u;

    const auto unparsable = blockFor ("<Root><Gain>0.1</Gain>");
    const auto brokenUtf8 = blockFor (juce::String ("<Root><Gain>0.1</Gain></Root>"));
    auto truncatedSequence = brokenUtf8;
    static_cast<char*> (truncatedSequence.getData())[truncatedSequence.getSize() - 3] = (char) 0xff;

    // Nothing behind a zero byte inside the text reaches the parser.
    const char textWithZero[] = "<Root><Gain>0.1</Gain>\0&&</Root>";
    auto zeroInside = blockFor (juce::String (textWithZero));
    zeroInside.removeSection (zeroInside.getSize() - 1, 1);
    zeroInside.append (textWithZero + 22, sizeof (textWithZero) - 22);
    static_cast<juce::uint32*> (zeroInside.getData())[1] = (juce::uint32) (sizeof (textWithZero) - 1);

    const std::vector<juce::MemoryBlock> blocks {
        wrongMagic, zeroLength, negativeLength, unparsable, truncatedSequence, zeroInside,
        // These would hang or recurse in the XML parser; a saved state never holds them.
        blockFor ("<Root><Gain>0.1</Gain>&&"),
        blockFor ("<Root><?x?>0<Gain>0.1</Gain></Root>"),
        blockFor ("<!DOCTYPE r [<!ENTITY a \"<x>&a;</x>\">]><Root><Gain>&a;0.1</Gain></Root>"),
    };

    LoadedSettings settings;
    EXPECT_FALSE (settings.load (good.getData(), 8));
    EXPECT_FALSE (settings.load (nullptr, 100));

    for (const auto& block : blocks)
        EXPECT_FALSE (settings.load (block)) << block.toString();

    EXPECT_EQ (settings.parameterValues[8], 0.9f);
    EXPECT_FALSE (settings.applied);

    // The processor takes a refused block as no change at all.
    SorvaneAudioProcessor processor;
    processor.parametersChanged = false;
    processor.setStateInformation (good.getData(), 8);
    processor.setStateInformation (nullptr, 100);

    for (const auto& block : blocks)
        load (processor, block);

    EXPECT_EQ (processor.getParameter (8), 0.9f);
    EXPECT_FALSE (processor.parametersChanged);
}

TEST (SavedState, ElementNamesAreMatchedWithoutCaseAndTheRootIsNotChecked)
{
    LoadedSettings settings;
    settings.load (blockFor ("<Settings><gain>0.5</gain><MIDIMAPGAIN>300</MIDIMAPGAIN><idxgui>1.9</idxgui>"
                             "<Unknown>3</Unknown><Balance>abc</Balance></Settings>"));

    EXPECT_EQ (settings.parameterValues[8], 0.5f);
    EXPECT_EQ (settings.midiMap[8], 300) << "stored as read; no controller can match it";
    EXPECT_EQ (settings.idxGUI, 1) << "truncated towards zero";
    EXPECT_EQ (settings.parameterValues[3], 0.0f) << "a text that is no number reads as 0";
}

TEST (SavedState, ModeRemapsTheDelayTimeWhateverTheOrder)
{
    for (const auto* document : { "<Root><DelayTime>0.5</DelayTime><Mode>0</Mode></Root>",
                                  "<Root><Mode>0</Mode><DelayTime>0.5</DelayTime></Root>" })
    {
        SorvaneAudioProcessor processor;
        load (processor, blockFor (document));
        EXPECT_EQ (processor.currentMode, Short) << document;
        EXPECT_FLOAT_EQ (processor.delayLine.targetDelay, (0.095f * 0.5f + 0.005f) * 44100.0f) << document;
    }
}

TEST (SavedState, OnlyModeSwitchesToSyncAndKeepsEverythingElse)
{
    SorvaneAudioProcessor processor;
    processor.setParameter (0, 0.5f);
    processor.midiMap[2] = 9;

    load (processor, blockFor ("<Root><Mode>1.0</Mode></Root>"));

    EXPECT_EQ (processor.currentMode, Sync);
    EXPECT_EQ (processor.noteIndex, 12);
    EXPECT_EQ (processor.midiMap[2], 9);
    EXPECT_EQ (processor.getParameter (1), 0.5f);
}

TEST (SavedState, LearnModeIsNotSaved)
{
    SorvaneAudioProcessor processor;
    processor.midiLearnActive = true;
    processor.midiLearnIndex = 3;
    const auto text = savedState (processor).toString();
    EXPECT_FALSE (text.containsIgnoreCase ("learn"));
}

namespace
{
    juce::String repeated (const juce::String& text, int times)
    {
        juce::MemoryOutputStream result;

        for (int i = 0; i < times; ++i)
            result << text;

        return result.toString();
    }

    /** A Gain of 0.3 under the root, beside elements nested to the given total depth. */
    juce::String nestedTo (int depth)
    {
        return "<Root><Gain>0.3</Gain>" + repeated ("<n>", depth - 1) + repeated ("</n>", depth - 1) + "</Root>";
    }

    /** Loads each block on a thread with a small stack, as some hosts give their loading
        threads: a parser that recursed once per element would overflow it.
    */
    void loadOnASmallStack (LoadedSettings& settings, const std::vector<juce::MemoryBlock>& blocks)
    {
        struct Loader : juce::Thread
        {
            Loader (LoadedSettings& s, const std::vector<juce::MemoryBlock>& b)
                : juce::Thread ("state loader", 512 * 1024), settings (s), blocks (b) {}

            void run() override
            {
                for (const auto& block : blocks)
                    settings.load (block);
            }

            LoadedSettings& settings;
            const std::vector<juce::MemoryBlock>& blocks;
        };

        Loader loader (settings, blocks);
        ASSERT_TRUE (loader.startThread());
        EXPECT_TRUE (loader.waitForThreadToExit (60000));
    }
}

TEST (SavedState, DeepOrTangledNestingIsIgnoredWholeWithoutOverflowingTheStack)
{
    LoadedSettings settings;

    const std::vector<juce::MemoryBlock> blocks {
        blockFor (nestedTo (30000)),
        blockFor ("<Root>" + repeated ("<n>", 1000000) + "<Gain>0.3</Gain>"),
        blockFor (nestedTo (9000)),
        blockFor ("<Root><Gain>0.3</Gain>" + repeated ("<n>", 20000)),
        // Each <n> looks closed, but the parser takes "</" into the unfinished reference before it.
        blockFor ("<Root><Gain>0.3</Gain>" + repeated ("<n>&#1111111111</n>", 3000) + ";</Root>"),
        blockFor ("<Root><Gain>0.3</Gain>" + repeated ("<n>&#x</n>", 6000) + ";</Root>"),
        blockFor ("<Root><Gain>0.3</Gain>" + repeated ("<n>&x</n>;", 6000) + "</Root>"),
        blockFor (nestedTo (17)),
    };

    loadOnASmallStack (settings, blocks);

    EXPECT_EQ (settings.parameterValues[8], 0.9f);
    EXPECT_FALSE (settings.applied);

    settings.load (blockFor (nestedTo (16)));
    EXPECT_EQ (settings.parameterValues[8], 0.3f) << "sixteen levels are still read";
}

TEST (SavedState, TextsTooLongOrWithTooManyNamesAreIgnoredWhole)
{
    const auto attributes = [] (int count)
    {
        juce::MemoryOutputStream text;
        for (int i = 0; i < count; ++i)
            text << " a" << i << "=\"\"";
        return text.toString();
    };

    LoadedSettings settings;

    // Hundreds of thousands of names would take seconds to parse, and JUCE keeps every name.
    settings.load (blockFor ("<Root" + attributes (400000) + "><Gain>0.3</Gain></Root>"));
    settings.load (blockFor ("<Root" + attributes (300) + "><Gain>0.3</Gain></Root>"));
    settings.load (blockFor ("<Root><Gain>0.3</Gain>" + repeated ("<x/>", 300) + "</Root>"));
    settings.load (blockFor ("<Root><Gain>0.3</Gain><Pad>" + repeated ("0", 65536) + "</Pad></Root>"));

    EXPECT_EQ (settings.parameterValues[8], 0.9f);
    EXPECT_FALSE (settings.applied);

    settings.load (blockFor ("<Root" + attributes (200) + "><Gain>0.3</Gain>" + repeated ("<x/>", 50) + "</Root>"));
    EXPECT_EQ (settings.parameterValues[8], 0.3f);
}

TEST (SavedState, DeclarationsCommentsAndInstructionsOutsideElementsAreRead)
{
    const char* const documents[] {
        "\n  <?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Root><Gain>0.3</Gain></Root>",
        "<?xml version=\"1.0\"?><!-- saved <?by?> a host --><Root><!-- <?x?> --><Gain>0.3</Gain></Root>",
        "<Root><Note><![CDATA[<?x?> & <n>]]></Note><Gain>0.3</Gain></Root>",
        "<Root><Gain>0.3</Gain></Root><?after the root?>",
        "<Root kind='a &amp; b &#60; &#x3e;'><Gain>&#48;.3</Gain><Empty/></Root>",
    };

    for (const auto* document : documents)
    {
        LoadedSettings settings;
        settings.load (blockFor (document));
        EXPECT_EQ (settings.parameterValues[8], 0.3f) << document;
    }
}
