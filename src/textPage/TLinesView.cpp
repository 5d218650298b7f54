#include "TLinesView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStringDecoder>
#include <algorithm>
#include <functional>
#include <queue>

namespace {

// How many of the longest lines (by characters) are measured for the
// horizontal scroll range. In a fixed-pitch font the longest is the widest;
// in another one a wider line found while painting widens the range.
constexpr std::size_t kMeasuredLines = 256;

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'-'; }

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// UTF-8 that is known to be valid, decoded with a byte order mark at its
// start kept as the character it is.
QString decoded(const char* bytes, qsizetype size) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  return utf8.decode(QByteArrayView(bytes, size));
}

// How many bytes follow a lead byte of UTF-8, and the range the first of
// them must lie in (the rest lie in 80..BF): a sequence outside these is
// not UTF-8 (an overlong form, a surrogate, beyond U+10FFFF).
struct TLead {
  int follow;
  unsigned char low, high;
};

TLead leadOf(unsigned char b) {
  if (b < 0xC2) return {-1, 0, 0};  // a lone continuation byte, or an overlong lead
  if (b < 0xE0) return {1, 0x80, 0xBF};
  if (b == 0xE0) return {2, 0xA0, 0xBF};
  if (b == 0xED) return {2, 0x80, 0x9F};
  if (b < 0xF0) return {2, 0x80, 0xBF};
  if (b == 0xF0) return {3, 0x90, 0xBF};
  if (b < 0xF4) return {3, 0x80, 0xBF};
  if (b == 0xF4) return {3, 0x80, 0x8F};
  return {-1, 0, 0};
}

// One pass over the bytes: where every line starts, in UTF-16 units and in
// bytes, and the text's length in UTF-16 units. False when the bytes are
// not exactly UTF-8 (QString::fromUtf8 would then read them otherwise).
bool indexLines(const QByteArray& utf8, std::vector<qsizetype>& units, std::vector<qsizetype>& bytes, qsizetype& size) {
  const auto* b = reinterpret_cast<const unsigned char*>(utf8.constData());
  const qsizetype n = utf8.size();
  // Made to size at once: lists grown step by step would leave the steps
  // behind them resident.
  const auto lines = static_cast<std::size_t>(std::count(b, b + n, '\n')) + 1;
  units.clear();
  bytes.clear();
  units.shrink_to_fit();
  bytes.shrink_to_fit();
  units.reserve(lines);
  bytes.reserve(lines);
  units.push_back(0);
  bytes.push_back(0);
  qsizetype unit = 0;
  for (qsizetype i = 0; i < n;) {
    const unsigned char c = b[i];
    if (c < 0x80) {
      ++i;
      ++unit;
      if (c == '\n') {
        units.push_back(unit);
        bytes.push_back(i);
      }
      continue;
    }
    const TLead lead = leadOf(c);
    if (lead.follow < 0 || n - i <= lead.follow || b[i + 1] < lead.low || b[i + 1] > lead.high) return false;
    for (int k = 2; k <= lead.follow; ++k) {
      if ((b[i + k] & 0xC0) != 0x80) return false;
    }
    i += 1 + lead.follow;
    unit += lead.follow == 3 ? 2 : 1;  // beyond the BMP: a surrogate pair
  }
  size = unit;
  return true;
}

}  // namespace

TLinesView::TLinesView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  updateScrollBars();
}

void TLinesView::setPlainText(const QString& text) { setUtf8Text(text.toUtf8()); }

void TLinesView::setUtf8Text(const QByteArray& utf8) {
  utf8_ = utf8;
  if (utf8_.startsWith(kByteOrderMark) || !indexLines(utf8_, lineStarts_, lineBytes_, size_)) {
    // Made over as QString::fromUtf8 reads the bytes (it drops a byte order
    // mark at the start); a mark left after that is a character of the text.
    utf8_ = QString::fromUtf8(utf8).toUtf8();
    indexLines(utf8_, lineStarts_, lineBytes_, size_);
  }
  anchor_ = cursor_ = 0;
  wantedX_ = -1;
  measureWidth();
  updateScrollBars();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  viewport()->update();
  emit selectionChanged();
}

qsizetype TLinesView::lineEnd(qsizetype line) const { return line + 1 < lineCount() ? lineStart(line + 1) - 1 : size_; }

QString TLinesView::lineText(qsizetype line) const {
  const auto at = static_cast<std::size_t>(line);
  const qsizetype end = at + 1 < lineBytes_.size() ? lineBytes_[at + 1] - 1 : utf8_.size();
  return decoded(utf8_.constData() + lineBytes_[at], end - lineBytes_[at]);
}

