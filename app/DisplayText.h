#pragma once
// Text from the customer's system (a path, a file name, a library's words)
// as the window shows it: exactly, on one line, and always as data, never as
// markup, the mark of an Alt letter, a placeholder or a change of writing
// direction. Every place that shows such a text takes it from here.

#include <QString>

#include <string>

class QFontMetrics;

namespace displayText {

// `text` on one line: control characters as their pictures (U+2400 on);
// characters that would end the line or change the writing direction
// (C1 controls, line and paragraph separators, directional embeddings,
// overrides and isolates) as U+FFFD. For a text that stands alone.
QString line(const QString& text);
// A path or name as the system hands it over; bytes that are not UTF-8 show
// as U+FFFD.
QString line(const std::string& systemText);

// line(), isolated (U+2068 ... U+2069) so that right-to-left text cannot
// reorder the sentence it stands in. Put it into a sentence with one call
// of QString::arg, all arguments at once.
QString inSentence(const QString& text);
QString inSentence(const std::string& systemText);

// For a label with a buddy, which reads "&" as the mark of an Alt letter
// even in plain text.
QString withoutMnemonic(const QString& text);

// For the places that read rich text (tool tips, a box's informative text):
// shown as it stands, blanks and line ends kept.
QString asRichText(const QString& text);

// `text` with every part that cannot be broken across lines and is wider
// than `width` elided in its middle, so that the text wraps within `width`
// and every name keeps its end in sight.
QString fittedToWidth(const QString& text, const QFontMetrics& metrics, int width);

} // namespace displayText
