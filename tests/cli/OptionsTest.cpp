// telvarin-report's options, read in-process: what each command line asks
// for, and the one line that says why one cannot be run.
#include "cli/Options.h"
#include "tests/doubles/CommandLineSupport.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

using namespace testing_support;

namespace {

using Arguments = std::vector<std::string>;

std::string errorOf(const std::variant<cli::Options, cli::UsageError>& outcome)
{
    const auto* error = std::get_if<cli::UsageError>(&outcome);
    return error ? error->message : "";
}

std::vector<std::string> splitWords(const std::string& text)
{
    std::istringstream words(text);
    return {std::istream_iterator<std::string>(words), std::istream_iterator<std::string>()};
}

} // namespace

TEST(Options, EachCommandLineAsksForItsAction)
{
    struct Case {
        Arguments arguments;
        cli::Action action;
    };
    const Case cases[] = {
        {{}, cli::Action::RunReport},
        {{"--json", "--checksum"}, cli::Action::RunReport},
        {{"--list", "--json"}, cli::Action::ListFiles},
        {{"--list", "--version"}, cli::Action::ShowVersion},
        {{"--version", "--help"}, cli::Action::ShowHelp},
        {{"--output", "/tmp", "--help"}, cli::Action::ShowHelp},
    };
    for (const auto& [arguments, action] : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        const auto parsed = cli::parseOptions(arguments);
        ASSERT_EQ(errorOf(parsed), "");
        EXPECT_EQ(std::get<cli::Options>(parsed).action, action);
    }
}

TEST(Options, ValuesComeAfterTheOptionOrAfterAnEqualsSign)
{
    // A value may begin with a dash, and "--" ends the options.
    const auto parsed =
        cli::parseOptions({"--output", "-d", "--sysroot=/mnt/c", "--data-xml=-list.xml", "--json", "--checksum", "--"});
    ASSERT_EQ(errorOf(parsed), "");
    const auto& options = std::get<cli::Options>(parsed);
    EXPECT_EQ(options.outputDirectory, "-d");
    EXPECT_EQ(options.sysroot, "/mnt/c");
    EXPECT_EQ(options.dataXml, "-list.xml");
    EXPECT_TRUE(options.json);
    EXPECT_TRUE(options.checksum);
    EXPECT_EQ(std::get<cli::Options>(cli::parseOptions({})).outputDirectory, std::nullopt);
}

