<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>No file manager could open the folder. The report is in %1</source>
        <extracomment>Under the report&apos;s file name, when neither the file manager nor the desktop&apos;s own opener could show the report&apos;s folder. %1 is the folder.</extracomment>
        <translation>Kein Dateimanager konnte den Ordner öffnen. Der Bericht liegt in %1</translation>
    </message>
    <message>
        <source>Report placed</source>
        <extracomment>Title of the desktop notification when a report was placed while the window was in the background; the text under it says where.</extracomment>
        <translation>Bericht abgelegt</translation>
    </message>
    <message>
        <source>The report failed</source>
        <extracomment>Title of the desktop notification when a report ended in a failure while the window was in the background; the text under it is the failure&apos;s message.</extracomment>
        <translation>Bericht konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>Making the report…</source>
        <extracomment>Under the progress bar while a report is being made.</extracomment>
        <translation>Bericht wird erstellt …</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: %1 [--help | --version]

Opens the Telvarin Generator&apos;s window. A press of Generate Report gathers
what Quorvel support needs into one zip file on your desktop: the printer&apos;s
logs and settings, a report read from the printer over USB, and facts about
this computer.

Options:
  --help     show this text and exit
  --version  show the version and exit

Without a window, telvarin-report makes the same report.
</source>
        <extracomment>telvarin-generator --help, on a terminal. Keep the option names, the commands and the line breaks as they are (lines within 80 columns); %1 is the command.</extracomment>
        <translation>Aufruf: %1 [--help | --version]

Öffnet das Fenster von Telvarin Generator. Ein Klick auf „Bericht erstellen“
sammelt alles, was der Quorvel-Support braucht, in einer ZIP-Datei auf Ihrem
Schreibtisch: die Protokolle und Einstellungen des Druckers, einen über USB
vom Drucker gelesenen Bericht und Angaben zu diesem Computer.

Optionen:
  --help     diese Hilfe anzeigen und beenden
  --version  die Version anzeigen und beenden

Ohne Fenster erstellt telvarin-report denselben Bericht.
</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>One press gathers what Quorvel support needs into a single zip file: the printer&apos;s logs and settings, a report read from the printer over USB, and facts about this computer. The file is placed on your desktop; send it to Quorvel support.</source>
        <extracomment>The window&apos;s introduction, above its one button. &quot;Quorvel&quot; is the printer maker&apos;s name.</extracomment>
        <translation>Ein Klick sammelt alles, was der Quorvel-Support braucht, in einer einzigen ZIP-Datei: die Protokolle und Einstellungen des Druckers, einen über USB vom Drucker gelesenen Bericht und Angaben zu diesem Computer. Die Datei wird auf Ihrem Schreibtisch abgelegt; senden Sie sie an den Quorvel-Support.</translation>
    </message>
    <message>
        <source>&amp;Generate Report</source>
        <extracomment>The window&apos;s one button; it starts a report. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>Bericht &amp;erstellen</translation>
    </message>
    <message>
        <source>Report progress</source>
        <extracomment>What a screen reader calls the progress bar under the button.</extracomment>
        <translation>Fortschritt des Berichts</translation>
    </message>
    <message>
        <source>Report file:</source>
        <extracomment>After a report was placed: before the report&apos;s file name, beside the Open Folder button.</extracomment>
        <translation>Berichtsdatei:</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <extracomment>After a report was placed: shows the report in the file manager. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Ordner öffnen</translation>
    </message>
</context>
<context>
    <name>MessageWording</name>
    <message>
        <source>An error occured while trying to read a file</source>
        <extracomment>Message box ending a run: a file the report lists exists but could not be read. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Beim Lesen einer Datei ist ein Fehler aufgetreten</translation>
    </message>
    <message>
        <source>Could not find data.xml</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is missing or unreadable. Keep the file name data.xml as it is.</extracomment>
        <translation>Die Datei data.xml wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Could not parse data.xml (error code %1)</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is faulty. Keep data.xml as it is; %1 is the error code (6 to 9).</extracomment>
        <translation>Die Datei data.xml konnte nicht ausgewertet werden (Fehlercode %1)</translation>
    </message>
    <message>
        <source>An error occured while trying to communicate with the printer</source>
        <extracomment>Message box ending a run: talking to the printer over USB failed. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Bei der Kommunikation mit dem Drucker ist ein Fehler aufgetreten</translation>
    </message>
    <message>
        <source>Could not find driver directory</source>
        <extracomment>Message box ending a run: the folder of the maker&apos;s printer drivers is missing.</extracomment>
        <translation>Der Treiberordner wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Could not write the checksum file beside the report</source>
        <extracomment>Message ending a run that was asked for a checksum file (SHA-256) beside the report, which could not be written.</extracomment>
        <translation>Die Prüfsummendatei konnte nicht neben dem Bericht gespeichert werden</translation>
    </message>
    <message>
        <source>Error code %1 occured</source>
        <extracomment>Message box ending a run with a failure that has no sentence of its own; %1 is its number, which support asks for. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Fehlercode %1 ist aufgetreten</translation>
    </message>
    <message>
        <source>A report has been placed on the desktop</source>
        <extracomment>Message box after a run that placed the report on the user&apos;s desktop.</extracomment>
        <translation>Ein Bericht wurde auf dem Schreibtisch abgelegt</translation>
    </message>
    <message>
        <source>No recognized printer found, the report will only contain log files.</source>
        <extracomment>Message box during a run when no printer of the maker is connected over USB; the run goes on and the report holds the log files only.</extracomment>
        <translation>Kein erkannter Drucker gefunden; der Bericht enthält nur die Protokolldateien.</translation>
    </message>
    <message>
        <source>An unexpected error occured, no report was made</source>
        <extracomment>Message box ending a run with a failure the tool did not foresee (memory exhausted, a library fault). The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Ein unerwarteter Fehler ist aufgetreten; es wurde kein Bericht erstellt</translation>
    </message>
</context>
</TS>
