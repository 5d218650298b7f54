// Printing a text page (the results text) over as many printer pages as it
// needs.
#pragma once

class QFont;
class QPrinter;
class QTextDocument;

namespace vintaler {

// Lays `text` out in `font` over the whole of each page of `printer` (no
// margins), as one job with an empty title; a new page begins where the
// previous one is full.
void printText(QPrinter& printer, const QTextDocument& text, const QFont& font);

// The same on the system's default printer, without a print dialog. Without
// any printer it refuses (vintaler::ECommandError) rather than print nothing.
void printTextOnDefaultPrinter(const QTextDocument& text, const QFont& font);

}  // namespace vintaler
