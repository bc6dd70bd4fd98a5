#include "app/util.h"

#include <QApplication>
#include <QMessageBox>

namespace util {
namespace {

void showModalBox(const std::string& message, QMessageBox::Icon icon)
{
    QMessageBox box(icon, QStringLiteral("Telvarin Generator"), QString::fromStdString(message), QMessageBox::Ok,
                    QApplication::activeWindow());
    // Messages may quote a library's failure text; show it as written, never
    // as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void showMessageBox(std::string message)
{
    showModalBox(message, QMessageBox::Information);
}

void showErrorMessage(std::string message)
{
    showModalBox(message, QMessageBox::Critical);
}

} // namespace util
