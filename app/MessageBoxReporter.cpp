#include "app/MessageBoxReporter.h"

#include "app/DisplayText.h"
#include "app/FailureExplanation.h"
#include "app/GuiThread.h"
#include "app/MessageWording.h"
#include "app/ProgressBarIndicator.h"
#include "app/util.h"

#include <QStringList>
#include <QWidget>

#include <utility>

MessageBoxReporter::MessageBoxReporter(QWidget* window, const ProgressBarIndicator& indicator, BoxListener beforeBox)
    : window_(window),
      indicator_(indicator),
      beforeBox_(std::move(beforeBox))
{
}

void MessageBoxReporter::progress(const std::string& line)
{
    platform::consoleReporter().progress(line);
}

void MessageBoxReporter::showInformation(const UserMessage& message)
{
    gui::runOnThreadOf(window_, [this, &message] {
        const QString text = wordedMessage(message);
        if (beforeBox_)
            beforeBox_(message, text, !indicator_.isAnimating());
        util::showMessageBox(text.toStdString(), window_);
    });
}

void MessageBoxReporter::showError(const UserMessage& message)
{
    gui::runOnThreadOf(window_, [this, &message] {
        const QString text = wordedMessage(message);
        if (beforeBox_)
            beforeBox_(message, text, !indicator_.isAnimating());
        QStringList explanation;
        if (message.detail)
            explanation << FailureExplanation::text(*message.detail);
        if (!message.archivePath.empty())
            explanation << FailureExplanation::partialReport(displayText::inSentence(message.archivePath));
        explanation.removeAll(QString());
        util::showErrorMessage(text.toStdString(), window_, explanation.join(QLatin1Char('\n')));
    });
}
