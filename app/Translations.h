#pragma once
// The window in the desktop's language: the tool's own translations and
// Qt's (the standard buttons of its boxes) for the first of the user's
// languages that the tool speaks. English where English comes first, where
// the tool speaks none of them, and in the C locale, as gettext has it.

#include <QString>
#include <QStringList>

#include <memory>

class QTranslator;

class Translations {
public:
    // The languages the desktop asks for, most wanted first: LANGUAGE's list,
    // else the messages locale (LC_ALL, LC_MESSAGES, LANG); none when that
    // locale is C or POSIX, LANGUAGE notwithstanding.
    static QStringList desktopLanguages();
    static Translations forDesktop();

    // For `languages` ("de", "fr-FR", "zh_CN"), most wanted first.
    explicit Translations(const QStringList& languages);
    ~Translations();
    Translations(Translations&&) noexcept;
    Translations& operator=(Translations&&) noexcept;

    // The language chosen ("de", "zh_CN"); empty for English.
    QString language() const { return language_; }

    // A text of the tool's own in that language, also before the
    // application exists (--help).
    QString translate(const char* context, const char* source) const;

    // Makes the translations the running application's until this object
    // is gone; call once the application exists, before any window is made.
    void install();

private:
    QString language_;
    std::unique_ptr<QTranslator> own_;
    std::unique_ptr<QTranslator> qt_;
};
