<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
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

Abre la ventana de Telvarin Generator. Al pulsar «Generar informe» se reúne
en un archivo zip en su Escritorio todo lo que necesita el soporte técnico de
Quorvel: los registros y la configuración de la impresora, un informe leído de
la impresora por USB y datos sobre este equipo.

Opciones:
  --help     muestra esta ayuda y sale
  --version  muestra la versión y sale

Sin ventana, telvarin-report crea el mismo informe.
</translation>
    </message>
</context>
<context>
    <name>FailureExplanation</name>
    <message>
        <source>The file “%1” could not be read</source>
        <extracomment>Under &quot;An error occured while trying to read a file&quot;. %1 is the file.</extracomment>
        <translation>No se ha podido leer el archivo «%1»</translation>
    </message>
    <message>
        <source>Check that you may read it, then try again.</source>
        <extracomment>What the user can do when a file to collect could not be read.</extracomment>
        <translation>Compruebe que tiene permiso para leerlo y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The report cannot be written in the folder “%1”</source>
        <extracomment>Under &quot;Error code 15 occured&quot; when the report could not be made in a folder. %1 is the folder.</extracomment>
        <translation>No se puede escribir el informe en la carpeta «%1»</translation>
    </message>
    <message>
        <source>Check that the folder exists and that you may write in it.</source>
        <extracomment>What the user can do when the report&apos;s folder cannot be written.</extracomment>
        <translation>Compruebe que la carpeta existe y que tiene permiso para escribir en ella.</translation>
    </message>
    <message>
        <source>Writing the report in the folder “%1” failed</source>
        <extracomment>Under &quot;Error code 15 occured&quot; when writing the report failed part-way. %1 is the folder.</extracomment>
        <translation>No se ha podido escribir el informe en la carpeta «%1»</translation>
    </message>
    <message>
        <source>Check that the disk has room and is still connected, then try again.</source>
        <extracomment>What the user can do when writing the report failed part-way (a full or removed disk).</extracomment>
        <translation>Compruebe que el disco tiene espacio libre y sigue conectado, y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The report could not be saved as “%1”</source>
        <extracomment>Under &quot;Error code 15 occured&quot; when the finished report could not take its name. %1 is its path.</extracomment>
        <translation>No se ha podido guardar el informe como «%1»</translation>
    </message>
    <message>
        <source>Check that the folder still exists and that nothing else has that name, then try again.</source>
        <extracomment>What the user can do when the finished report could not take its name.</extracomment>
        <translation>Compruebe que la carpeta sigue existiendo y que no haya ningún otro elemento con ese nombre, y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The checksum file “%1” could not be written</source>
        <extracomment>Under &quot;Could not write the checksum file beside the report&quot;. %1 is the checksum file.</extracomment>
        <translation>No se ha podido escribir el archivo de suma de comprobación «%1»</translation>
    </message>
    <message>
        <source>The report itself was placed; check that you may write in its folder.</source>
        <extracomment>When only the checksum file beside a placed report could not be written.</extracomment>
        <translation>El informe en sí se ha guardado; compruebe que tiene permiso para escribir en su carpeta.</translation>
    </message>
    <message>
        <source>Reinstall the Telvarin Generator.</source>
        <extracomment>What the user can do when the tool&apos;s own list of files to collect is missing or damaged.</extracomment>
        <translation>Vuelva a instalar Telvarin Generator.</translation>
    </message>
    <message>
        <source>No list of the files to collect (data.xml) is installed.</source>
        <extracomment>Under &quot;Could not find data.xml&quot; when the tool&apos;s list of files to collect is not installed.</extracomment>
        <translation>No hay instalada ninguna lista de los archivos que se deben reunir (data.xml).</translation>
    </message>
    <message>
        <source>The list of the files to collect “%1” is not a valid file list.</source>
        <extracomment>Under &quot;Could not find data.xml&quot; when the list was read but is damaged. %1 is its path.</extracomment>
        <translation>La lista de los archivos que se deben reunir «%1» no es una lista de archivos válida.</translation>
    </message>
    <message>
        <source>The list of the files to collect “%1” could not be read</source>
        <extracomment>Under &quot;Could not find data.xml&quot; when the list of files to collect cannot be read. %1 is its path.</extracomment>
        <translation>No se ha podido leer la lista de los archivos que se deben reunir «%1»</translation>
    </message>
    <message>
        <source>The folder of the Quorvel printer drivers “%1” could not be read</source>
        <extracomment>Under &quot;Could not find driver directory&quot;. %1 is the folder; &quot;Quorvel&quot; is the printer maker.</extracomment>
        <translation>No se ha podido leer la carpeta de los controladores de impresora Quorvel «%1»</translation>
    </message>
    <message>
        <source>Install the Quorvel printer driver, then try again.</source>
        <extracomment>What the user can do when the printer driver&apos;s folder is missing.</extracomment>
        <translation>Instale el controlador de impresora Quorvel y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The applications folder “%1” could not be read</source>
        <extracomment>Under &quot;Error code 11 occured&quot;. %1 is the applications folder.</extracomment>
        <translation>No se ha podido leer la carpeta de aplicaciones «%1»</translation>
    </message>
    <message>
        <source>Check that it exists and that you may read it.</source>
        <extracomment>What the user can do when the applications folder cannot be read.</extracomment>
        <translation>Compruebe que existe y que tiene permiso para leerla.</translation>
    </message>
    <message>
        <source>The printer was found on USB but could not be opened.</source>
        <extracomment>Under &quot;An error occured while trying to communicate with the printer&quot; when the printer could not be opened.</extracomment>
        <translation>Se ha encontrado la impresora por USB, pero no se ha podido abrir.</translation>
    </message>
    <message>
        <source>Close any other program that uses it, then try again.</source>
        <extracomment>What the user can do when the printer could not be opened.</extracomment>
        <translation>Cierre cualquier otro programa que la esté usando y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The printer stopped answering.</source>
        <extracomment>Under &quot;An error occured while trying to communicate with the printer&quot; when it stopped answering.</extracomment>
        <translation>La impresora ha dejado de responder.</translation>
    </message>
    <message>
        <source>Connect the printer with its USB cable and switch it on, then try again.</source>
        <extracomment>What the user can do when the printer stopped answering.</extracomment>
        <translation>Conecte la impresora con su cable USB, enciéndala y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>%1.</source>
        <extracomment>What failed (%1) when the system gave no reason: the sentence&apos;s end.</extracomment>
        <translation>%1.</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <extracomment>What failed (%1) and the system&apos;s reason for it (%2), such as &quot;Permission denied&quot;.</extracomment>
        <translation>%1: %2.</translation>
    </message>
    <message>
        <source>What was gathered until then is in the partial report “%1”.</source>
        <extracomment>After a failure that left a valid zip file of what it had gathered. %1 is its path or name.</extracomment>
        <translation>Lo reunido hasta entonces está en el informe parcial «%1».</translation>
    </message>
    <message>
        <source>The USB devices of this computer could not be listed</source>
        <extracomment>Under &quot;Error code -99 occured&quot; (or another negative code) when the system&apos;s USB layer could not start.</extracomment>
        <translation>No se han podido enumerar los dispositivos USB de este equipo</translation>
    </message>
    <message>
        <source>Close programs you do not need, or raise the limits on open files and processes, then try again.</source>
        <extracomment>What the user can do when the USB layer could not start (too many open files or processes).</extracomment>
        <translation>Cierre los programas que no necesite o aumente los límites de archivos abiertos y de procesos, y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The facts about this computer could not be read from “%1”</source>
        <extracomment>Under &quot;Error code 10 occured&quot;. %1 is a system file such as /proc/meminfo.</extracomment>
        <translation>No se han podido leer los datos de este equipo de «%1»</translation>
    </message>
    <message>
        <source>Check that /proc and /sys are mounted and readable, then try again.</source>
        <extracomment>What the user can do when the system&apos;s /proc or /sys files cannot be read. Keep /proc and /sys.</extracomment>
        <translation>Compruebe que /proc y /sys están montados y se pueden leer, y vuelva a intentarlo.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>One press gathers what Quorvel support needs into a single zip file: the printer&apos;s logs and settings, a report read from the printer over USB, and facts about this computer. The file is placed on your desktop; send it to Quorvel support.</source>
        <extracomment>The window&apos;s introduction, above its one button. &quot;Quorvel&quot; is the printer maker&apos;s name.</extracomment>
        <translation>Con una sola pulsación se reúne en un único archivo zip todo lo que necesita el soporte técnico de Quorvel: los registros y la configuración de la impresora, un informe leído de la impresora por USB y datos sobre este equipo. El archivo se guarda en su Escritorio; envíelo al soporte técnico de Quorvel.</translation>
    </message>
    <message>
        <source>&amp;Generate Report</source>
        <extracomment>The window&apos;s one button; it starts a report. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Generar informe</translation>
    </message>
    <message>
        <source>Report progress</source>
        <extracomment>What a screen reader calls the progress bar under the button.</extracomment>
        <translation>Progreso del informe</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <extracomment>Beside the progress bar while a report is being made: stops it. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
