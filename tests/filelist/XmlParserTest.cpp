// Reading data.xml into sections: the texts as the rules make them, the fold
// with its odd corners, and every way a file list can be refused.
#include "base/ErrorCodes.h"
#include "core/filelist/XmlParserClass.h"
#include "core/report/TelvarinGenerator.h"
#include "tests/doubles/Expectations.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <sys/stat.h>

using namespace testing_support;

namespace {

using Dictionary = std::map<std::string, std::list<std::string>>;

Dictionary parse(const std::string& document)
{
    return XmlParserClass::getSingleLevelDepthXmlDictFromBuffer(document.data(), document.size());
}

int codeOfParse(const std::string& document)
{
    try {
        parse(document);
    } catch (const CodedFailure& failure) {
        return failure.code;
    }
    return 0;
}

int codeOfFile(const char* path)
{
    return codeThrownBy([path] { XmlParserClass::getSingleLevelDepthXmlDict(path); });
}

std::string nested(int levels, const std::string& inner)
{
    std::string document;
    for (int i = 0; i < levels; ++i)
        document += "<e>";
    document += inner;
    for (int i = 0; i < levels; ++i)
        document += "</e>";
    return document;
}

} // namespace

TEST(XmlParser, ReadsTheSectionsOfATypicalFileFromDisk)
{
    TempDir temp;
    writeFile(temp / "data.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<configuration>\n"
                                 "  <Absolute_Path_Files>\n"
                                 "    <file>Library/Logs/printer.log</file>\n"
                                 "    <file>Library/Preferences/printer*.plist</file>\n"
                                 "  </Absolute_Path_Files>\n"
                                 "  <Home_Path_Files>\n"
                                 "    <file>Library/Logs/printer.log,Logs</file>\n"
                                 "  </Home_Path_Files>\n"
                                 "  <Extra_Section><file>ignored.txt</file></Extra_Section>\n"
                                 "</configuration>\n");
    Dictionary expected = {
        {"Absolute_Path_Files", {"Library/Logs/printer.log", "Library/Preferences/printer*.plist"}},
        {"Home_Path_Files", {"Library/Logs/printer.log,Logs"}},
        {"Extra_Section", {"ignored.txt"}},
    };
    EXPECT_EQ(XmlParserClass::getSingleLevelDepthXmlDict((temp / "data.xml").c_str()), expected);
}

TEST(XmlParser, TextsAreResolvedTrimmedAndCondensedWhateverTheirConstruct)
{
    Dictionary result = parse("<c><S>\n"
                              "  <file>\n\t  Library/My   Logs/a&amp;b.log \r\n </file>\n"
                              "  <!-- a comment is no path -->\n"
                              "  <path><![CDATA[\n   Logs/<raw>  x.log\t]]></path>\n"
                              "  <p>&#32;&#10;&#9;</p>\n"
                              "  <p>  &#x41;&#32;&#32;B.log  </p>\n"
                              "  <anything>   </anything><q/>\n"
                              "  direct.log\n"
                              "</S></c>");
    std::list<std::string> expected = {"Library/My Logs/a&b.log", "Logs/<raw> x.log", "A B.log", "direct.log"};
    EXPECT_EQ(result["S"], expected);
    EXPECT_EQ(result.size(), 1u);
}

TEST(XmlParser, FoldsTextsOutsideSectionsIntoTheirNeighbours)
{
    // Text before the first section joins it; text in the top element after
    // a section joins that section; deeper texts belong to their section,
    // whatever their elements are called.
    Dictionary result = parse("<top>early.log<A><f>a.log</f><f><g><h>deep.log</h></g></f></A>"
                              "between.log<B/>late.log</top>");
    Dictionary expected = {{"A", {"early.log", "a.log", "deep.log", "between.log"}}, {"B", {"late.log"}}};
    EXPECT_EQ(result, expected);

    // No second-level element at all: everything under the empty name.
    EXPECT_EQ(parse("<top>one.log</top>"), (Dictionary{{"", {"one.log"}}}));
    EXPECT_EQ(parse("<top/>"), (Dictionary{{"", {}}}));
    // Empty sections are valid, and so is a second top-level element's section.
    EXPECT_EQ(parse("<c><Absolute_Path_Files/><Home_Path_Files>\n</Home_Path_Files></c><d><X>x.log</X></d>"),
              (Dictionary{{"Absolute_Path_Files", {}}, {"Home_Path_Files", {}}, {"X", {"x.log"}}}));
}

