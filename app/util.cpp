#include "app/util.h"

#include "app/DisplayText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>

namespace util {
namespace {

// The widest a name in a box may be: a box grows to its longest word, and
// one long name would make it as wide as the screen.
constexpr int WIDEST_WORD_IN_AVERAGE_CHARACTERS = 40;

void showModalBox(const std::string& message, QMessageBox::Icon icon, QWidget* parent, const QString& explanation = {})
{
    QMessageBox box(icon, QStringLiteral("Telvarin Generator"), {}, QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    const QFontMetrics metrics = box.fontMetrics();
    const int widest = metrics.averageCharWidth() * WIDEST_WORD_IN_AVERAGE_CHARACTERS;
    // Messages may quote a library's failure text; show it as written, never
    // as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText::fittedToWidth(QString::fromStdString(message), metrics, widest));
    // The informative text has no format of its own: escaped, a folder
    // named like markup shows as it is named, blanks and lines kept.
    if (!explanation.isEmpty())
        box.setInformativeText(displayText::asRichText(displayText::fittedToWidth(explanation, metrics, widest)));
    box.exec();
}

} // namespace

void showMessageBox(std::string message, QWidget* parent)
{
    showModalBox(message, QMessageBox::Information, parent);
}

void showErrorMessage(std::string message, QWidget* parent, const QString& explanation)
{
    showModalBox(message, QMessageBox::Critical, parent, explanation);
}

bool askToStopTheRunAndClose(QWidget* window)
{
    QMessageBox question(QMessageBox::Question, window->windowTitle(),
                         //: Asked when the window is closed while a report is being made.
                         QCoreApplication::translate("util", "A report is being made. Cancel it and close the window?"),
                         QMessageBox::NoButton, window);
    question.setTextFormat(Qt::PlainText);
    // Buttons that say what they do; only an explicit choice stops the run.
    QPushButton* stop = question.addButton(
        //: In the question asked when the window is closed during a run: stops the run and closes
        //: the window. The ampersand marks the Alt key's letter.
        QCoreApplication::translate("util", "&Stop and Close"), QMessageBox::DestructiveRole);
    QPushButton* keep = question.addButton(
        //: In the question asked when the window is closed during a run: lets the run go on.
        //: The ampersand marks the Alt key's letter.
        QCoreApplication::translate("util", "&Keep Running"), QMessageBox::RejectRole);
    question.setDefaultButton(keep);
    question.setEscapeButton(keep);
    question.exec();
    return question.clickedButton() == stop;
}

} // namespace util
