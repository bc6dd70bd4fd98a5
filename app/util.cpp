#include "app/util.h"

#include <QApplication>
#include <QMessageBox>

namespace util {
namespace {

void showModalBox(const std::string& message, QMessageBox::Icon icon, QWidget* parent,
                  const QString& explanation = {})
{
    QMessageBox box(icon, QStringLiteral("Telvarin Generator"), QString::fromStdString(message), QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    // Messages may quote a library's failure text; show it as written, never
    // as markup.
    box.setTextFormat(Qt::PlainText);
    // The informative text has no format of its own: escaped, a folder
    // named like markup shows as it is named, blanks and lines kept.
    if (!explanation.isEmpty())
        box.setInformativeText(QStringLiteral("<p style='white-space:pre-wrap'>%1</p>").arg(explanation.toHtmlEscaped()));
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

} // namespace util
