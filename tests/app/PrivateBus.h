#pragma once
// A D-Bus bus of the test's own, on which nothing is activated and nothing
// but the test's stand-ins answers.

#include "tests/doubles/TestFiles.h"

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace app_testing {

class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // A connection of its own under `name`, closed with the bus.
    QDBusConnection connect(const QString& name);

private:
    testing_support::TempDir directory_;
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

} // namespace app_testing
