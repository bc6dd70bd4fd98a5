<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP" sourcelanguage="en">
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
    <name>FailureExplanation</name>
    <message>
        <source>The file “%1” could not be read</source>
        <extracomment>Under &quot;An error occured while trying to read a file&quot;. %1 is the file.</extracomment>
        <translation>ファイル「%1」を読み取れませんでした</translation>
    </message>
    <message>
        <source>Check that you may read it, then try again.</source>
        <extracomment>What the user can do when a file to collect could not be read.</extracomment>
        <translation>読み取り権限があるか確認してから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The report cannot be written in the folder “%1”</source>
        <extracomment>Under &quot;Error code 15 occured&quot; when the report could not be made in a folder. %1 is the folder.</extracomment>
        <translation>フォルダー「%1」にレポートを書き込めません</translation>
    </message>
    <message>
        <source>Check that the folder exists and that you may write in it.</source>
        <extracomment>What the user can do when the report&apos;s folder cannot be written.</extracomment>
        <translation>フォルダーが存在し、書き込み権限があるか確認してください。</translation>
    </message>
    <message>
        <source>Writing the report in the folder “%1” failed</source>
        <extracomment>Under &quot;Error code 15 occured&quot; when writing the report failed part-way. %1 is the folder.</extracomment>
        <translation>フォルダー「%1」へのレポートの書き込みに失敗しました</translation>
    </message>
    <message>
        <source>Check that the disk has room and is still connected, then try again.</source>
        <extracomment>What the user can do when writing the report failed part-way (a full or removed disk).</extracomment>
        <translation>ディスクに空き容量があり、接続されたままになっているか確認してから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The report could not be saved as “%1”</source>
        <extracomment>Under &quot;Error code 15 occured&quot; when the finished report could not take its name. %1 is its path.</extracomment>
        <translation>レポートを「%1」として保存できませんでした</translation>
    </message>
    <message>
        <source>Check that the folder still exists and that nothing else has that name, then try again.</source>
        <extracomment>What the user can do when the finished report could not take its name.</extracomment>
        <translation>フォルダーがまだ存在し、同じ名前のものがほかにないか確認してから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The checksum file “%1” could not be written</source>
        <extracomment>Under &quot;Could not write the checksum file beside the report&quot;. %1 is the checksum file.</extracomment>
        <translation>チェックサムファイル「%1」を書き込めませんでした</translation>
    </message>
    <message>
        <source>The report itself was placed; check that you may write in its folder.</source>
        <extracomment>When only the checksum file beside a placed report could not be written.</extracomment>
        <translation>レポート自体は保存されました。そのフォルダーへの書き込み権限があるか確認してください。</translation>
    </message>
    <message>
        <source>Reinstall the Telvarin Generator.</source>
        <extracomment>What the user can do when the tool&apos;s own list of files to collect is missing or damaged.</extracomment>
        <translation>Telvarin Generator を再インストールしてください。</translation>
    </message>
    <message>
        <source>No list of the files to collect (data.xml) is installed.</source>
        <extracomment>Under &quot;Could not find data.xml&quot; when the tool&apos;s list of files to collect is not installed.</extracomment>
        <translation>収集するファイルの一覧 (data.xml) がインストールされていません。</translation>
    </message>
    <message>
        <source>The list of the files to collect “%1” is not a valid file list.</source>
        <extracomment>Under &quot;Could not find data.xml&quot; when the list was read but is damaged. %1 is its path.</extracomment>
        <translation>収集するファイルの一覧「%1」は有効なファイル一覧ではありません。</translation>
    </message>
    <message>
        <source>The list of the files to collect “%1” could not be read</source>
        <extracomment>Under &quot;Could not find data.xml&quot; when the list of files to collect cannot be read. %1 is its path.</extracomment>
        <translation>収集するファイルの一覧「%1」を読み取れませんでした</translation>
    </message>
    <message>
        <source>The folder of the Quorvel printer drivers “%1” could not be read</source>
        <extracomment>Under &quot;Could not find driver directory&quot;. %1 is the folder; &quot;Quorvel&quot; is the printer maker.</extracomment>
        <translation>Quorvel プリンタードライバーのフォルダー「%1」を読み取れませんでした</translation>
    </message>
    <message>
        <source>Install the Quorvel printer driver, then try again.</source>
        <extracomment>What the user can do when the printer driver&apos;s folder is missing.</extracomment>
        <translation>Quorvel プリンタードライバーをインストールしてから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The applications folder “%1” could not be read</source>
        <extracomment>Under &quot;Error code 11 occured&quot;. %1 is the applications folder.</extracomment>
        <translation>アプリケーションフォルダー「%1」を読み取れませんでした</translation>
    </message>
    <message>
        <source>Check that it exists and that you may read it.</source>
        <extracomment>What the user can do when the applications folder cannot be read.</extracomment>
        <translation>フォルダーが存在し、読み取り権限があるか確認してください。</translation>
    </message>
    <message>
        <source>The printer was found on USB but could not be opened.</source>
        <extracomment>Under &quot;An error occured while trying to communicate with the printer&quot; when the printer could not be opened.</extracomment>
        <translation>USB でプリンターが見つかりましたが、開けませんでした。</translation>
    </message>
    <message>
        <source>Close any other program that uses it, then try again.</source>
        <extracomment>What the user can do when the printer could not be opened.</extracomment>
        <translation>プリンターを使用しているほかのプログラムを閉じてから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The printer stopped answering.</source>
        <extracomment>Under &quot;An error occured while trying to communicate with the printer&quot; when it stopped answering.</extracomment>
        <translation>プリンターが応答しなくなりました。</translation>
    </message>
    <message>
        <source>Connect the printer with its USB cable and switch it on, then try again.</source>
        <extracomment>What the user can do when the printer stopped answering.</extracomment>
        <translation>USB ケーブルでプリンターを接続して電源を入れてから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>%1.</source>
        <extracomment>What failed (%1) when the system gave no reason: the sentence&apos;s end.</extracomment>
        <translation>%1。</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <extracomment>What failed (%1) and the system&apos;s reason for it (%2), such as &quot;Permission denied&quot;.</extracomment>
        <translation>%1: %2。</translation>
    </message>
    <message>
        <source>What was gathered until then is in the partial report “%1”.</source>
        <extracomment>After a failure that left a valid zip file of what it had gathered. %1 is its path or name.</extracomment>
        <translation>それまでに収集した内容は部分レポート「%1」にあります。</translation>
    </message>
    <message>
        <source>The USB devices of this computer could not be listed</source>
        <extracomment>Under &quot;Error code -99 occured&quot; (or another negative code) when the system&apos;s USB layer could not start.</extracomment>
        <translation>このコンピューターの USB デバイスを一覧表示できませんでした</translation>
    </message>
    <message>
        <source>Close programs you do not need, or raise the limits on open files and processes, then try again.</source>
        <extracomment>What the user can do when the USB layer could not start (too many open files or processes).</extracomment>
        <translation>不要なプログラムを閉じるか、開いているファイル数とプロセス数の上限を引き上げてから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The facts about this computer could not be read from “%1”</source>
        <extracomment>Under &quot;Error code 10 occured&quot;. %1 is a system file such as /proc/meminfo.</extracomment>
        <translation>このコンピューターの情報を「%1」から読み取れませんでした</translation>
    </message>
    <message>
        <source>Check that /proc and /sys are mounted and readable, then try again.</source>
        <extracomment>What the user can do when the system&apos;s /proc or /sys files cannot be read. Keep /proc and /sys.</extracomment>
        <translation>/proc と /sys がマウントされ、読み取り可能であることを確認してから、もう一度お試しください。</translation>
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
        <source>&amp;Cancel</source>
        <extracomment>Beside the progress bar while a report is being made: stops it. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>キャンセル(&amp;C)</translation>
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
<context>
    <name>PlacedReportRow</name>
    <message>
        <source>&amp;Open Folder</source>
        <extracomment>After a report was placed: shows the report in the file manager. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>フォルダーを開く(&amp;O)</translation>
    </message>
    <message>
        <source>Report file:</source>
        <extracomment>Before the report&apos;s file name, beside the Open Folder button.</extracomment>
        <translation>レポートファイル:</translation>
    </message>
    <message>
        <source>Partial report:</source>
        <extracomment>Before the file name of what a failed run had gathered until it failed (a valid zip file), beside the Open Folder button.</extracomment>
        <translation>部分レポート:</translation>
    </message>
    <message>
        <source>The file “%1” was moved or deleted.</source>
        <extracomment>Under the report&apos;s file name, when Open Folder or Email to Support finds the report (%1, its file name) gone.</extracomment>
        <translation>ファイル「%1」は移動または削除されました。</translation>
    </message>
    <message>
        <source>No file manager could open the folder. The report is in “%1”.</source>
        <extracomment>Under the report&apos;s file name, when neither the file manager nor the desktop&apos;s own opener could show the report&apos;s folder. %1 is the folder.</extracomment>
        <translation>ファイルマネージャーでフォルダーを開けませんでした。レポートは「%1」にあります。</translation>
    </message>
