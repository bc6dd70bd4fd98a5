#pragma once
// Where the window offers to mail a report: the maker's support address and
// the mail's subject, from support.conf, an INI file installed beside
// data.xml:
//
//     [Support]
//     Email=support@example.com
//     Subject=Printer report %1
//
// `%1` in the subject stands for the archive's file name. Without the file or
// without an address the window offers no mail; a file that is there but
// faulty is noted in the run's log, and the window offers no mail either.

#include <QString>

#include <optional>
#include <string>

struct SupportContact {
    // Valid as an HTML form's e-mail field takes it, so that every mail
    // program and the desktop portal accept it.
    QString address;
    // The subject as the file gives it, `%1` not yet replaced.
    QString subjectPattern;

    // The subject for a mail that carries `archiveName`.
    QString subjectFor(const QString& archiveName) const;
};

struct SupportContactLookup {
    // Nothing when there is no file, no address, or a fault.
    std::optional<SupportContact> contact;
    // What is wrong with a file that is there, as a line of the run's log
    // (in English, for support); empty when nothing is.
    std::string fault;
};

// Reads the support.conf at `path`.
SupportContactLookup readSupportContact(const std::string& path);

// The support.conf installed with the tool, as data.xml is found.
SupportContactLookup installedSupportContact();
