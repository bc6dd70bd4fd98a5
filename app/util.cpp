#include "util.h"

#include <QApplication>
#include <QMessageBox>

namespace util {
namespace {

void showModalBox(const std::string& message, QMessageBox::Icon icon, QWidget* parent)
{
    QMessageBox box(icon, QStringLiteral("Telvarin Generator"), QString::fromStdString(message), QMessageBox::Ok,
                    parent ? parent : QApplication::activeWindow());
    // Messages may quote a library's failure text; show it as written, never
    // as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void showMessageBox(std::string message, QWidget* parent)
{
    showModalBox(message, QMessageBox::Information, parent);
}

void showErrorMessage(std::string message, QWidget* parent)
{
    showModalBox(message, QMessageBox::Critical, parent);
}

} // namespace util