</context>
<context>
    <name>ReportContents</name>
    <message>
        <source>%1 (%2 bytes)</source>
        <extracomment>A report&apos;s entry size in a tool tip and for a screen reader: %1 is it in the user&apos;s units (12.3 kB), %2 in bytes.</extracomment>
        <translation>%1（%2 バイト）</translation>
    </message>
    <message>
        <source>File</source>
        <extracomment>Column heading of the list of a report&apos;s files: each one&apos;s name in the zip file.</extracomment>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Size</source>
        <extracomment>Column heading of the list of a report&apos;s files: each one&apos;s size.</extracomment>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>&amp;Show contents</source>
        <extracomment>Under the report&apos;s file name: opens the list of the files in the report. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>内容を表示(&amp;S)</translation>
    </message>
    <message>
        <source>Files in the report</source>
        <extracomment>What a screen reader calls the list of the files in the report.</extracomment>
        <translation>レポート内のファイル</translation>
    </message>
</context>
<context>
    <name>RunNotifier</name>
    <message>
        <source>The report waits for your answer</source>
        <extracomment>Title of the desktop notification while a message in the window waits for an answer during a run and the window is in the background; the text under it is the message.</extracomment>
        <translation>レポートの作成が応答を待っています</translation>
    </message>
    <message>
        <source>Report placed</source>
        <extracomment>Title of the desktop notification when a report was placed while the window was in the background; the text under it names the report.</extracomment>
        <translation>レポートを保存しました</translation>
    </message>
    <message>
        <source>The report failed</source>
        <extracomment>Title of the desktop notification when a report ended in a failure while the window was in the background; the text under it says what failed.</extracomment>
        <translation>レポートを作成できませんでした</translation>
    </message>
    <message>
        <source>Show the Window</source>
        <extracomment>What clicking the desktop notification does (some desktops show it): brings the tool&apos;s window to the front.</extracomment>
        <translation>ウィンドウを表示</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <extracomment>A button in the desktop notification after a run: shows the report in the file manager.</extracomment>
        <translation>フォルダーを開く</translation>
    </message>
    <message>
        <source>The report “%1” was placed on the desktop.</source>
        <extracomment>In the desktop notification when a report was placed. %1 is its file name.</extracomment>
        <translation>レポート「%1」をデスクトップに保存しました。</translation>
    </message>
    <message>
        <source>The report failed: %1.</source>
        <extracomment>In the desktop notification after a failure. %1 is the failure&apos;s message (the sentence of its box).</extracomment>
        <translation>レポートを作成できませんでした: %1。</translation>
    </message>
