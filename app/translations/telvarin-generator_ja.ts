<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>No file manager could open the folder. The report is in %1</source>
        <extracomment>Under the report&apos;s file name, when neither the file manager nor the desktop&apos;s own opener could show the report&apos;s folder. %1 is the folder.</extracomment>
        <translation>ファイルマネージャーでフォルダーを開けませんでした。レポートは %1 にあります</translation>
    </message>
    <message>
        <source>Report placed</source>
        <extracomment>Title of the desktop notification when a report was placed while the window was in the background; the text under it says where.</extracomment>
        <translation>レポートを保存しました</translation>
    </message>
    <message>
        <source>The report failed</source>
        <extracomment>Title of the desktop notification when a report ended in a failure while the window was in the background; the text under it is the failure&apos;s message.</extracomment>
        <translation>レポートを作成できませんでした</translation>
    </message>
    <message>
        <source>Making the report…</source>
        <extracomment>Under the progress bar while a report is being made.</extracomment>
        <translation>レポートを作成しています…</translation>
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
        <translation>使い方: %1 [--help | --version]

Telvarin Generator のウィンドウを開きます。「レポートを作成」を押すと、
Quorvel サポートが必要とする情報を 1 つの zip ファイルにまとめて
デスクトップに保存します。内容はプリンターのログと設定、USB 経由で
プリンターから読み取ったレポート、このコンピューターの情報です。

オプション:
  --help     このヘルプを表示して終了します
  --version  バージョンを表示して終了します

ウィンドウを使わずに同じレポートを作成するには telvarin-report を使います。
</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>One press gathers what Quorvel support needs into a single zip file: the printer&apos;s logs and settings, a report read from the printer over USB, and facts about this computer. The file is placed on your desktop; send it to Quorvel support.</source>
        <extracomment>The window&apos;s introduction, above its one button. &quot;Quorvel&quot; is the printer maker&apos;s name.</extracomment>
        <translation>ボタンを 1 回押すだけで、Quorvel サポートが必要とする情報を 1 つの zip ファイルにまとめます。内容はプリンターのログと設定、USB 経由でプリンターから読み取ったレポート、このコンピューターの情報です。ファイルはデスクトップに保存されます。Quorvel サポートに送信してください。</translation>
    </message>
    <message>
        <source>&amp;Generate Report</source>
        <extracomment>The window&apos;s one button; it starts a report. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>レポートを作成(&amp;G)</translation>
    </message>
    <message>
        <source>Report progress</source>
        <extracomment>What a screen reader calls the progress bar under the button.</extracomment>
        <translation>レポートの進行状況</translation>
    </message>
    <message>
        <source>Report file:</source>
        <extracomment>After a report was placed: before the report&apos;s file name, beside the Open Folder button.</extracomment>
        <translation>レポートファイル:</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <extracomment>After a report was placed: shows the report in the file manager. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>フォルダーを開く(&amp;O)</translation>
    </message>
</context>
<context>
    <name>MessageWording</name>
    <message>
        <source>An error occured while trying to read a file</source>
        <extracomment>Message box ending a run: a file the report lists exists but could not be read. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>ファイルの読み取り中にエラーが発生しました</translation>
    </message>
    <message>
        <source>Could not find data.xml</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is missing or unreadable. Keep the file name data.xml as it is.</extracomment>
        <translation>data.xml が見つかりません</translation>
    </message>
    <message>
        <source>Could not parse data.xml (error code %1)</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is faulty. Keep data.xml as it is; %1 is the error code (6 to 9).</extracomment>
        <translation>data.xml を解析できませんでした (エラーコード %1)</translation>
    </message>
    <message>
        <source>An error occured while trying to communicate with the printer</source>
        <extracomment>Message box ending a run: talking to the printer over USB failed. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>プリンターとの通信中にエラーが発生しました</translation>
    </message>
    <message>
        <source>Could not find driver directory</source>
        <extracomment>Message box ending a run: the folder of the maker&apos;s printer drivers is missing.</extracomment>
        <translation>ドライバーのフォルダーが見つかりません</translation>
    </message>
    <message>
        <source>Could not write the checksum file beside the report</source>
        <extracomment>Message ending a run that was asked for a checksum file (SHA-256) beside the report, which could not be written.</extracomment>
        <translation>レポートと同じ場所にチェックサムファイルを書き込めませんでした</translation>
    </message>
    <message>
        <source>Error code %1 occured</source>
        <extracomment>Message box ending a run with a failure that has no sentence of its own; %1 is its number, which support asks for. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>エラーが発生しました (エラーコード %1)</translation>
    </message>
    <message>
        <source>A report has been placed on the desktop</source>
        <extracomment>Message box after a run that placed the report on the user&apos;s desktop.</extracomment>
        <translation>レポートをデスクトップに保存しました</translation>
    </message>
    <message>
        <source>No recognized printer found, the report will only contain log files.</source>
        <extracomment>Message box during a run when no printer of the maker is connected over USB; the run goes on and the report holds the log files only.</extracomment>
        <translation>対応するプリンターが見つかりません。レポートにはログファイルのみが含まれます。</translation>
    </message>
    <message>
        <source>An unexpected error occured, no report was made</source>
        <extracomment>Message box ending a run with a failure the tool did not foresee (memory exhausted, a library fault). The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>予期しないエラーが発生しました。レポートは作成されませんでした</translation>
    </message>
</context>
</TS>