<context>
    <name>MessageWording</name>
    <message>
        <source>An error occured while trying to read a file</source>
        <extracomment>Message box ending a run: a file the report lists exists but could not be read. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Se ha producido un error al intentar leer un archivo</translation>
    </message>
    <message>
        <source>Could not find data.xml</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is missing or unreadable. Keep the file name data.xml as it is.</extracomment>
        <translation>No se ha encontrado data.xml</translation>
    </message>
    <message>
        <source>Could not parse data.xml (error code %1)</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is faulty. Keep data.xml as it is; %1 is the error code (6 to 9).</extracomment>
        <translation>No se ha podido analizar data.xml (código de error %1)</translation>
    </message>
    <message>
        <source>An error occured while trying to communicate with the printer</source>
        <extracomment>Message box ending a run: talking to the printer over USB failed. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Se ha producido un error al intentar comunicarse con la impresora</translation>
    </message>
    <message>
        <source>Could not find driver directory</source>
        <extracomment>Message box ending a run: the folder of the maker&apos;s printer drivers is missing.</extracomment>
        <translation>No se ha encontrado la carpeta de controladores</translation>
    </message>
    <message>
        <source>Could not write the checksum file beside the report</source>
        <extracomment>Message ending a run that was asked for a checksum file (SHA-256) beside the report, which could not be written.</extracomment>
        <translation>No se ha podido escribir el archivo de suma de comprobación junto al informe</translation>
    </message>
    <message>
        <source>Error code %1 occured</source>
        <extracomment>Message box ending a run with a failure that has no sentence of its own; %1 is its number, which support asks for. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Se ha producido un error (código de error %1)</translation>
    </message>
    <message>
        <source>A report has been placed on the desktop</source>
        <extracomment>Message box after a run that placed the report on the user&apos;s desktop.</extracomment>
        <translation>Se ha guardado un informe en el Escritorio</translation>
    </message>
    <message>
        <source>No recognized printer found, the report will only contain log files.</source>
        <extracomment>Message box during a run when no printer of the maker is connected over USB; the run goes on and the report holds the log files only.</extracomment>
        <translation>No se ha encontrado ninguna impresora reconocida; el informe solo contendrá los archivos de registro.</translation>
    </message>
    <message>
        <source>An unexpected error occured, no report was made</source>
        <extracomment>Message box ending a run with a failure the tool did not foresee (memory exhausted, a library fault). The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>Se ha producido un error inesperado; no se ha creado ningún informe</translation>
    </message>
