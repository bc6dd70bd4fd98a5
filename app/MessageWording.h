#pragma once
// The report's messages in the user's language. The English source texts are
// the report's own sentences, word for word, so that without a translation
// (English, the C locale) a box says exactly what support knows.

#include "base/UserMessage.h"

#include <QString>

// The sentence for a code that ended a run.
QString sentenceForErrorCode(int code);

// A message's text as a box shows it: its sentence and, for an unexpected
// failure, the words the report quotes. What a failure concerns is worded
// apart (FailureExplanation).
QString wordedMessage(const UserMessage& message);
