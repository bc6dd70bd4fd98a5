// The whole report on the sample system under the test doubles, byte for
// byte: any change to what the archive holds, or how it is written, changes
// its digest. Deterministic on any machine: the sample is copied with fixed
// file times, directories are listed in one order, the clock, HOME, the
// system facts and the printer are fixed, and the number of compressing
// threads must not matter.
#include "core/report/ReportPress.h"
#include "platform/CollectedSystem.h"
#include "tests/doubles/FakeServices.h"
#include "tests/doubles/FakeSystemFacts.h"
#include "tests/doubles/SimulatedPrinter.h"
#include "tests/doubles/TestFiles.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <sched.h>

#include <algorithm>
#include <filesystem>

using namespace testing_support;

namespace {

// The digest of the sample system's archive. Regenerate it (the failure
// message prints the new value) only when a fix deliberately changes an
// entry of that archive or the way it is written, and say in the commit
// which entry changed and why; never to make an unexplained change pass.
const char SAMPLE_ARCHIVE_SHA256[] = "df53099c65018ba68f1629db5e6c03a5dc5e7460ca6e3a7c4aa92c64c76f8951";

// Readdir order differs between file systems (ext4 hashes names with a
// seed of its own); the report keeps whatever order it is given.
class SortedListing final : public platform::CollectedSystem {
public:
    using CollectedSystem::CollectedSystem;
    std::optional<std::vector<std::string>> listDirectory(const std::string& path,
                                                          std::error_code& error) const override
    {
        auto names = CollectedSystem::listDirectory(path, error);
        if (names)
            std::sort(names->begin(), names->end());
        return names;
    }
};

class CpuAffinity {
public:
    explicit CpuAffinity(int processors)
    {
        sched_getaffinity(0, sizeof previous_, &previous_);
        cpu_set_t fewer;
        CPU_ZERO(&fewer);
        for (int cpu = 0, kept = 0; cpu < CPU_SETSIZE && kept < processors; ++cpu)
            if (CPU_ISSET(cpu, &previous_)) {
                CPU_SET(cpu, &fewer);
                ++kept;
            }
        sched_setaffinity(0, sizeof fewer, &fewer);
    }
    ~CpuAffinity() { sched_setaffinity(0, sizeof previous_, &previous_); }

private:
    cpu_set_t previous_;
};

std::string sha256Of(const std::string& bytes)
{
    gchar* digest =
        g_compute_checksum_for_data(G_CHECKSUM_SHA256, reinterpret_cast<const guchar*>(bytes.data()), bytes.size());
    std::string text(digest);
    g_free(digest);
    return text;
}

class ReportFidelity : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::copy(std::string(TELVARIN_SOURCE_DIR) + "/examples/sample-system", root,
                              std::filesystem::copy_options::recursive);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                setModificationTime(entry.path().string(), utcTime(2026, 11, 28, 9, 41, 26));
        machine.environment.variables["HOME"] = "/home/customer";
        machine.clock = FakeClock(utcTime(2026, 12, 1, 15, 4, 0), 3600);
    }

    // The archive's bytes after one press into a fresh folder.
    std::string pressWithProcessors(int processors)
    {
        const CpuAffinity affinity(processors);
        const std::string out = temp / ("out" + std::to_string(processors));
        makeDirectories(out);
        const std::string archive = out + "/Telvarin_12_01_2026__04_04_PM.zip";
        SortedListing collected(root);
        SimulatedPrinter printer;
        FakeSystemFacts facts;
        platform::Services extra;
        extra.usb = &printer;
        extra.systemFacts = &facts;
        extra.collectedSystem = &collected;
        const platform::ScopedServices installed = machine.install(extra);
        NoAnimation indicator;
        const PressResult result =
            runReportPress(indicator, {std::string(TELVARIN_SOURCE_DIR) + "/resources/data.xml", archive});
        EXPECT_TRUE(result.reportPlaced) << result.message;
        EXPECT_TRUE(unzipTestPasses(archive));
        return readWholeFile(archive);
    }

    struct NoAnimation final : BusyIndicator {
        void startAnimation() override {}
        void stopAnimation() override {}
    };

    TempDir temp;
    std::string root = temp / "sample-system";
    FakeMachine machine;
};

} // namespace

TEST_F(ReportFidelity, TheSampleSystemsArchiveIsByteForByteTheSameWhateverTheThreadCount)
{
    const std::string oneThread = pressWithProcessors(1);
    const std::string everyProcessor = pressWithProcessors(CPU_SETSIZE);
    EXPECT_TRUE(oneThread == everyProcessor) << "the thread count changed the archive";
    EXPECT_EQ(sha256Of(everyProcessor), SAMPLE_ARCHIVE_SHA256);
}