TEST(XmlParser, FlattensInPreOrderWithDepths)
{
    tinyxml2::XMLDocument document(true, tinyxml2::COLLAPSE_WHITESPACE);
    ASSERT_EQ(document.Parse("<?xml version=\"1.0\"?><!--c--><a>t1<b>t2<c/></b>t3</a>"), tinyxml2::XML_SUCCESS);
    std::list<XmlItem> items;
    XmlParserClass::getItemsRecursively(&document, &items, 0);
    std::list<XmlItem> expected = {{{'E', 1}, "a"},  {{'T', 2}, "t1"}, {{'E', 2}, "b"},
                                   {{'T', 3}, "t2"}, {{'E', 3}, "c"},  {{'T', 2}, "t3"}};
    EXPECT_EQ(items, expected);

    // A subtree starts at its own depth and leaves its siblings out; null adds nothing.
    items.clear();
    const tinyxml2::XMLNode* b = document.FirstChildElement("a")->FirstChildElement("b");
    XmlParserClass::getItemsRecursively(b, &items, 7);
    EXPECT_EQ(items, (std::list<XmlItem>{{{'E', 7}, "b"}, {{'T', 8}, "t2"}, {{'E', 8}, "c"}}));
    XmlParserClass::getItemsRecursively(nullptr, &items, 0);
    EXPECT_EQ(items.size(), 3u);
}

TEST(XmlParser, RepeatedSectionNamesGiveCode6)
{
    EXPECT_EQ(codeOfParse("<c><Home_Path_Files/><Absolute_Path_Files/><Home_Path_Files/></c>"),
              ERROR_DATA_XML_DUPLICATE_SECTION);
    // The last section is checked too, and across top-level elements.
    EXPECT_EQ(codeOfParse("<c><A/></c><d><A/></d>"), ERROR_DATA_XML_DUPLICATE_SECTION);
    // The same name one level deeper is no section.
    EXPECT_EQ(codeOfParse("<c><A><A/></A></c>"), 0);
}

TEST(XmlParser, DocumentsThatCannotBeLoadedGiveCode5)
{
    for (const std::string document :
         {"", "   \n", "<c><A>x</A>", "<c><A>x</B></c>", "<c a='1' a='2'/>", "<c>a < b</c>", "not xml at all"}) {
        SCOPED_TRACE(document);
        EXPECT_EQ(codeOfParse(document), ERROR_DATA_XML_NOT_LOADED);
    }
    // A NUL byte would otherwise cut the document short unnoticed.
    EXPECT_EQ(codeOfParse(std::string("<c><A>x</A></c>\0<junk", 21)), ERROR_DATA_XML_NOT_LOADED);
    EXPECT_EQ(codeOfParse(std::string("<c><A>x\0y</A></c>", 17)), ERROR_DATA_XML_NOT_LOADED);
    EXPECT_THROW(XmlParserClass::getSingleLevelDepthXmlDictFromBuffer(nullptr, 0), CodedFailure);
}

TEST(XmlParser, DeepNestingIsRefusedWithoutExhaustingTheStack)
{
    // The library accepts 98 nested elements and refuses more.
    Dictionary accepted = parse(nested(98, "deep.log"));
    EXPECT_EQ(accepted, (Dictionary{{"e", {"deep.log"}}}));
    EXPECT_EQ(codeOfParse(nested(99, "x")), ERROR_DATA_XML_NOT_LOADED);
    EXPECT_EQ(codeOfParse(nested(100000, "")), ERROR_DATA_XML_NOT_LOADED);

    // Trees built in memory have no such limit; the walk copes anyway.
    tinyxml2::XMLDocument document;
    tinyxml2::XMLNode* parent = &document;
    for (int i = 0; i < 100000; ++i)
        parent = parent->InsertEndChild(document.NewElement("e"));
    std::list<XmlItem> items;
    XmlParserClass::getItemsRecursively(&document, &items, 0);
    ASSERT_EQ(items.size(), 100000u);
    EXPECT_EQ(items.back().first, (std::pair<char, int>{'E', 100000}));
    // Let the document go level by level from the bottom, as its own
    // destructor would recurse once per level.
    while (parent != &document) {
        tinyxml2::XMLNode* up = parent->Parent();
        up->DeleteChild(parent);
        parent = up;
    }
}

TEST(XmlParser, FilesThatCannotBeReadGiveCode5NamingTheFileAndWhy)
{
    TempDir temp;
    EXPECT_EQ(codeOfFile(nullptr), ERROR_DATA_XML_NOT_LOADED);
    writeFile(temp / "empty.xml", "");
    writeFile(temp / "broken.xml", "<c><A>");
    // A FIFO without a writer must not stall the run.
    ASSERT_EQ(mkfifo((temp / "fifo.xml").c_str(), 0644), 0);
    const std::pair<std::string, int> cases[] = {
        {temp / "missing.xml", ENOENT}, {temp.path(), EISDIR},  {temp / "empty.xml", 0},
        {temp / "broken.xml", 0},       {temp / "fifo.xml", 0},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        try {
            XmlParserClass::getSingleLevelDepthXmlDict(path.c_str());
            ADD_FAILURE() << "no failure";
        } catch (const CodedFailure& failure) {
            EXPECT_EQ(failure.code, ERROR_DATA_XML_NOT_LOADED);
            EXPECT_EQ(failure.detail.step, FailedStep::loadFileList);
            EXPECT_EQ(failure.detail.path, path);
            EXPECT_EQ(failure.detail.errorNumber, reason);
        }
    }
}