</context>
<context>
    <name>PlacedReportRow</name>
    <message>
        <source>&amp;Open Folder</source>
        <extracomment>After a report was placed: shows the report in the file manager. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Abrir carpeta</translation>
    </message>
    <message>
        <source>Report file:</source>
        <extracomment>Before the report&apos;s file name, beside the Open Folder button.</extracomment>
        <translation>Archivo del informe:</translation>
    </message>
    <message>
        <source>Partial report:</source>
        <extracomment>Before the file name of what a failed run had gathered until it failed (a valid zip file), beside the Open Folder button.</extracomment>
        <translation>Informe parcial:</translation>
    </message>
    <message>
        <source>The file “%1” was moved or deleted.</source>
        <extracomment>Under the report&apos;s file name, when Open Folder or Email to Support finds the report (%1, its file name) gone.</extracomment>
        <translation>El archivo «%1» se ha movido o eliminado.</translation>
    </message>
    <message>
        <source>No file manager could open the folder. The report is in “%1”.</source>
        <extracomment>Under the report&apos;s file name, when neither the file manager nor the desktop&apos;s own opener could show the report&apos;s folder. %1 is the folder.</extracomment>
        <translation>Ningún gestor de archivos ha podido abrir la carpeta. El informe está en «%1».</translation>
    </message>