qsizetype TLinesView::byteOf(qsizetype line, qsizetype pos) const {
  const qsizetype column = pos - lineStart(line);
  const qsizetype first = lineBytes_[static_cast<std::size_t>(line)];
  if (column <= 0) return first;
  // Counted back from the line's decoded start: UTF-8 of its first `column` units.
  return first + lineText(line).left(column).toUtf8().size();
}

QChar TLinesView::charAt(qsizetype pos) const {
  const qsizetype line = lineOf(pos);
  return pos < lineEnd(line) ? lineText(line).at(pos - lineStart(line)) : QChar(u'\n');
}

qsizetype TLinesView::lineOf(qsizetype pos) const {
  const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), pos);
  return static_cast<qsizetype>(after - lineStarts_.begin()) - 1;
}

int TLinesView::lineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

int TLinesView::visibleLines() const { return std::max(1, (viewport()->height() - 2 * kMargin) / lineHeight()); }

qsizetype TLinesView::firstVisibleLine() const { return verticalScrollBar()->value(); }

int TLinesView::textX(qsizetype line, qsizetype column) const {
  return fontMetrics().horizontalAdvance(lineText(line).left(column));
}

void TLinesView::measureWidth() {
  // The longest few lines by characters (no font work), then those measured.
  using TLength = std::pair<qsizetype, qsizetype>;  // (length, line)
  std::priority_queue<TLength, std::vector<TLength>, std::greater<>> longest;
  for (qsizetype line = 0; line < lineCount(); ++line) {
    longest.emplace(lineEnd(line) - lineStart(line), line);
    if (longest.size() > kMeasuredLines) longest.pop();
  }
  const QFontMetrics metrics = fontMetrics();
  contentWidth_ = 0;
  for (; !longest.empty(); longest.pop()) {
    contentWidth_ = std::max(contentWidth_, metrics.horizontalAdvance(lineText(longest.top().second)));
  }
}

void TLinesView::updateScrollBars() {
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, static_cast<int>(std::max<qsizetype>(0, lineCount() - visibleLines())));
  vertical->setPageStep(visibleLines());
  vertical->setSingleStep(1);
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, std::max(0, contentWidth_ + 2 * kMargin - viewport()->width()));
  horizontal->setPageStep(viewport()->width());
  horizontal->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
}

void TLinesView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void TLinesView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    measureWidth();
    updateScrollBars();
    viewport()->update();
  }
}

void TLinesView::scrollContentsBy(int, int) { viewport()->update(); }

void TLinesView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setFont(font());
  const QFontMetrics metrics = fontMetrics();
  const int height = lineHeight();
  const int left = kMargin - horizontalScrollBar()->value();
  const qsizetype first = firstVisibleLine();
  const qsizetype selStart = std::min(anchor_, cursor_);
  const qsizetype selEnd = std::max(anchor_, cursor_);
  const QPalette& colours = palette();
  int widest = contentWidth_;
  for (qsizetype line = first; line < lineCount(); ++line) {
    const int top = kMargin + static_cast<int>(line - first) * height;
    if (top > event->rect().bottom()) break;
    if (top + height < event->rect().top()) continue;
    const QString shown = lineText(line);
    const int baseline = top + metrics.ascent();
    const int width = metrics.horizontalAdvance(shown);
    widest = std::max(widest, width);
    const qsizetype from = std::max(selStart, lineStart(line));
    const qsizetype to = std::min(selEnd, lineEnd(line));
    if (selStart == selEnd || from > to || (from == to && selEnd <= lineEnd(line))) {
      painter.setPen(colours.color(QPalette::Text));
      painter.drawText(left, baseline, shown);
      continue;
    }
    // The selected part, and the line break when the selection runs on.
    const int x0 = left + metrics.horizontalAdvance(shown.left(from - lineStart(line)));
    int x1 = left + metrics.horizontalAdvance(shown.left(to - lineStart(line)));
    if (selEnd > lineEnd(line)) x1 += metrics.horizontalAdvance(u' ');
    const QRect selected(x0, top, x1 - x0, height);
    painter.fillRect(selected, colours.brush(QPalette::Highlight));
    painter.save();
    painter.setClipRegion(QRegion(viewport()->rect()).subtracted(selected));
    painter.setPen(colours.color(QPalette::Text));
    painter.drawText(left, baseline, shown);
    painter.setClipRect(selected);
    painter.setPen(colours.color(QPalette::HighlightedText));
    painter.drawText(left, baseline, shown);
    painter.restore();
  }
  if (caretShown_ && hasFocus()) painter.fillRect(caretRect(cursor_), colours.color(QPalette::Text));
  if (widest > contentWidth_) {
    // A proportional font: a line wider than the longest ones measured.
    contentWidth_ = widest;
    updateScrollBars();
  }
}

