#include "PaintText.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace vintaler::paint {

namespace {

// The phrases a title may be broken after: ", " and ": " end one; a phrase
// wider than the box breaks after its spaces.
QStringList phrasesOf(const QString& text, double widthMm, double heightMm) {
  QStringList phrases;
  qsizetype start = 0;
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if ((text[i] == QLatin1Char(',') || text[i] == QLatin1Char(':')) && text[i + 1] == QLatin1Char(' ')) {
      phrases << text.mid(start, i + 2 - start);
      start = i + 2;
    }
  }
  if (start < text.size()) phrases << text.mid(start);
  QStringList words;
  for (const QString& phrase : phrases) {
    if (TextMeasure::get().width(phrase.trimmed(), heightMm) <= widthMm) {
      words << phrase;
      continue;
    }
    qsizetype from = 0;
    for (qsizetype i = 0; i < phrase.size(); ++i) {
      if (phrase[i] == QLatin1Char(' ')) {
        words << phrase.mid(from, i + 1 - from);
        from = i + 1;
      }
    }
    if (from < phrase.size()) words << phrase.mid(from);
  }
  return words;
}

// Greedy lines of the phrases, none wider than the box, at `heightMm`.
QStringList linesOf(const QString& text, double widthMm, double heightMm) {
  QStringList lines;
  QString line;
  for (const QString& word : phrasesOf(text, widthMm, heightMm)) {
    if (!line.isEmpty() && TextMeasure::get().width((line + word).trimmed(), heightMm) > widthMm) {
      lines << line.trimmed();
      line.clear();
    }
    line += word;
  }
  if (!line.trimmed().isEmpty()) lines << line.trimmed();
  return lines;
}

}  // namespace

QFont fontOf(const QPainter& painter, double heightMm, double dotsPerMm) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(heightMm * dotsPerMm * 72.0 / painter.device()->logicalDpiY());
  return font;
}

// The largest size up to `maxHeightMm`, in steps of 5 %, at which the text's
// lines fit the box of `widthMm` x `heightMm`. Below a fifth of that size
// the lines that still do not fit are cut short with an ellipsis.
Fitted fitText(const QString& text, double widthMm, double heightMm, double maxHeightMm) {
  const TextMeasure& m = TextMeasure::get();
  const auto tall = [&m](const Fitted& f) {
    return m.ascent(f.heightMm) + m.descent(f.heightMm) +
           static_cast<double>(f.lines.size() - 1) * m.lineSpacing(f.heightMm);
  };
  const auto fits = [&](const Fitted& f) {
    if (tall(f) > heightMm) return false;
    for (const QString& line : f.lines) {
      if (m.width(line, f.heightMm) > widthMm) return false;
    }
    return true;
  };
  Fitted f;
  for (f.heightMm = maxHeightMm; f.heightMm >= maxHeightMm / 5; f.heightMm *= 0.95) {
    f.lines = linesOf(text, widthMm, f.heightMm);
    if (fits(f)) return f;
  }
  f.heightMm = std::min(maxHeightMm / 5, heightMm / (m.ascent(1) + m.descent(1)));
  f.lines = linesOf(text, widthMm, f.heightMm);
  while (f.lines.size() > 1 && tall(f) > heightMm) f.lines.removeLast();
  for (QString& line : f.lines) {
    if (m.width(line, f.heightMm) <= widthMm) continue;
    while (line.size() > 1 && m.width(line + QStringLiteral("…"), f.heightMm) > widthMm) line.chop(1);
    line += QStringLiteral("…");
  }
  return f;
}

void paintText(QPainter& painter, QPointF baseline, double heightMm, double dotsPerMm, const QString& text) {
  painter.setFont(fontOf(painter, heightMm, dotsPerMm));
  painter.setPen(Qt::black);
  painter.drawText(baseline, text);
}

void paintFitted(QPainter& painter, const Fitted& f, double leftMm, double topMm, double oneLineBaselineMm,
                 double fullHeightMm, double dpm) {
  const TextMeasure& m = TextMeasure::get();
  const bool oneLine = f.lines.size() == 1 && f.heightMm == fullHeightMm;
  double baseline = oneLine ? oneLineBaselineMm : topMm + m.ascent(f.heightMm);
  for (const QString& line : f.lines) {
    paintText(painter, QPointF(leftMm * dpm, baseline * dpm), f.heightMm, dpm, line);
    baseline += m.lineSpacing(f.heightMm);
  }
}

}  // namespace vintaler::paint
