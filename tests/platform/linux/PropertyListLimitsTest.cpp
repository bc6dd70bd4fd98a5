// The bounds a property list must keep before it is handed to the parser:
// well-formed lists of ordinary size pass, every shape that would exhaust
// the parser's stack or memory, or that points outside the data, is refused.
#include "platform/linux/PropertyListLimits.h"
#include "platform/linux/InfoPlistBundleReader.h"
#include "tests/doubles/FakeSystemFacts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;
using platform::binaryPropertyListWithinLimits;
using platform::xmlPropertyListWithinLimits;

namespace {

// `count` arrays, each holding the next one `fanOut` times, and an empty last one.
std::string chainOfArrays(std::uint16_t count, int fanOut)
{
    std::vector<std::string> objects;
    for (std::uint16_t i = 0; i < count; ++i) {
        const auto next = static_cast<std::uint16_t>(i + 1);
        objects.push_back(fanOut == 1 ? binaryArrayOf({next}) : binaryArrayOf({next, next}));
    }
    objects.push_back(binaryArrayOf({}));
    return handMadeBinaryPlist(objects);
}

} // namespace

TEST(BinaryPropertyListLimits, ListsFromTheWriterAndSharedValuesPass)
{
    const std::string written = versionPropertyList("4.2.1", PlistFormat::binary);
    ASSERT_TRUE(platform::looksLikeBinaryPropertyList(written));
    EXPECT_TRUE(binaryPropertyListWithinLimits(written));
    EXPECT_EQ(platform::topLevelDictionaryString(written, "CFBundleVersion"), "4.2.1");
    // Referenced twice but expanding to a handful of objects.
    EXPECT_TRUE(binaryPropertyListWithinLimits(chainOfArrays(10, 2)));
    EXPECT_TRUE(binaryPropertyListWithinLimits(chainOfArrays(400, 1)));
}

TEST(BinaryPropertyListLimits, ExpansionNestingAndCyclesAreRefused)
{
    EXPECT_FALSE(binaryPropertyListWithinLimits(chainOfArrays(40, 2))) << "2^40 objects once copied";
    EXPECT_FALSE(binaryPropertyListWithinLimits(chainOfArrays(600, 1))) << "deeper than the nesting limit";
    EXPECT_FALSE(binaryPropertyListWithinLimits(handMadeBinaryPlist({binaryArrayOf({1}), binaryArrayOf({0})})));
    EXPECT_FALSE(binaryPropertyListWithinLimits(handMadeBinaryPlist({binaryArrayOf({0})}))) << "holds itself";
}

TEST(BinaryPropertyListLimits, ReferencesAndOffsetsOutsideTheDataAreRefused)
{
    EXPECT_FALSE(binaryPropertyListWithinLimits(handMadeBinaryPlist({binaryArrayOf({7})}))) << "no object 7";
    const std::string good = chainOfArrays(3, 1);
    ASSERT_TRUE(binaryPropertyListWithinLimits(good));
    // Every cut loses the trailer or points past the end.
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(binaryPropertyListWithinLimits(good.substr(0, cut))) << cut;
    std::string badTable = good;
    badTable[badTable.size() - 1] = '\x7f'; // the offset table's place, far beyond the data
    EXPECT_FALSE(binaryPropertyListWithinLimits(badTable));
    std::string badWidth = good;
    badWidth[badWidth.size() - 32 + 6] = '\x09'; // offsets of nine bytes
    EXPECT_FALSE(binaryPropertyListWithinLimits(badWidth));
    EXPECT_FALSE(binaryPropertyListWithinLimits("bplist01" + good.substr(8))) << "an unknown version";
}

TEST(XmlPropertyListLimits, CountsTagsAndContainers)
{
    EXPECT_TRUE(xmlPropertyListWithinLimits(versionPropertyList("1.0", PlistFormat::xml)));
    std::string manyContainers = "<plist>";
    for (std::size_t i = 0; i < platform::PROPERTY_LIST_MAX_XML_CONTAINERS; ++i)
        manyContainers += "<array>";
    EXPECT_FALSE(xmlPropertyListWithinLimits(manyContainers));
    // Containers are recognised whatever their case, as the parser takes them.
    std::string upperCase = "<PLIST>";
    for (std::size_t i = 0; i < platform::PROPERTY_LIST_MAX_XML_CONTAINERS; ++i)
        upperCase += "<DICT>";
    EXPECT_FALSE(xmlPropertyListWithinLimits(upperCase));
    std::string manyLeaves = "<plist><array>";
    for (std::size_t i = 0; i < platform::PROPERTY_LIST_MAX_OBJECTS; ++i)
        manyLeaves += "<true/>";
    EXPECT_FALSE(xmlPropertyListWithinLimits(manyLeaves));
}

TEST(InformationDictionaryText, AVersionHoldingANulByteIsNoVersionAndNoCrash)
{
    // The parser's own copying accessor aborts the program on such a text.
    using namespace std::string_literals;
    const std::string list = handMadeBinaryPlist({
        "\xd1\x00\x01\x00\x02"s,             // a dictionary of one key and value
        "\x5f\x10\x0f"s + "CFBundleVersion", // the key, fifteen ASCII characters
        "\x63\x00\x31\x00\x00\x00\x78"s,     // the value, three UTF-16 units with a NUL
    });
    ASSERT_TRUE(binaryPropertyListWithinLimits(list));
    EXPECT_FALSE(platform::topLevelDictionaryString(list, "CFBundleVersion").has_value());
    // The same list with an ordinary text is read.
    std::string ordinary = list;
    ordinary[ordinary.find("\x31\x00\x00") + 2] = '.';
    EXPECT_EQ(platform::topLevelDictionaryString(ordinary, "CFBundleVersion"), "1.x");
}
