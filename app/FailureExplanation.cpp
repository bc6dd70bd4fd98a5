#include "app/FailureExplanation.h"

#include "app/DisplayText.h"
#include "core/summary/FailureWording.h"

#include <string_view>
#include <system_error>

QString FailureExplanation::partialReport(const QString& shownName)
{
    //: After a failure that left a valid zip file of what it had gathered. %1 is its path or name.
    return tr("What was gathered until then is in the partial report “%1”.").arg(shownName);
}

QString FailureExplanation::text(const FailureDetail& detail)
{
    const auto wording = failureWording(detail);
    if (!wording)
        return {};
    // The table's English texts are this class's source texts.
    QString what = QCoreApplication::translate("FailureExplanation", wording->what);
    if (std::string_view(wording->what).find("%1") != std::string_view::npos)
        what = what.arg(displayText::inSentence(detail.path));
    const QString advice = QCoreApplication::translate("FailureExplanation", wording->advice);
    if (wording->isWholeSentence)
        return what + QLatin1Char('\n') + advice;
    QString whatAndWhy;
    if (detail.errorNumber == 0) {
        //: What failed (%1) when the system gave no reason: the sentence's end.
        whatAndWhy = tr("%1.").arg(what);
    } else {
        // The system's reason comes in the user's language where the system has it.
        const QString reason =
            QString::fromLocal8Bit(std::error_code(detail.errorNumber, std::system_category()).message());
        //: What failed (%1) and the system's reason for it (%2), such as "Permission denied".
        whatAndWhy = tr("%1: %2.").arg(what, reason);
    }
    return whatAndWhy + QLatin1Char('\n') + advice;
}