</context>
<context>
    <name>RunStatusLine</name>
    <message>
        <source>Making the report…</source>
        <extracomment>Under the progress bar while a report is being made.</extracomment>
        <translation>レポートを作成しています…</translation>
    </message>
    <message>
        <source>Reading the printer&apos;s report…</source>
        <extracomment>Under the progress bar while the printer&apos;s report is read over USB.</extracomment>
        <translation>プリンターのレポートを読み取っています…</translation>
    </message>
    <message>
        <source>Gathering facts about this computer…</source>
        <extracomment>Under the progress bar while the facts about the computer are gathered.</extracomment>
        <translation>このコンピューターの情報を収集しています…</translation>
    </message>
    <message>
        <source>Finishing the report…</source>
        <extracomment>Under the progress bar while the report&apos;s file is written to its end and named.</extracomment>
        <translation>レポートを仕上げています…</translation>
    </message>
    <message>
        <source>The report was cancelled.</source>
        <extracomment>Under the progress bar once a report was cancelled; nothing was left behind.</extracomment>
        <translation>レポートの作成をキャンセルしました。</translation>
    </message>
    <message>
        <source>Cancelling the report…</source>
        <extracomment>Under the progress bar once Cancel was pressed, until the report has stopped.</extracomment>
        <translation>レポートの作成をキャンセルしています…</translation>
    </message>
    <message>
        <source>Copying “%1”…</source>
        <extracomment>Under the progress bar while a file is copied into the report. %1 is the file&apos;s path.</extracomment>
        <translation>「%1」をコピーしています…</translation>
    </message>
    <message>
        <source>The report failed: %1.</source>
        <extracomment>Where the progress bar was, after a failure. %1 is the failure&apos;s message (the sentence of its box).</extracomment>
        <translation>レポートを作成できませんでした: %1。</translation>
    </message>
    <message>
        <source>The report was placed on the desktop.</source>
        <extracomment>Under the full progress bar once a report was placed; its file name shows under this line.</extracomment>
        <translation>レポートをデスクトップに保存しました。</translation>
    </message>
    <message>
        <source>The report failed: %1. A partial report was saved.</source>
        <extracomment>Where the progress bar was, after a failure that left a valid zip file of what it had gathered, whose name shows under this line. %1 is the failure&apos;s message (the sentence of its box).</extracomment>
        <translation>レポートを作成できませんでした: %1。部分レポートを保存しました。</translation>
    </message>
