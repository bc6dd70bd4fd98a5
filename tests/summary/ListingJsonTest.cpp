// The JSON of --list: files apart from misses and from paths that name no
// regular file, in the order listed, sizes past 4 GiB exact, names that are
// not UTF-8 carried byte for byte.
#include "core/summary/ListingJson.h"

#include <gtest/gtest.h>

TEST(ListingJson, IsOneLineOfFilesMissesSkippedPathsAndTheTotal)
{
    using platform::FileKind;
    const std::vector<ListedPath> paths = {{"/var/log/a.log", true, 4, FileKind::regular},
                                           {"/etc/missing\n.conf", false, 0},
                                           {"/x/caf\xe9.log", true, 5'000'000'000, FileKind::regular},
                                           {"/home/u/crash-*.txt", false, 0},
                                           {"/var/log/pipe", false, 0, FileKind::fifo},
                                           {"/dev/\xff", false, 0, FileKind::characterDevice}};

    EXPECT_EQ(listingJson(paths),
              "{\"files\":[{\"path\":\"/var/log/a.log\",\"size\":4},"
              "{\"path\":{\"hex\":\"2f782f636166e92e6c6f67\"},\"size\":5000000000}],"
              "\"missing\":[\"/etc/missing\\n.conf\",\"/home/u/crash-*.txt\"],"
              "\"skipped\":[{\"path\":\"/var/log/pipe\",\"type\":\"fifo\"},"
              "{\"path\":{\"hex\":\"2f6465762fff\"},\"type\":\"character-device\"}],\"total\":5000000004}\n");
    EXPECT_EQ(listingJson({}), "{\"files\":[],\"missing\":[],\"skipped\":[],\"total\":0}\n");
}