QRect TLinesView::caretRect(qsizetype pos) const {
  const qsizetype line = lineOf(pos);
  const int x = kMargin - horizontalScrollBar()->value() + textX(line, pos - lineStart(line));
  const int y = kMargin + static_cast<int>(line - firstVisibleLine()) * lineHeight();
  return QRect(x, y, 1, lineHeight());
}

qsizetype TLinesView::positionAt(QPoint point) const {
  const qsizetype row = (point.y() - kMargin) < 0 ? -1 : (point.y() - kMargin) / lineHeight();
  const qsizetype line = std::clamp<qsizetype>(firstVisibleLine() + row, 0, lineCount() - 1);
  return lineStart(line) + columnAt(line, point.x() - kMargin + horizontalScrollBar()->value());
}

qsizetype TLinesView::columnAt(qsizetype line, int x) const {
  const QString shown = lineText(line);
  const QFontMetrics metrics = fontMetrics();
  // The character edge nearest to x.
  int before = 0;
  for (qsizetype column = 0; column < shown.size(); ++column) {
    const int after = metrics.horizontalAdvance(shown.left(column + 1));
    if (x < (before + after) / 2) return column;
    before = after;
  }
  return shown.size();
}

void TLinesView::ensureVisible(qsizetype pos) {
  const qsizetype line = lineOf(pos);
  QScrollBar* vertical = verticalScrollBar();
  if (line < vertical->value()) {
    vertical->setValue(static_cast<int>(line));
  } else if (line >= vertical->value() + visibleLines()) {
    vertical->setValue(static_cast<int>(line - visibleLines() + 1));
  }
  const int x = textX(line, pos - lineStart(line));
  QScrollBar* horizontal = horizontalScrollBar();
  const int room = viewport()->width() - 2 * kMargin;
  if (x < horizontal->value()) {
    horizontal->setValue(x);
  } else if (x > horizontal->value() + room) {
    horizontal->setValue(x - room);
  }
}

void TLinesView::setSelection(qsizetype anchor, qsizetype position) {
  anchor_ = std::clamp<qsizetype>(anchor, 0, size_);
  cursor_ = std::clamp<qsizetype>(position, 0, size_);
  wantedX_ = -1;
  restartCaret();
  viewport()->update();
  emit selectionChanged();
}

void TLinesView::selectAll() { setSelection(0, size_); }

QString TLinesView::selectedText() const {
  const qsizetype from = std::min(anchor_, cursor_), to = std::max(anchor_, cursor_);
  if (from == to) return {};
  const qsizetype first = byteOf(lineOf(from), from), last = byteOf(lineOf(to), to);
  return decoded(utf8_.constData() + first, last - first);
}

// The selection as plain text, and as preformatted HTML in the page's font:
// a word processor then keeps the table's columns lined up. HTML drops the
// line break that opens a <pre>, so one is put there for it to drop.
void TLinesView::copy() const {
  if (anchor_ == cursor_) return;
  const QString text = selectedText();
  const QFont& shown = font();
  const QString size = shown.pixelSize() > 0 ? QStringLiteral("%1px").arg(shown.pixelSize())
                                             : QStringLiteral("%1pt").arg(shown.pointSizeF());
  auto* copied = new QMimeData;
  copied->setText(text);
  copied->setHtml(QStringLiteral("<pre style=\"font-family:'%1'; font-size:%2\">\n%3</pre>")
                    .arg(shown.family().toHtmlEscaped(), size, text.toHtmlEscaped()));
  QApplication::clipboard()->setMimeData(copied);
}

void TLinesView::shareSelection() const {
  QClipboard* clipboard = QApplication::clipboard();
  if (clipboard->supportsSelection() && anchor_ != cursor_) clipboard->setText(selectedText(), QClipboard::Selection);
}

void TLinesView::moveCursor(qsizetype pos, bool keepAnchor) {
  cursor_ = std::clamp<qsizetype>(pos, 0, size_);
  if (!keepAnchor) anchor_ = cursor_;
  ensureVisible(cursor_);
  restartCaret();
  viewport()->update();
  emit selectionChanged();
}

