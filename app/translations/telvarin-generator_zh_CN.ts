<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>AppDelegate</name>
    <message>
        <source>No file manager could open the folder. The report is in %1</source>
        <extracomment>Under the report&apos;s file name, when neither the file manager nor the desktop&apos;s own opener could show the report&apos;s folder. %1 is the folder.</extracomment>
        <translation>没有文件管理器能够打开该文件夹。报告位于 %1</translation>
    </message>
    <message>
        <source>Report placed</source>
        <extracomment>Title of the desktop notification when a report was placed while the window was in the background; the text under it says where.</extracomment>
        <translation>报告已保存</translation>
    </message>
    <message>
        <source>The report failed</source>
        <extracomment>Title of the desktop notification when a report ended in a failure while the window was in the background; the text under it is the failure&apos;s message.</extracomment>
        <translation>报告生成失败</translation>
    </message>
    <message>
        <source>Making the report…</source>
        <extracomment>Under the progress bar while a report is being made.</extracomment>
        <translation>正在生成报告…</translation>
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
        <translation>用法：%1 [--help | --version]

打开 Telvarin Generator 的窗口。按下“生成报告”后，Quorvel 技术支持所需的
信息将被收集到您桌面上的一个 zip 文件中：打印机的日志和设置、通过 USB
从打印机读取的报告，以及这台计算机的信息。

选项：
  --help     显示此帮助并退出
  --version  显示版本并退出

如需在没有窗口的情况下生成同样的报告，请使用 telvarin-report。
</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>One press gathers what Quorvel support needs into a single zip file: the printer&apos;s logs and settings, a report read from the printer over USB, and facts about this computer. The file is placed on your desktop; send it to Quorvel support.</source>
        <extracomment>The window&apos;s introduction, above its one button. &quot;Quorvel&quot; is the printer maker&apos;s name.</extracomment>
        <translation>只需按一下，即可将 Quorvel 技术支持所需的信息收集到一个 zip 文件中：打印机的日志和设置、通过 USB 从打印机读取的报告，以及这台计算机的信息。文件将保存在您的桌面上；请将其发送给 Quorvel 技术支持。</translation>
    </message>
    <message>
        <source>&amp;Generate Report</source>
        <extracomment>The window&apos;s one button; it starts a report. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>生成报告(&amp;G)</translation>
    </message>
    <message>
        <source>Report progress</source>
        <extracomment>What a screen reader calls the progress bar under the button.</extracomment>
        <translation>报告进度</translation>
    </message>
    <message>
        <source>Report file:</source>
        <extracomment>After a report was placed: before the report&apos;s file name, beside the Open Folder button.</extracomment>
        <translation>报告文件：</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <extracomment>After a report was placed: shows the report in the file manager. The ampersand marks the Alt key&apos;s letter.</extracomment>
        <translation>打开文件夹(&amp;O)</translation>
    </message>
</context>
<context>
    <name>MessageWording</name>
    <message>
        <source>An error occured while trying to read a file</source>
        <extracomment>Message box ending a run: a file the report lists exists but could not be read. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>读取文件时出错</translation>
    </message>
    <message>
        <source>Could not find data.xml</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is missing or unreadable. Keep the file name data.xml as it is.</extracomment>
        <translation>找不到 data.xml</translation>
    </message>
    <message>
        <source>Could not parse data.xml (error code %1)</source>
        <extracomment>Message box ending a run: the tool&apos;s own list of files to collect is faulty. Keep data.xml as it is; %1 is the error code (6 to 9).</extracomment>
        <translation>无法解析 data.xml（错误代码 %1）</translation>
    </message>
    <message>
        <source>An error occured while trying to communicate with the printer</source>
        <extracomment>Message box ending a run: talking to the printer over USB failed. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>与打印机通信时出错</translation>
    </message>
    <message>
        <source>Could not find driver directory</source>
        <extracomment>Message box ending a run: the folder of the maker&apos;s printer drivers is missing.</extracomment>
        <translation>找不到驱动程序文件夹</translation>
    </message>
    <message>
        <source>Could not write the checksum file beside the report</source>
        <extracomment>Message ending a run that was asked for a checksum file (SHA-256) beside the report, which could not be written.</extracomment>
        <translation>无法在报告旁边写入校验和文件</translation>
    </message>
    <message>
        <source>Error code %1 occured</source>
        <extracomment>Message box ending a run with a failure that has no sentence of its own; %1 is its number, which support asks for. The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>发生错误（错误代码 %1）</translation>
    </message>
    <message>
        <source>A report has been placed on the desktop</source>
        <extracomment>Message box after a run that placed the report on the user&apos;s desktop.</extracomment>
        <translation>报告已保存到桌面</translation>
    </message>
    <message>
        <source>No recognized printer found, the report will only contain log files.</source>
        <extracomment>Message box during a run when no printer of the maker is connected over USB; the run goes on and the report holds the log files only.</extracomment>
        <translation>未找到可识别的打印机，报告将只包含日志文件。</translation>
    </message>
    <message>
        <source>An unexpected error occured, no report was made</source>
        <extracomment>Message box ending a run with a failure the tool did not foresee (memory exhausted, a library fault). The English &quot;occured&quot; is a fixed text; spell the translation correctly.</extracomment>
        <translation>发生意外错误，未生成报告</translation>
    </message>
</context>
</TS>
