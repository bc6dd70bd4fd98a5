// support.conf as a maker may write it, and as it may be damaged.
#include "app/SupportContact.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* contents;
    const char* address; // nothing offered: ""
    const char* subject; // for Telvarin_x.zip
    const char* fault;   // what the log line ends with; "" for none
};

const Case CASES[] = {
    {"[Support]\nEmail=help@quorvel.example\nSubject=Report %1 from a customer\n", "help@quorvel.example",
     "Report Telvarin_x.zip from a customer", ""},
    // Comments, blanks, other groups, quotes and spaces around the equals sign.
    {"# the maker's desk\n\n[Other]\nEmail=x@y.example\n[Support]\n  Email = \"desk@quorvel.example\"  \r\n",
     "desk@quorvel.example", "Telvarin Generator report Telvarin_x.zip", ""},
    // No address offers no mail and is no fault.
    {"[Support]\nSubject=Report\n", "", "", ""},
    {"[Support]\nEmail=\n", "", "", ""},
    {"", "", "", ""},
    // A name that a mail program's command line would read as an option.
    {"[Support]\nEmail=-o@quorvel.example\n", "", "", "\"-o@quorvel.example\" is not an e-mail address"},
    {"[Support]\nEmail=a@b.example, c@d.example\n", "", "", "is not an e-mail address"},
    {"[Support]\nEmail=a@b.example\nEmail=c@d.example\n", "", "", "line 3 gives Email a second time"},
    {"[Support\nEmail=a@b.example\n", "", "", "line 1 opens a group without closing it"},
    {"[Support]\nEmail a@b.example\n", "", "", "line 2 is neither a group, a key with its value nor a comment"},
    {"[Support]\nEmail=a@b.example\nSubject=a\x1b[2Jb\n", "", "", "line 3 holds a control character"},
    {"[Support]\nEmail=caf\xe9@b.example\n", "", "", "it is not UTF-8 text"},
};

} // namespace

TEST(SupportContact, ReadsTheAddressAndSubjectAndNamesWhatIsWrongWithAFaultyFile)
{
    testing_support::TempDir directory;
    const std::string path = directory / "support.conf";
    for (const Case& row : CASES) {
        SCOPED_TRACE(row.contents);
        testing_support::writeFile(path, row.contents);
        const SupportContactLookup lookup = readSupportContact(path);
        if (*row.address) {
            ASSERT_TRUE(lookup.contact);
            EXPECT_EQ(lookup.contact->address, QString::fromUtf8(row.address));
            EXPECT_EQ(lookup.contact->subjectFor(QStringLiteral("Telvarin_x.zip")), QString::fromUtf8(row.subject));
        } else {
            EXPECT_FALSE(lookup.contact);
        }
        if (*row.fault) {
            EXPECT_EQ(lookup.fault.rfind("Could not read " + path + ": ", 0), 0u) << lookup.fault;
            EXPECT_NE(lookup.fault.find(row.fault), std::string::npos) << lookup.fault;
        } else {
            EXPECT_EQ(lookup.fault, "");
        }
    }
    // No file at all is no fault; a folder in its place is.
    EXPECT_FALSE(readSupportContact(directory / "none.conf").contact);
    EXPECT_EQ(readSupportContact(directory / "none.conf").fault, "");
    testing_support::makeDirectories(directory / "folder.conf");
    EXPECT_NE(readSupportContact(directory / "folder.conf").fault, "");
}