TEST(XmlParser, AcceptsFilesUpToTheSizeLimitAndRefusesLargerOnes)
{
    TempDir temp;
    const std::string head = "<c><A>a.log</A><!--";
    const std::string tail = "--></c>";
    std::string document =
        head + std::string(XmlParserClass::MAXIMUM_DOCUMENT_SIZE - head.size() - tail.size(), 'x') + tail;
    ASSERT_EQ(document.size(), XmlParserClass::MAXIMUM_DOCUMENT_SIZE);
    writeFile(temp / "limit.xml", document);
    EXPECT_EQ(XmlParserClass::getSingleLevelDepthXmlDict((temp / "limit.xml").c_str()), (Dictionary{{"A", {"a.log"}}}));
    document.insert(head.size(), "y");
    writeFile(temp / "over.xml", document);
    EXPECT_EQ(codeOfFile((temp / "over.xml").c_str()), ERROR_DATA_XML_NOT_LOADED);
    EXPECT_EQ(codeOfParse(document), ERROR_DATA_XML_NOT_LOADED);
}

TEST(XmlParser, FetchingASectionInsistsThatItExists)
{
    Dictionary dictionary = {{"Home_Path_Files", {}}, {"Absolute_Path_Files", {"a.log", "b.log"}}};
    EXPECT_EQ(TelvarinGenerator::accessXmlDictionaryElement("Absolute_Path_Files", dictionary),
              (std::list<std::string>{"a.log", "b.log"}));
    EXPECT_TRUE(TelvarinGenerator::accessXmlDictionaryElement("Home_Path_Files", dictionary).empty());
    for (const char* missing : {"home_path_files", "", static_cast<const char*>(nullptr)}) {
        try {
            TelvarinGenerator::accessXmlDictionaryElement(missing, dictionary);
            ADD_FAILURE() << "no code for " << (missing ? missing : "null");
        } catch (const CodedFailure& failure) {
            EXPECT_EQ(failure.code, ERROR_DATA_XML_MISSING_SECTION);
        }
    }
}

TEST(XmlParser, ProcessingInstructionsAndDocumentTypesAppendNothing)
{
    const Dictionary expected = {{"Absolute_Path_Files", {"a.log", "b.log"}}, {"Home_Path_Files", {"c.log"}}};
    const std::string sections = "<Absolute_Path_Files><f>a.log</f>%<f>b.log</f></Absolute_Path_Files>"
                                 "<Home_Path_Files><f>c.log</f></Home_Path_Files>";
    auto document = [&](const std::string& prolog, const std::string& inside, const std::string& after) {
        std::string body = sections;
        body.replace(body.find('%'), 1, inside);
        return prolog + "<configuration>" + body + "</configuration>" + after;
    };
    const std::string subset = "<!DOCTYPE configuration [\n  <!ENTITY x \"]>\">\n  <!-- ]> -->\n"
                               "  <?pi ]>?>\n  <!ELEMENT f (#PCDATA)>\n]>\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a processing instruction in a section", document("", "<?note x?>", "")},
        {"one before and after the top element", document("<?xml version=\"1.0\"?><?style a?>", "", "<?end?>")},
        {"a document type with an internal subset", document("<?xml version=\"1.0\"?>\n" + subset, "", "")},
        {"a document type with a quoted >", document("<!DOCTYPE c SYSTEM \"a>b\">", "", "")},
        {"\"<?\" inside a comment and an attribute", document("", "<!-- <?x?> --><f a='<?x?>'/>", "")},
    };
    for (const auto& [what, text] : cases) {
        SCOPED_TRACE(what);
        EXPECT_EQ(parse(text), expected);
    }
    // An instruction parts the text around it, as any node does.
    EXPECT_EQ(parse("<c><s>a.<?p?>log</s></c>").at("s"), (std::list<std::string>{"a.", "log"}));
    // A declaration that is not the first thing stays as wrong as it was.
    EXPECT_EQ(codeOfParse("<c><?xml version=\"1.0\"?><s/></c>"), 5);
    EXPECT_EQ(codeOfParse("<c><?unterminated </c>"), 5);
}
