#pragma once

#include "platform/report/result.h"

#include <QString>

namespace tv::report {

class Document;

// Writes a laid-out document as a PDF file directly, a few operators for each run of text, where the Qt PDF
// engine writes a position and a glyph for every letter. It serves documents set in the Liberation fonts,
// which have the metrics of the standard PDF fonts Helvetica, Times and Courier: the file names those fonts
// with the measured widths of the Liberation fonts, so every reader sets the text where the layout put it.
// Such fonts are not embedded, so every text must be in the Windows Latin 1 character set.
namespace directpdf {

// True where the document can be written this way: only the fonts above, really installed, and only
// characters of Windows Latin 1.
bool canWrite(const Document& document);

// Writes the document to path. OutputFailed if the file cannot be written.
Result write(const Document& document, const QString& path);

} // namespace directpdf

} // namespace tv::report
