// The udev rule shipped for access without root matches the vendor ID the
// program was built for.
#include "core/printer/QuorvelVendorId.h"
#include "tests/doubles/TestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(UdevRule, GivesTheSeatUserAccessToTheMakersUsbDevices)
{
    const std::string path = TELVARIN_UDEV_RULE;
    // Rules that tag for uaccess must run before systemd's 73-seat-late.rules.
    const std::string name = path.substr(path.rfind('/') + 1);
    EXPECT_LT(name.substr(0, 2), "73");
    EXPECT_EQ(name.substr(name.size() - 6), ".rules");

    std::istringstream text(testing_support::readWholeFile(path));
    std::vector<std::string> rules;
    for (std::string line; std::getline(text, line);)
        if (!line.empty() && line[0] != '#')
            rules.push_back(line);
    ASSERT_EQ(rules.size(), 1u);
    const std::string& rule = rules[0];
    EXPECT_NE(rule.find("SUBSYSTEM==\"usb\""), std::string::npos) << rule;
    EXPECT_NE(rule.find("ATTR{idVendor}==\"" + std::string(QUORVEL_VID) + "\""), std::string::npos) << rule;
    EXPECT_NE(rule.find("TAG+=\"uaccess\""), std::string::npos) << rule;
    EXPECT_EQ(rule.find("MODE="), std::string::npos) << "access goes to the seat's user, not to everyone";
}