qsizetype TLinesView::wordEdge(qsizetype pos, int direction) const {
  if (direction > 0) {
    while (pos < size_ && !isWordChar(charAt(pos))) ++pos;
    while (pos < size_ && isWordChar(charAt(pos))) ++pos;
  } else {
    while (pos > 0 && !isWordChar(charAt(pos - 1))) --pos;
    while (pos > 0 && isWordChar(charAt(pos - 1))) --pos;
  }
  return pos;
}

void TLinesView::keyPressEvent(QKeyEvent* event) {
  const qsizetype line = lineOf(cursor_);
  const qsizetype column = cursor_ - lineStart(line);
  // Up and down keep the caret's horizontal place over shorter lines.
  auto toLine = [&](qsizetype target) {
    target = std::clamp<qsizetype>(target, 0, lineCount() - 1);
    if (wantedX_ < 0) wantedX_ = textX(line, column);
    return lineStart(target) + columnAt(target, wantedX_);
  };
  struct Move {
    QKeySequence::StandardKey move, select;
  };
  const int page = visibleLines();
  const Move moves[] = {
      {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar},
      {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar},
      {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord},
      {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord},
      {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine},
      {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine},
      {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage},
      {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage},
      {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine},
      {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine},
      {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument},
      {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument},
  };
  for (const Move& m : moves) {
    const bool select = event->matches(m.select);
    if (!select && !event->matches(m.move)) continue;
    qsizetype to = cursor_;
    bool vertical = false;
    switch (m.move) {
      case QKeySequence::MoveToNextChar: to = cursor_ + 1; break;
      case QKeySequence::MoveToPreviousChar: to = cursor_ - 1; break;
      case QKeySequence::MoveToNextWord: to = wordEdge(cursor_, 1); break;
      case QKeySequence::MoveToPreviousWord: to = wordEdge(cursor_, -1); break;
      case QKeySequence::MoveToNextLine: to = toLine(line + 1), vertical = true; break;
      case QKeySequence::MoveToPreviousLine: to = toLine(line - 1), vertical = true; break;
      case QKeySequence::MoveToNextPage:
        verticalScrollBar()->setValue(verticalScrollBar()->value() + page);
        to = toLine(line + page), vertical = true;
        break;
      case QKeySequence::MoveToPreviousPage:
        verticalScrollBar()->setValue(verticalScrollBar()->value() - page);
        to = toLine(line - page), vertical = true;
        break;
      case QKeySequence::MoveToStartOfLine: to = lineStart(line); break;
      case QKeySequence::MoveToEndOfLine: to = lineEnd(line); break;
      case QKeySequence::MoveToStartOfDocument: to = 0; break;
      default: to = size_; break;
    }
    if (!vertical) wantedX_ = -1;
    moveCursor(to, select);
    event->accept();
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
  } else if (event->matches(QKeySequence::Copy)) {
    copy();
  } else if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
             event->matches(QKeySequence::Undo) || event->key() == Qt::Key_Backspace ||
             event->key() == Qt::Key_Delete || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
             (!event->text().isEmpty() && event->text().at(0).isPrint() &&
              !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))) {
    emit editRequested(event);
  } else {
    QAbstractScrollArea::keyPressEvent(event);
  }
}

void TLinesView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  dragging_ = true;
  wantedX_ = -1;
  moveCursor(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void TLinesView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  moveCursor(positionAt(event->position().toPoint()), true);
}

void TLinesView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  shareSelection();
}

void TLinesView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const qsizetype at = positionAt(event->position().toPoint());
  const qsizetype from = at < size_ && isWordChar(charAt(at)) ? wordEdge(at + 1, -1) : at;
  const qsizetype to = from < size_ && isWordChar(charAt(from)) ? wordEdge(from, 1) : from;
  setSelection(from, to);
  shareSelection();
}

void TLinesView::restartCaret() {
  caretShown_ = true;
  const int flash = QApplication::cursorFlashTime();
  if (hasFocus() && flash > 0) {
    caretTimer_.start(flash / 2, this);
  } else {
    caretTimer_.stop();
  }
}

void TLinesView::timerEvent(QTimerEvent* event) {
  if (event->timerId() != caretTimer_.timerId()) {
    QAbstractScrollArea::timerEvent(event);
    return;
  }
  caretShown_ = !caretShown_;
  viewport()->update(caretRect(cursor_));
}

void TLinesView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  restartCaret();
  viewport()->update();
}

void TLinesView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  caretTimer_.stop();
  viewport()->update();
}

QString TLinesView::text() const { return decoded(utf8_.constData(), utf8_.size()); }
