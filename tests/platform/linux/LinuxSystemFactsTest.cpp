// The Linux system facts read from prepared /proc and /sys trees, and once
// from this machine.
#include "platform/linux/LinuxSystemFacts.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

using namespace testing_support;
using platform::KernelIdentity;
using platform::LinuxFactSources;
using platform::LinuxSystemFacts;

namespace {

// A machine described by files under a temporary directory.
class FixtureMachine {
public:
    FixtureMachine()
    {
        makeDirectories(root_ / "proc");
        makeDirectories(root_ / "sys");
    }

    void proc(const std::string& relative, const std::string& contents)
    {
        writeFile(root_ / ("proc/" + relative), contents);
    }
    void sys(const std::string& relative, const std::string& contents)
    {
        writeFile(root_ / ("sys/" + relative), contents);
    }
    std::string path(const std::string& relative) const { return root_ / relative; }

    LinuxSystemFacts facts(std::optional<KernelIdentity> kernel = KernelIdentity{"6.1.0-18-amd64", "x86_64"}) const
    {
        LinuxFactSources sources;
        sources.procDirectory = root_ / "proc";
        sources.sysDirectory = root_ / "sys";
        sources.startupVolumePath = root_.path();
        sources.kernelIdentity = [kernel] { return kernel; };
        return LinuxSystemFacts(sources);
    }

private:
    TempDir root_;
};

std::string versionText(const LinuxSystemFacts& facts)
{
    auto version = facts.operatingSystemVersion();
    if (!version)
        return "none";
    return std::to_string(version->majorNumber) + "." + std::to_string(version->minorNumber) + "." +
           std::to_string(version->updateNumber);
}

const char* const CPUINFO_X86 = "processor\t: 0\n"
                                "vendor_id\t: GenuineIntel\n"
                                "model name\t: Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz\n"
                                "cpu MHz\t\t: 2893.412\n"
                                "\n"
                                "processor\t: 1\n"
                                "cpu MHz\t\t: 800.000\n"
                                "\n";

} // namespace

TEST(LinuxSystemFacts, TakesTheFirstThreeNumbersOfTheKernelRelease)
{
    FixtureMachine machine;
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"6.1.0-18-amd64", "x86_64"})), "6.1.0");
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"5.15.153.1-microsoft-standard-WSL2", "x86_64"})), "5.15.153");
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"10.10.1", "x86_64"})), "10.10.1");
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"4.19.0", "x86_64"})), "4.19.0");
    // Two numbers: the kernel's own version code counts the missing one as 0.
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"6.8-rc3", "x86_64"})), "6.8.0");
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"6.8.", "x86_64"})), "6.8.0");
    // Fewer numbers, no numbers, numbers too large, no uname: unknown.
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"6", "x86_64"})), "none");
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"6-custom", "x86_64"})), "none");
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"", "x86_64"})), "none");
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"v6.1.0", "x86_64"})), "none");
    EXPECT_EQ(versionText(machine.facts(KernelIdentity{"6.99999999999.0", "x86_64"})), "none");
    EXPECT_EQ(versionText(machine.facts(std::nullopt)), "none");
    EXPECT_EQ(machine.facts(KernelIdentity{"6.1.0", "aarch64"}).architectureDescription(), "aarch64");
}