</context>
<context>
    <name>ReportContents</name>
    <message>
        <source>%1 (%2 bytes)</source>
        <extracomment>A report&apos;s entry size in a tool tip and for a screen reader: %1 is it in the user&apos;s units (12.3 kB), %2 in bytes.</extracomment>
        <translation>%1 (%2 bytes)</translation>
    </message>
    <message>
        <source>File</source>
        <extracomment>Column heading of the list of a report&apos;s files: each one&apos;s name in the zip file.</extracomment>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>Column heading of the list of a report&apos;s files: each one&apos;s size.</extracomment>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>&amp;Show contents</source>
        <extracomment>Under the report&apos;s file name: opens the list of the files in the report. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Mostrar contenido</translation>
    </message>
    <message>
        <source>Files in the report</source>
        <extracomment>What a screen reader calls the list of the files in the report.</extracomment>
        <translation>Archivos del informe</translation>
    </message>
</context>
<context>
    <name>RunNotifier</name>
    <message>
        <source>The report waits for your answer</source>
        <extracomment>Title of the desktop notification while a message in the window waits for an answer during a run and the window is in the background; the text under it is the message.</extracomment>
        <translation>El informe espera su respuesta</translation>
    </message>
    <message>
        <source>Report placed</source>
        <extracomment>Title of the desktop notification when a report was placed while the window was in the background; the text under it names the report.</extracomment>
        <translation>Informe guardado</translation>
    </message>
    <message>
        <source>The report failed</source>
        <extracomment>Title of the desktop notification when a report ended in a failure while the window was in the background; the text under it says what failed.</extracomment>
        <translation>No se ha podido crear el informe</translation>
    </message>
    <message>
        <source>Show the Window</source>
        <extracomment>What clicking the desktop notification does (some desktops show it): brings the tool&apos;s window to the front.</extracomment>
        <translation>Mostrar la ventana</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <extracomment>A button in the desktop notification after a run: shows the report in the file manager.</extracomment>
        <translation>Abrir carpeta</translation>
    </message>
    <message>
        <source>The report “%1” was placed on the desktop.</source>
        <extracomment>In the desktop notification when a report was placed. %1 is its file name.</extracomment>
        <translation>Se ha guardado el informe «%1» en el Escritorio.</translation>
    </message>
    <message>
        <source>The report failed: %1.</source>
        <extracomment>In the desktop notification after a failure. %1 is the failure&apos;s message (the sentence of its box).</extracomment>
        <translation>No se ha podido crear el informe: %1.</translation>
    </message>
</context>
<context>
    <name>RunStatusLine</name>
    <message>
        <source>Making the report…</source>
        <extracomment>Under the progress bar while a report is being made.</extracomment>
        <translation>Creando el informe…</translation>
    </message>
    <message>
        <source>Reading the printer&apos;s report…</source>
        <extracomment>Under the progress bar while the printer&apos;s report is read over USB.</extracomment>
        <translation>Leyendo el informe de la impresora…</translation>
    </message>
    <message>
        <source>Gathering facts about this computer…</source>
        <extracomment>Under the progress bar while the facts about the computer are gathered.</extracomment>
        <translation>Reuniendo datos sobre este equipo…</translation>
    </message>
    <message>
        <source>Finishing the report…</source>
        <extracomment>Under the progress bar while the report&apos;s file is written to its end and named.</extracomment>
        <translation>Terminando el informe…</translation>
    </message>
    <message>
        <source>The report was cancelled.</source>
        <extracomment>Under the progress bar once a report was cancelled; nothing was left behind.</extracomment>
        <translation>Se ha cancelado el informe.</translation>
    </message>
    <message>
        <source>Cancelling the report…</source>
        <extracomment>Under the progress bar once Cancel was pressed, until the report has stopped.</extracomment>
        <translation>Cancelando el informe…</translation>
    </message>
    <message>
        <source>Copying “%1”…</source>
        <extracomment>Under the progress bar while a file is copied into the report. %1 is the file&apos;s path.</extracomment>
        <translation>Copiando «%1»…</translation>
    </message>
    <message>
        <source>The report failed: %1.</source>
        <extracomment>Where the progress bar was, after a failure. %1 is the failure&apos;s message (the sentence of its box).</extracomment>
        <translation>No se ha podido crear el informe: %1.</translation>
    </message>
    <message>
        <source>The report was placed on the desktop.</source>
        <extracomment>Under the full progress bar once a report was placed; its file name shows under this line.</extracomment>
        <translation>Se ha guardado el informe en el Escritorio.</translation>
    </message>
    <message>
        <source>The report failed: %1. A partial report was saved.</source>
        <extracomment>Where the progress bar was, after a failure that left a valid zip file of what it had gathered, whose name shows under this line. %1 is the failure&apos;s message (the sentence of its box).</extracomment>
        <translation>No se ha podido crear el informe: %1. Se ha guardado un informe parcial.</translation>
    </message>
