#include "tests/app/PrivateBus.h"

#include <fstream>

namespace app_testing {

PrivateBus::PrivateBus()
{
    const std::string config = directory_ / "bus.conf";
    std::ofstream(config) << "<busconfig><type>session</type><listen>unix:dir=" << directory_.path()
                          << "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
                             "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n";
    daemon_.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                                                  QStringLiteral("--config-file=") + QString::fromStdString(config)});
    if (daemon_.waitForReadyRead(10000))
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    for (const QString& name : names_)
        QDBusConnection::disconnectFromBus(name);
    daemon_.terminate();
    daemon_.waitForFinished();
}

QDBusConnection PrivateBus::connect(const QString& name)
{
    names_.append(name);
    return QDBusConnection::connectToBus(address_, name);
}

} // namespace app_testing
