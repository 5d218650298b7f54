// Printing a text page (the results text) over as many printer pages as it
// needs.
#pragma once

class QFont;
class QPrinter;
class QTextDocument;
class QWidget;

namespace vintaler {

// Lays `text` out in `font` over the whole of each page of `printer` (no
// margins), as one job with an empty title; a new page begins where the
// previous one is full.
void printText(QPrinter& printer, const QTextDocument& text, const QFont& font);

// The same on the system's default printer, without a print dialog. Without
// any printer it refuses (vintaler::ECommandError) rather than print nothing.
void printTextOnDefaultPrinter(const QTextDocument& text, const QFont& font);

// The text as printText lays it out, in a print preview from which it goes
// to a printer or to a PDF file, with or without a printer installed. The
// text is taken as it is now; one preview at a time, as for the views.
void previewText(QWidget* parent, const QTextDocument& text, const QFont& font);

}  // namespace vintaler
