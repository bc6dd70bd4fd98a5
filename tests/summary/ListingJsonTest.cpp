// The JSON of --list: files apart from misses in the order listed, sizes past
// 4 GiB exact, names that are not UTF-8 kept readable rather than fatal.
#include "core/summary/ListingJson.h"

#include <gtest/gtest.h>

TEST(ListingJson, IsOneLineOfFilesMissesAndTheTotal)
{
    const std::vector<ListedPath> paths = {{"/var/log/a.log", true, 4},
                                           {"/etc/missing\n.conf", false, 0},
                                           {"/x/caf\xe9.log", true, 5'000'000'000},
                                           {"/home/u/crash-*.txt", false, 0}};

    EXPECT_EQ(listingJson(paths),
              "{\"files\":[{\"path\":\"/var/log/a.log\",\"size\":4},"
              "{\"path\":\"/x/caf\xef\xbf\xbd.log\",\"size\":5000000000}],"
              "\"missing\":[\"/etc/missing\\n.conf\",\"/home/u/crash-*.txt\"],\"total\":5000000004}\n");
    EXPECT_EQ(listingJson({}), "{\"files\":[],\"missing\":[],\"total\":0}\n");
}