TEST(LinuxSystemFacts, ClockIsTheNominalMaximumThenTheFirstCpuinfoFigure)
{
    FixtureMachine machine;
    EXPECT_EQ(machine.facts().processorClockHertz(), std::nullopt);

    machine.proc("cpuinfo", CPUINFO_X86);
    EXPECT_EQ(machine.facts().processorClockHertz(), 2893412000ULL);

    // cpufreq in kHz wins over cpuinfo, and a reading of 0 says nothing.
    machine.sys("devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "0\n");
    EXPECT_EQ(machine.facts().processorClockHertz(), 2893412000ULL);
    machine.sys("devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "4000000\n");
    EXPECT_EQ(machine.facts().processorClockHertz(), 4000000000ULL);
    machine.sys("devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "garbage\n");
    EXPECT_EQ(machine.facts().processorClockHertz(), 2893412000ULL);
}

TEST(LinuxSystemFacts, CpuinfoMegahertzIsReadExactlyOrNotAtAll)
{
    FixtureMachine machine;
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"cpu MHz : 2400\n", 2400000000ULL},
        {"cpu MHz : 2400.5\n", 2400500000ULL},
        {"cpu MHz : 1.0000009\n", 1000000ULL},
        {"cpu MHz : 0.000\n", std::nullopt},
        {"cpu MHz : fast\n", std::nullopt},
        {"cpu MHz : 2400.\n", std::nullopt},
        {"cpu MHz : -1\n", std::nullopt},
        {"cpu MHz : 99999999999999999999\n", std::nullopt},
        // An ARM cpuinfo has no clock at all.
        {"processor\t: 0\nBogoMIPS\t: 48.00\n", std::nullopt},
    };
    for (const auto& [cpuinfo, expected] : cases) {
        machine.proc("cpuinfo", cpuinfo);
        EXPECT_EQ(machine.facts().processorClockHertz(), expected) << cpuinfo;
    }
}

TEST(LinuxSystemFacts, CountsOnlineProcessorsThenCpuinfoEntries)
{
    FixtureMachine machine;
    const platform::FactReading<int> none = machine.facts().logicalProcessorCount();
    EXPECT_EQ(none.value, std::nullopt);
    EXPECT_EQ(none.source, machine.path("proc/cpuinfo")) << "where it was looked for last";
    EXPECT_EQ(none.error, std::errc::no_such_file_or_directory);
    machine.proc("cpuinfo", CPUINFO_X86);
    EXPECT_EQ(machine.facts().logicalProcessorCount().value, 2);
    machine.sys("devices/system/cpu/online", "0-3,6,8-11\n");
    EXPECT_EQ(machine.facts().logicalProcessorCount().value, 9);
    machine.sys("devices/system/cpu/online", "0\n");
    EXPECT_EQ(machine.facts().logicalProcessorCount().value, 1);
    machine.sys("devices/system/cpu/online", "3-1\n");
    EXPECT_EQ(machine.facts().logicalProcessorCount().value, 2) << "a malformed list falls back to cpuinfo";
}

TEST(LinuxSystemFacts, ModelComesFromTheFirmwareThenTheDeviceTree)
{
    FixtureMachine machine;
    EXPECT_EQ(machine.facts().hardwareModel().value, "") << "no firmware model: empty, not a failure";

    machine.sys("firmware/devicetree/base/model", std::string("Raspberry Pi 4 Model B Rev 1.4\0", 31));
    EXPECT_EQ(machine.facts().hardwareModel().value, "Raspberry Pi 4 Model B Rev 1.4");
    machine.proc("device-tree/model", std::string("Board A\0junk", 12));
    EXPECT_EQ(machine.facts().hardwareModel().value, "Board A");

    // A firmware that fills the name with blanks names nothing either.
    machine.sys("class/dmi/id/product_name", "  \n");
    EXPECT_EQ(machine.facts().hardwareModel().value, "Board A");
    machine.sys("class/dmi/id/product_name", "ThinkPad X1 Carbon Gen 9\n");
    EXPECT_EQ(machine.facts().hardwareModel().value, "ThinkPad X1 Carbon Gen 9");
}

TEST(LinuxSystemFacts, AModelThatCannotBeReadIsAFailedQuery)
{
    FixtureMachine machine;
    // A directory in place of the file: it exists but reading it fails.
    makeDirectories(machine.path("sys/class/dmi/id/product_name"));
    machine.proc("device-tree/model", "Board A");
    const platform::FactReading<std::string> model = machine.facts().hardwareModel();
    EXPECT_EQ(model.value, std::nullopt);
    EXPECT_EQ(model.source, machine.path("sys/class/dmi/id/product_name"));
    EXPECT_EQ(model.error, std::errc::is_a_directory);
}

TEST(LinuxSystemFacts, MemoryIsMemTotalInBytesWithoutOverflow)
{
    FixtureMachine machine;
    EXPECT_EQ(machine.facts().physicalMemoryBytes().value, std::nullopt);
    machine.proc("meminfo", "MemTotal:       16318044 kB\nMemFree:         1234 kB\n");
    EXPECT_EQ(machine.facts().physicalMemoryBytes().value, 16318044ULL * 1024);
    machine.proc("meminfo", "MemFree: 1 kB\nMemTotal: 4294967296 kB\n");
    EXPECT_EQ(machine.facts().physicalMemoryBytes().value, 4294967296ULL * 1024);
    machine.proc("meminfo", "MemTotal: 18014398509481984 kB\n");
    EXPECT_EQ(machine.facts().physicalMemoryBytes().value, std::nullopt);
    machine.proc("meminfo", "MemTotal: 12 MB\n");
    const platform::FactReading<std::uint64_t> unreadable = machine.facts().physicalMemoryBytes();
    EXPECT_EQ(unreadable.value, std::nullopt);
    EXPECT_EQ(unreadable.source, machine.path("proc/meminfo"));
    EXPECT_FALSE(unreadable.error) << "read, but without the fact";
}

TEST(LinuxSystemFacts, StartupDeviceIsTheLastRootEntryOfTheMountTable)
{
    FixtureMachine machine;
    EXPECT_EQ(machine.facts().startupVolumeDeviceName(), std::nullopt);
    machine.proc("self/mounts", "sysfs /sys sysfs rw,nosuid 0 0\n"
                                "rootfs / rootfs rw 0 0\n"
                                "/dev/nvme0n1p2 / ext4 rw,relatime 0 0\n"
                                "/dev/nvme0n1p1 /boot/efi vfat rw 0 0\n"
                                "/dev/sdb1 /mnt/with\\040blank ext4 rw 0 0\n");
    EXPECT_EQ(machine.facts().startupVolumeDeviceName(), "/dev/nvme0n1p2");

    // Escaped blanks in the device name come back as blanks.
    machine.proc("self/mounts", "/dev/sda1 / ext4 rw 0 0\nmy\\040disk\\134x / ext4 rw 0 0\n");
    EXPECT_EQ(machine.facts().startupVolumeDeviceName(), "my disk\\x");

    machine.proc("self/mounts", "/dev/sda1 /home ext4 rw 0 0\n");
    EXPECT_EQ(machine.facts().startupVolumeDeviceName(), std::nullopt);
}

TEST(LinuxSystemFacts, VolumeSpaceComesFromStatvfsAndFailsCleanly)
{
    FixtureMachine machine;
    auto space = machine.facts().startupVolumeSpace();
    ASSERT_TRUE(space.has_value());
    EXPECT_GT(space->blockSize, 0u);
    EXPECT_GT(space->totalBlocks, 0u);
    EXPECT_LE(space->availableBlocks, space->totalBlocks);

    LinuxFactSources missing;
    missing.startupVolumePath = machine.path("no/such/directory");
    EXPECT_EQ(LinuxSystemFacts(missing).startupVolumeSpace(), std::nullopt);
}
