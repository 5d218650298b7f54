// A read-only view of plain text lines that lays out only the lines on screen,
// so a text of hundreds of thousands of lines is shown as soon as it is
// indexed. It holds the text as UTF-8, as the engine writes it, and decodes
// a line when it is drawn or measured: a page of numbers takes half the
// memory it would as UTF-16. It selects with the mouse and the keyboard, copies and draws a
// caret; a key that would change the text is handed on (editRequested) to
// whoever can edit it.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QByteArray>
#include <QString>
#include <vector>

class TLinesView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TLinesView(QWidget* parent = nullptr);

  void setPlainText(const QString& text);
  // The same from UTF-8 bytes, shared, not copied. Bytes that are not UTF-8
  // are shown as QString::fromUtf8 shows them.
  void setUtf8Text(const QByteArray& utf8);
  QString text() const;
  const QByteArray& utf8() const { return utf8_; }
  qsizetype size() const { return size_; }  // in UTF-16 units

  // Positions count UTF-16 units from the start of the text; a line break is
  // one unit, as in the editor the view hands over to.
  qsizetype position() const { return cursor_; }
  qsizetype anchor() const { return anchor_; }
  void setSelection(qsizetype anchor, qsizetype position);
  void selectAll();
  QString selectedText() const;
  void copy() const;

  qsizetype lineCount() const { return static_cast<qsizetype>(lineStarts_.size()); }
  qsizetype firstVisibleLine() const;
  // The position under a point of the viewport: the nearest character edge
  // on the nearest line.
  qsizetype positionAt(QPoint viewportPoint) const;
  // The viewport rectangle of the character edge at `pos` (one pixel wide).
  QRect caretRect(qsizetype pos) const;
  void ensureVisible(qsizetype pos);

  static constexpr int kMargin = 4;  // around the text, as a text box leaves

 signals:
  // A key that edits the text (a character, Backspace, Delete, Enter, paste,
  // cut, undo): the view itself never changes its text.
  void editRequested(QKeyEvent* event);
  void selectionChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void changeEvent(QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  qsizetype lineOf(qsizetype pos) const;
  qsizetype lineStart(qsizetype line) const { return lineStarts_[static_cast<std::size_t>(line)]; }
  qsizetype lineEnd(qsizetype line) const;  // before its line break
  QString lineText(qsizetype line) const;
  // Where the UTF-16 position `pos` of `line` falls in the UTF-8 bytes.
  qsizetype byteOf(qsizetype line, qsizetype pos) const;
  QChar charAt(qsizetype pos) const;
  int lineHeight() const;
  int visibleLines() const;
  int textX(qsizetype line, qsizetype column) const;  // from the text's left edge
  qsizetype columnAt(qsizetype line, int x) const;    // the edge nearest to x
  void measureWidth();
  void updateScrollBars();
  void moveCursor(qsizetype pos, bool keepAnchor);
  qsizetype wordEdge(qsizetype pos, int direction) const;
  void restartCaret();
  void shareSelection() const;  // the X11 primary selection

  QByteArray utf8_;
  qsizetype size_ = 0;
  std::vector<qsizetype> lineStarts_{0};  // in UTF-16 units
  std::vector<qsizetype> lineBytes_{0};   // in UTF-8 bytes
  int contentWidth_ = 0;
  qsizetype anchor_ = 0;
  qsizetype cursor_ = 0;
  int wantedX_ = -1;  // the caret's column kept over shorter lines
  bool dragging_ = false;
  bool caretShown_ = false;
  QBasicTimer caretTimer_;
};
