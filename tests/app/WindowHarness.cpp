#include "tests/app/WindowHarness.h"

#include "app/ProgressBarIndicator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>

namespace app_testing {

MessageBoxAnswerer::MessageBoxAnswerer(const AppDelegate& window)
    : window_(window),
      activeBeforeBox_(QApplication::activeWindow())
{
    connect(&poll_, &QTimer::timeout, this, &MessageBoxAnswerer::answerOpenBox);
    poll_.start(5);
}

void MessageBoxAnswerer::answerOpenBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
        if (QWidget* active = QApplication::activeWindow())
            activeBeforeBox_ = active;
        return;
    }
    // The platform activates a box a moment after showing it; answered
    // before that, the late activation would land after the keyboard went
    // back. A platform without a window manager may never activate it.
    if (!box->isActiveWindow() && ++pollsWhileInactive_ < 40)
        return;
    pollsWhileInactive_ = 0;
    ShownBox shown;
    shown.text = box->text();
    shown.icon = box->icon();
    shown.buttonCount = static_cast<int>(box->buttons().size());
    for (const QAbstractButton* button : box->buttons())
        shown.buttonTexts.append(button->text());
    shown.textFormat = box->textFormat();
    shown.informativeText = box->informativeText();
    shown.size = box->size();
    shown.indicatorRunning = !indicatorAtRest(window_);
    shown.cancelShown = window_.cancelButton()->isVisible();
    shown.overTheWindow = box->parentWidget() == &window_;
    boxes.push_back(shown);
    QAbstractButton* answer = box->button(QMessageBox::Ok);
    for (QAbstractButton* button : box->buttons())
        if (!answer && box->buttonRole(button) == questionAnswer)
            answer = button;
    if (!answer)
        answer = box->escapeButton();
    if (answer)
        answer->click();
    else
        box->reject();
    // At once, not through the platform's queue: the run's next box may
    // already be waiting to ask who is active.
    if (activeBeforeBox_)
        QApplication::setActiveWindow(activeBeforeBox_);
}

void RecordingDesktopSession::showFileInFolder(const std::string& file, ShowDone done)
{
    shownFiles.push_back(file);
    done(showWorks);
}

void RecordingDesktopSession::notify(Notification notification)
{
    notifications.push_back(std::move(notification));
}

void RecordingDesktopSession::composeEmail(const SupportMail& mail, EmailComposer::Done done)
{
    mails.push_back(mail);
    done(mailOutcome);
}

bool indicatorAtRest(const AppDelegate& window)
{
    return !ProgressBarIndicator::showsARun(window.indicator());
}

void showWindow(AppDelegate& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

std::vector<ShownBox> pressButton(AppDelegate& window)
{
    MessageBoxAnswerer answerer(window);
    QTest::mouseClick(window.button(), Qt::LeftButton);
    return answerer.boxes;
}

ReportPlace::ReportPlace() : home(directory / "home"), root(directory / "root"), dataXml(directory / "config/data.xml")
{
    testing_support::makeDirectories(home);
    testing_support::makeDirectories(root + "/Library/Printers/Quorvel");
    testing_support::makeDirectories(root + "/Applications");
    // Home paths are looked up in the collected system.
    testing_support::writeFile(root + home + "/Library/Logs/present.log", "present\n");
    testing_support::writeFile(dataXml, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                        "<configuration>\n"
                                        "  <Absolute_Path_Files>\n"
                                        "    <file>/var/log/telvarin-absent.log</file>\n"
                                        "  </Absolute_Path_Files>\n"
                                        "  <Home_Path_Files>\n"
                                        "    <file>Library/Logs/present.log</file>\n"
                                        "    <file>Library/Logs/absent.log</file>\n"
                                        "  </Home_Path_Files>\n"
                                        "</configuration>\n");
}

std::vector<std::string> ReportPlace::desktopFiles() const
{
    return testing_support::listFolder(desktop());
}

platform::Services ReportPlace::servicesFor(testing_support::FakeMachine& machine) const
{
    machine.environment.variables["HOME"] = home;
    machine.collectFrom(root);
    return {};
}

AppDelegate::RequestSource requestFor(std::string dataXml)
{
    return [dataXml] {
        ReportRequest request;
        request.dataXmlPath = dataXml;
        return request;
    };
}

platform::ScopedServices replaceServices(const std::function<void(platform::Services&)>& change)
{
    platform::Services services = platform::currentServices();
    change(services);
    return platform::ScopedServices(std::move(services));
}

HookedEnvironment::HookedEnvironment(std::string home, std::function<void()> onHome)
    : home_(std::move(home)),
      onHome_(std::move(onHome))
{
}

std::optional<std::string> HookedEnvironment::variable(const std::string& name) const
{
    if (name != "HOME")
        return std::nullopt;
    onHome_();
    return home_;
}

void Gate::holdHere()
{
    std::unique_lock lock(mutex_);
    holding_ = true;
    // Bounded, so that a window that never serves its events fails the test
    // instead of hanging it.
    opened_.wait_for(lock, std::chrono::seconds(10), [this] { return open_; });
    holding_ = false;
}

bool Gate::isHolding() const
{
    std::lock_guard lock(mutex_);
    return holding_;
}

void Gate::open()
{
    {
        std::lock_guard lock(mutex_);
        open_ = true;
    }
    opened_.notify_all();
}

} // namespace app_testing
