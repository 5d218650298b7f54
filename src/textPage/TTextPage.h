// A text page: plain text of any length in one font, which the user may
// select, copy, print and type into. It shows the text in a view that lays
// out only the lines on screen; the first key that would change the text
// turns it into an ordinary editor with the same text, selection and scroll
// position, which the next text given to the page replaces again.
#pragma once

#include <QWidget>
#include <memory>

class QPlainTextEdit;
class QStackedLayout;
class QTextDocument;
class TLinesView;

class TTextPage : public QWidget {
  Q_OBJECT

 public:
  explicit TTextPage(QWidget* parent = nullptr);
  ~TTextPage() override;

  void setPlainText(const QString& text);
  // The text as UTF-8 bytes, kept shared with the caller's.
  void setUtf8Text(const QByteArray& utf8);
  QString toPlainText() const;
  void selectAll();
  void copy();
  QString selectedText() const;
  // The text as a document, for printing: the editor's own while editing.
  QTextDocument* document();

  bool isEditing() const { return editor_ != nullptr; }
  TLinesView* view() const { return view_; }
  QPlainTextEdit* editor() const { return editor_; }

 signals:
  // The text changed: given to the page, or typed by the user.
  void textChanged();

 private:
  void startEditing(QKeyEvent* key);

  QStackedLayout* stack_ = nullptr;
  TLinesView* view_ = nullptr;
  QPlainTextEdit* editor_ = nullptr;
  std::unique_ptr<QTextDocument> printed_;  // the view's text as a document, made when asked
};