</context>
<context>
    <name>SupportMailing</name>
    <message>
        <source>&amp;Email to Support…</source>
        <extracomment>Beside the report&apos;s file name: opens a new mail to the printer maker&apos;s support with the report attached. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>サポートにメールで送信…(&amp;E)</translation>
    </message>
    <message>
        <source>Hello,

attached is the Telvarin Generator report “%1”, made with version %2.

What happened:

</source>
        <extracomment>The text of the mail to support; the user adds to it before sending. %1 is the report&apos;s file name, %2 the tool&apos;s version.</extracomment>
        <translation>こんにちは。

Telvarin Generator のレポート「%1」（バージョン %2 で作成）を添付します。

発生した問題:

</translation>
    </message>
    <message>
        <source>%1 (partial report: %2)</source>
        <extracomment>The subject of the mail to support when the report is partial: %1 is the subject the maker chose, %2 the message the failed run ended with (in English, as support knows it).</extracomment>
        <translation>%1（部分的なレポート: %2）</translation>
    </message>
    <message>
        <source>Hello,

attached is a partial Telvarin Generator report “%1”, made with version %2. The report ended with the message “%3”.

What happened:

</source>
        <extracomment>The text of the mail to support when the report is partial; the user adds to it before sending. %1 is the report&apos;s file name, %2 the tool&apos;s version, %3 the message the failed run ended with (in English, as support knows it).</extracomment>
        <translation>こんにちは。

Telvarin Generator の部分的なレポート「%1」（バージョン %2 で作成）を添付します。レポートはメッセージ「%3」で終了しました。

発生した問題:

</translation>
    </message>
    <message>
        <source>Opening your mail program…</source>
        <extracomment>Under the report&apos;s file name while the desktop opens the user&apos;s mail program.</extracomment>
        <translation>メールプログラムを開いています…</translation>
    </message>
    <message>
        <source>Your mail program shows a new message to %1 with the report attached. Check it, then send it.</source>
        <extracomment>Under the report&apos;s file name once the user&apos;s mail program shows the new mail. %1 is the support address.</extracomment>
        <translation>メールプログラムに、レポートを添付した %1 宛ての新しいメッセージが表示されています。内容を確認してから送信してください。</translation>
    </message>
    <message>
        <source>No mail program could be opened. Send the report to %1 yourself, with the file “%2” attached.</source>
        <extracomment>Under the report&apos;s file name when no mail program could be opened. %1 is the support address, %2 the report&apos;s whole path.</extracomment>
        <translation>メールプログラムを開けませんでした。ファイル「%2」を添付して、レポートを %1 に送信してください。</translation>
    </message>
</context>
<context>
    <name>util</name>
    <message>
        <source>A report is being made. Cancel it and close the window?</source>
        <extracomment>Asked when the window is closed while a report is being made.</extracomment>
        <translation>レポートを作成中です。作成をキャンセルしてウィンドウを閉じますか？</translation>
    </message>
    <message>
        <source>&amp;Stop and Close</source>
        <extracomment>In the question asked when the window is closed during a run: stops the run and closes the window. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>停止して閉じる(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Keep Running</source>
        <extracomment>In the question asked when the window is closed during a run: lets the run go on. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>作成を続ける(&amp;K)</translation>
    </message>
</context>
</TS>