TEST(Options, ACommandLineThatCannotBeRunSaysWhy)
{
    const std::pair<Arguments, std::string> cases[] = {
        {{"report"}, "unexpected argument 'report'"},
        {{"--", "--json"}, "unexpected argument '--json'"},
        {{"--", "--"}, "unexpected argument '--'"},
        {{"-o", "/tmp"}, "unexpected argument '-o'"},
        {{"--out", "/tmp"}, "unknown option '--out'"},
        {{"--json=yes"}, "option '--json' takes no value"},
        {{"--output"}, "option '--output' needs a DIR"},
        {{"--output", "--json", "--output=x"}, "option '--output' given twice"},
        {{"--data-xml="}, "option '--data-xml' needs a FILE, not an empty text"},
        {{"--output", "a", "--output=b"}, "option '--output' given twice"},
        {{"--list", "--list"}, "option '--list' given twice"},
        {{"--checksum", "--json", "--checksum"}, "option '--checksum' given twice"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(::testing::PrintToString(arguments));
        EXPECT_EQ(errorOf(cli::parseOptions(arguments)), message);
    }
}

TEST(Options, PathsAreCheckedAndMadeAbsolute)
{
    TempDir temp;
    const std::string root = temp.path() + "/root";
    const std::string output = temp.path() + "/out";
    makeDirectories(root + "/var");
    makeDirectories(output);
    writeFile(temp.path() + "/data.xml", "<c/>");
    auto resolved = [](cli::Options options) { return cli::resolvePaths(std::move(options)); };

    cli::Options report;
    report.sysroot = root + "/var/..";
    report.outputDirectory = output;
    report.dataXml = temp.path() + "/data.xml";
    const auto placed = resolved(report);
    ASSERT_EQ(errorOf(placed), "");
    EXPECT_EQ(std::get<cli::Options>(placed).sysroot, std::filesystem::canonical(root).string());

    cli::Options wholeMachine;
    wholeMachine.sysroot = "/";
    EXPECT_EQ(std::get<cli::Options>(resolved(wholeMachine)).sysroot, std::nullopt);

    cli::Options withoutOutput;
    withoutOutput.sysroot = root;
    EXPECT_EQ(errorOf(resolved(withoutOutput)).rfind("--sysroot needs --output DIR", 0), 0u);
    withoutOutput.action = cli::Action::ListFiles;
    EXPECT_EQ(errorOf(resolved(withoutOutput)), "") << "a listing writes nothing";

    cli::Options inside = report;
    inside.outputDirectory = root + "/var";
    EXPECT_NE(errorOf(resolved(inside)).find("lies inside --sysroot"), std::string::npos);

    cli::Options notAFile;
    notAFile.dataXml = output;
    EXPECT_EQ(errorOf(resolved(notAFile)), "cannot use --data-xml '" + output + "': not a regular file");
}

// The help, the man page and the bash completion each name the options; all
// three must offer what the table holds, each value by its name.
TEST(Options, TheHelpTheManPageAndTheCompletionOfferTheOptionsOfTheTable)
{
    std::set<std::string> table;
    for (const cli::OptionDefinition& option : cli::optionDefinitions())
        table.insert(option.valueName ? std::string(option.name) + " " + option.valueName : option.name);

    const std::string help = cli::helpText();
    std::set<std::string> helped;
    for (const auto& line : splitLines(help))
        if (std::smatch found; std::regex_search(line, found, std::regex("^  (--[a-z-]+( [A-Z]+)?)  ")))
            helped.insert(found[1]);
    EXPECT_EQ(helped, table);
    const std::string flowing = std::regex_replace(help, std::regex("\\s+"), " ");
    EXPECT_NE(flowing.find(R"({"code": N, "message": TEXT, "detail": TEXT or null})"), std::string::npos);
    EXPECT_TRUE(std::regex_search(flowing, std::regex("Exit status: 0 .*, 1 .*, 2 .*, 130 ")));

    // Each option of the man page's OPTIONS section: ".TP" and then
    // ".B \-\-name" or ".BI \-\-name " VALUE"".
    const std::string page = readWholeFile(std::string(TELVARIN_SOURCE_DIR) + "/resources/telvarin-report.1.in");
    const auto section = page.find(".SH OPTIONS");
    const std::string options = page.substr(section, page.find(".SH LISTING") - section);
    std::set<std::string> paged;
    const std::regex entry(R"re(\.TP\n\.BI? \\-\\-([a-z\\-]+)(?: " ([A-Z]+)")?\n)re");
    for (std::sregex_iterator at(options.begin(), options.end(), entry), end; at != end; ++at) {
        const std::string name = "--" + std::regex_replace((*at)[1].str(), std::regex(R"(\\-)"), "-");
        paged.insert((*at)[2].matched ? name + " " + (*at)[2].str() : name);
    }
    EXPECT_EQ(paged, table);

    // The completion offers every option and completes a DIR with folders,
    // a FILE with files.
    const std::string script =
        readWholeFile(std::string(TELVARIN_SOURCE_DIR) + "/resources/telvarin-report.bash-completion");
    std::set<std::string> completed;
    const std::regex offered(R"re(options\+?="\s*([^"]*)")re");
    for (std::sregex_iterator at(script.begin(), script.end(), offered), end; at != end; ++at)
        for (const auto& word : splitWords((*at)[1].str()))
            completed.insert(word);
    const std::regex valued(R"(((?:--[a-z-]+(?: \| )?)+)\)\n\s*_telvarin_report_paths -([df]))");
    for (std::sregex_iterator at(script.begin(), script.end(), valued), end; at != end; ++at)
        for (const auto& word : splitWords(std::regex_replace((*at)[1].str(), std::regex(R"(\|)"), " "))) {
            ASSERT_EQ(completed.erase(word), 1u) << word;
            completed.insert(word + ((*at)[2] == "d" ? " DIR" : " FILE"));
        }
    EXPECT_EQ(completed, table);
}
