// Whole reads and writes on real pipes and files: pieces joined, interrupted
// calls tried again and the position left alone. (A full disk is the
// archive stream's test, on /dev/full.)

#include "platform/posix/FullIo.h"
#include "platform/posix/FileDescriptor.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <string>
#include <thread>

using platform::FileDescriptor;

namespace {

struct Pipe {
    Pipe()
    {
        int ends[2];
        EXPECT_EQ(pipe2(ends, O_CLOEXEC), 0);
        reading.reset(ends[0]);
        writing.reset(ends[1]);
    }
    FileDescriptor reading;
    FileDescriptor writing;
};

} // namespace

// A pipe takes 64 KiB at a time and hands them on in pieces.
TEST(FullIo, WholeBuffersCrossAPipeInPieces)
{
    Pipe pipe;
    std::string sent(std::size_t{1} << 20, 'x');
    for (std::size_t i = 0; i < sent.size(); i += 4099)
        sent[i] = static_cast<char>('a' + i % 26);
    std::thread writer([&] {
        EXPECT_FALSE(platform::writeFully(pipe.writing.get(), sent));
        pipe.writing.reset();
    });
    std::string received(sent.size() + 10, '\0');
    std::size_t count = 0;
    EXPECT_FALSE(platform::readFully(pipe.reading.get(), received.data(), received.size(), &count));
    writer.join();
    received.resize(count);
    EXPECT_EQ(received, sent) << "short only at the end";
}

// Without SA_RESTART a signal makes a blocked read or wait return EINTR.
TEST(FullIo, AReadOrAWaitInterruptedBySignalsGoesOn)
{
    struct sigaction interrupting {};
    interrupting.sa_handler = [](int) {};
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGUSR1, &interrupting, &previous), 0);
    for (bool wait : {false, true}) {
        Pipe pipe;
        std::atomic<bool> done{false};
        std::error_code error;
        char buffer[3] = {};
        std::size_t count = 0;
        std::thread reader([&] {
            error = wait ? platform::waitForInput(pipe.reading.get(), std::chrono::seconds(10))
                         : platform::readFully(pipe.reading.get(), buffer, sizeof buffer, &count);
            done = true;
        });
        // A read goes on through 20 signals; a wait returns at the first
        // that comes while it waits.
        for (int signals = 0; signals < (wait ? 1000 : 20) && !done; ++signals) {
            pthread_kill(reader.native_handle(), SIGUSR1);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        EXPECT_EQ(done, wait) << "an interrupted wait returns at once, for the caller to look again";
        EXPECT_FALSE(platform::writeFully(pipe.writing.get(), "abc"));
        reader.join();
        EXPECT_FALSE(error) << error.message();
        if (!wait) {
            EXPECT_EQ(std::string(buffer, count), "abc");
        }
    }
    sigaction(SIGUSR1, &previous, nullptr);
}

TEST(FullIo, PositionalCallsLeaveThePositionAndEndShortAtTheEndOfTheFile)
{
    testing_support::TempDir temp;
    FileDescriptor file(open((temp / "f").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    ASSERT_FALSE(platform::writeFully(file.get(), "0123456789"));
    ASSERT_EQ(lseek(file.get(), 2, SEEK_SET), 2);

    EXPECT_FALSE(platform::pwriteFully(file.get(), "ab", 2, 8));
    char buffer[20] = {};
    std::size_t count = 0;
    EXPECT_FALSE(platform::preadFully(file.get(), buffer, sizeof buffer, 5, &count));
    EXPECT_EQ(std::string(buffer, count), "567ab");
    EXPECT_EQ(lseek(file.get(), 0, SEEK_CUR), 2);
}
