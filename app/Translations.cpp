#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Where the build embeds the tool's .qm files, named PREFIX_<language>.qm.
const char* const OWN_TRANSLATIONS_FOLDER = ":/translations";
const char* const OWN_TRANSLATIONS_PREFIX = "telvarin-generator";
const char* const QT_TRANSLATIONS_PREFIX = "qtbase";

// The locale that messages follow, by the precedence of the C library.
QString messagesLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

bool isPosixLocale(const QString& name)
{
    return name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX") ||
           name.startsWith(QLatin1String("C."));
}

} // namespace

QStringList Translations::desktopLanguages()
{
    if (isPosixLocale(messagesLocaleName()))
        return {};
    return QLocale::system().uiLanguages();
}

Translations Translations::forDesktop()
{
    return Translations(desktopLanguages());
}

Translations::Translations(const QStringList& languages)
    : own_(std::make_unique<QTranslator>()),
      qt_(std::make_unique<QTranslator>())
{
    for (const QString& name : languages) {
        const QLocale wanted(name);
        // The source texts are English: nothing to load.
        if (wanted.language() == QLocale::English)
            return;
        if (own_->load(wanted, QString::fromLatin1(OWN_TRANSLATIONS_PREFIX), QStringLiteral("_"),
                       QString::fromLatin1(OWN_TRANSLATIONS_FOLDER))) {
            language_ = own_->language();
            // Qt's own words for the same language; English buttons where
            // they are not installed.
            static_cast<void>(qt_->load(wanted, QString::fromLatin1(QT_TRANSLATIONS_PREFIX), QStringLiteral("_"),
                                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
            return;
        }
    }
}

Translations::~Translations() = default;
Translations::Translations(Translations&&) noexcept = default;
Translations& Translations::operator=(Translations&&) noexcept = default;

QString Translations::translate(const char* context, const char* source) const
{
    const QString text = own_ ? own_->translate(context, source) : QString();
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}

void Translations::install()
{
    for (QTranslator* translator : {own_.get(), qt_.get()})
        if (translator && !translator->isEmpty())
            QCoreApplication::installTranslator(translator);
}
