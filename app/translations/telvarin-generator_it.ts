<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>No file manager could open the folder. The report is in %1</source>
        <extracomment>Under the report&apos;s file name, when neither the file manager nor the desktop&apos;s own opener could show the report&apos;s folder. %1 is the folder.</extracomment>
        <translation>Nessun gestore di file è riuscito ad aprire la cartella. Il rapporto si trova in %1</translation>
    </message>
    <message>
        <source>Report placed</source>
        <extracomment>Title of the desktop notification when a report was placed while the window was in the background; the text under it says where.</extracomment>
        <translation>Rapporto salvato</translation>
    </message>
    <message>
        <source>The report failed</source>
        <extracomment>Title of the desktop notification when a report ended in a failure while the window was in the background; the text under it is the failure&apos;s message.</extracomment>
        <translation>Rapporto non riuscito</translation>
    </message>
    <message>
        <source>Making the report…</source>
        <extracomment>Under the progress bar while a report is being made.</extracomment>
        <translation>Creazione del rapporto…</translation>
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
        <translation>Uso: %1 [--help | --version]

Apre la finestra di Telvarin Generator. Un clic su «Genera rapporto» raccoglie
in un file zip sulla sua Scrivania tutto ciò che serve all&apos;assistenza Quorvel:
i registri e le impostazioni della stampante, un rapporto letto dalla
stampante tramite USB e informazioni su questo computer.

Opzioni:
  --help     mostra questo aiuto ed esce
  --version  mostra la versione ed esce

Senza finestra, telvarin-report crea lo stesso rapporto.
</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>One press gathers what Quorvel support needs into a single zip file: the printer&apos;s logs and settings, a report read from the printer over USB, and facts about this computer. The file is placed on your desktop; send it to Quorvel support.</source>
        <extracomment>The window&apos;s introduction, above its one button. &quot;Quorvel&quot; is the printer maker&apos;s name.</extracomment>
        <translation>Con un solo clic si raccoglie in un unico file zip tutto ciò che serve all&apos;assistenza Quorvel: i registri e le impostazioni della stampante, un rapporto letto dalla stampante tramite USB e informazioni su questo computer. Il file viene salvato sulla sua Scrivania; lo invii all&apos;assistenza Quorvel.</translation>
    </message>
    <message>
        <source>&amp;Generate Report</source>
        <extracomment>The window&apos;s one button; it starts a report. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Genera rapporto</translation>
    </message>
    <message>
        <source>Report progress</source>
        <extracomment>What a screen reader calls the progress bar under the button.</extracomment>
        <translation>Avanzamento del rapporto</translation>
    </message>
    <message>
        <source>Report file:</source>
        <extracomment>After a report was placed: before the report&apos;s file name, beside the Open Folder button.</extracomment>
        <translation>File del rapporto:</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <extracomment>After a report was placed: shows the report in the file manager. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Apri cartella</translation>
    </message>
</context>
<context>
    <name>MessageWording</name>
    <message>
        <source>An error occured while trying to read a file</source>
        <extracomment>Message box ending a run: a file the report lists exists but could not be read. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Si è verificato un errore durante la lettura di un file</translation>
    </message>
    <message>
        <source>Could not find data.xml</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is missing or unreadable. Keep the file name data.xml as it is.</extracomment>
        <translation>Impossibile trovare data.xml</translation>
    </message>
    <message>
        <source>Could not parse data.xml (error code %1)</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is faulty. Keep data.xml as it is; %1 is the error code (6 to 9).</extracomment>
        <translation>Impossibile analizzare data.xml (codice di errore %1)</translation>
    </message>
    <message>
        <source>An error occured while trying to communicate with the printer</source>
        <extracomment>Message box ending a run: talking to the printer over USB failed. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Si è verificato un errore durante la comunicazione con la stampante</translation>
    </message>
    <message>
        <source>Could not find driver directory</source>
        <extracomment>Message box ending a run: the folder of the maker&apos;s printer drivers is missing.</extracomment>
        <translation>Impossibile trovare la cartella dei driver</translation>
    </message>
    <message>
        <source>Could not write the checksum file beside the report</source>
        <extracomment>Message ending a run that was asked for a checksum file (SHA-256) beside the report, which could not be written.</extracomment>
        <translation>Impossibile scrivere il file di checksum accanto al rapporto</translation>
    </message>
    <message>
        <source>Error code %1 occured</source>
        <extracomment>Message box ending a run with a failure that has no sentence of its own; %1 is its number, which support asks for. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Si è verificato un errore (codice di errore %1)</translation>
    </message>
    <message>
        <source>A report has been placed on the desktop</source>
        <extracomment>Message box after a run that placed the report on the user&apos;s desktop.</extracomment>
        <translation>Un rapporto è stato salvato sulla Scrivania</translation>
    </message>
    <message>
        <source>No recognized printer found, the report will only contain log files.</source>
        <extracomment>Message box during a run when no printer of the maker is connected over USB; the run goes on and the report holds the log files only.</extracomment>
        <translation>Nessuna stampante riconosciuta; il rapporto conterrà solo i file di registro.</translation>
    </message>
    <message>
        <source>An unexpected error occured, no report was made</source>
        <extracomment>Message box ending a run with a failure the tool did not foresee (memory exhausted, a library fault). The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Si è verificato un errore imprevisto; non è stato creato alcun rapporto</translation>
    </message>
</context>
</TS>