</context>
<context>
    <name>SupportMailing</name>
    <message>
        <source>&amp;Email to Support…</source>
        <extracomment>Beside the report&apos;s file name: opens a new mail to the printer maker&apos;s support with the report attached. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Enviar al soporte por correo…</translation>
    </message>
    <message>
        <source>Hello,

attached is the Telvarin Generator report “%1”, made with version %2.

What happened:

</source>
        <extracomment>The text of the mail to support; the user adds to it before sending. %1 is the report&apos;s file name, %2 the tool&apos;s version.</extracomment>
        <translation>Hola:

Adjunto el informe de Telvarin Generator «%1», creado con la versión %2.

Qué ha ocurrido:

</translation>
    </message>
    <message>
        <source>%1 (partial report: %2)</source>
        <extracomment>The subject of the mail to support when the report is partial: %1 is the subject the maker chose, %2 the message the failed run ended with (in English, as support knows it).</extracomment>
        <translation>%1 (informe parcial: %2)</translation>
    </message>
    <message>
        <source>Hello,

attached is a partial Telvarin Generator report “%1”, made with version %2. The report ended with the message “%3”.

What happened:

</source>
        <extracomment>The text of the mail to support when the report is partial; the user adds to it before sending. %1 is the report&apos;s file name, %2 the tool&apos;s version, %3 the message the failed run ended with (in English, as support knows it).</extracomment>
        <translation>Hola:

Adjunto un informe parcial de Telvarin Generator «%1», creado con la versión %2. El informe terminó con el mensaje «%3».

Qué ha ocurrido:

</translation>
    </message>
    <message>
        <source>Opening your mail program…</source>
        <extracomment>Under the report&apos;s file name while the desktop opens the user&apos;s mail program.</extracomment>
        <translation>Se está abriendo el programa de correo…</translation>
    </message>
    <message>
        <source>Your mail program shows a new message to %1 with the report attached. Check it, then send it.</source>
        <extracomment>Under the report&apos;s file name once the user&apos;s mail program shows the new mail. %1 is the support address.</extracomment>
        <translation>El programa de correo muestra un mensaje nuevo para %1 con el informe adjunto. Revíselo y, a continuación, envíelo.</translation>
    </message>
    <message>
        <source>No mail program could be opened. Send the report to %1 yourself, with the file “%2” attached.</source>
        <extracomment>Under the report&apos;s file name when no mail program could be opened. %1 is the support address, %2 the report&apos;s whole path.</extracomment>
        <translation>No se ha podido abrir ningún programa de correo. Envíe usted mismo el informe a %1, con el archivo «%2» adjunto.</translation>
    </message>
</context>
<context>
    <name>util</name>
    <message>
        <source>A report is being made. Cancel it and close the window?</source>
        <extracomment>Asked when the window is closed while a report is being made.</extracomment>
        <translation>Se está creando un informe. ¿Desea cancelarlo y cerrar la ventana?</translation>
    </message>
    <message>
        <source>&amp;Stop and Close</source>
        <extracomment>In the question asked when the window is closed during a run: stops the run and closes the window. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Detener y cerrar</translation>
    </message>
    <message>
        <source>&amp;Keep Running</source>
        <extracomment>In the question asked when the window is closed during a run: lets the run go on. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>&amp;Continuar</translation>
    </message>
</context>
</TS>
