#include "TTextPage.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTextBlock>
#include <QTextDocument>

#include "TLinesView.h"

TTextPage::TTextPage(QWidget* parent) : QWidget(parent) {
  stack_ = new QStackedLayout(this);
  stack_->setContentsMargins(0, 0, 0, 0);
  view_ = new TLinesView;
  view_->setFrameStyle(QFrame::NoFrame);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The page's owner gives it its pop-up menu.
  view_->setContextMenuPolicy(Qt::NoContextMenu);
  stack_->addWidget(view_);
  setFocusProxy(view_);
  connect(view_, &TLinesView::editRequested, this, &TTextPage::startEditing);
}

TTextPage::~TTextPage() = default;

void TTextPage::setPlainText(const QString& text) { setUtf8Text(text.toUtf8()); }

void TTextPage::setUtf8Text(const QByteArray& utf8) {
  printed_.reset();
  if (editor_) {
    const bool focused = editor_->hasFocus();
    setFocusProxy(view_);
    stack_->setCurrentWidget(view_);
    stack_->removeWidget(editor_);
    editor_->hide();
    editor_->deleteLater();
    editor_ = nullptr;
    if (focused) view_->setFocus();
  }
  view_->setUtf8Text(utf8);
  emit textChanged();
}

QString TTextPage::toPlainText() const { return editor_ ? editor_->toPlainText() : view_->text(); }

void TTextPage::selectAll() {
  if (editor_) {
    editor_->selectAll();
  } else {
    view_->selectAll();
  }
}

void TTextPage::copy() {
  if (editor_) {
    editor_->copy();
  } else {
    view_->copy();
  }
}

QString TTextPage::selectedText() const {
  // The editor gives line breaks as paragraph separators.
  return editor_ ? editor_->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n')
                 : view_->selectedText();
}

QTextDocument* TTextPage::document() {
  if (editor_) return editor_->document();
  if (!printed_) {
    printed_ = std::make_unique<QTextDocument>();
    printed_->setDefaultFont(font());
    printed_->setPlainText(view_->text());
  }
  return printed_.get();
}

// The editor costs about a second per 400,000 lines to fill: paid only by
// someone who types into such a page.
void TTextPage::startEditing(QKeyEvent* key) {
  editor_ = new QPlainTextEdit;
  editor_->setFrameStyle(QFrame::NoFrame);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  editor_->setContextMenuPolicy(Qt::NoContextMenu);
  editor_->setTabChangesFocus(true);  // as in the view: Tab goes on to the next control
  editor_->document()->setDocumentMargin(TLinesView::kMargin);
  editor_->setPlainText(view_->text());
  QTextCursor cursor(editor_->document());
  cursor.setPosition(static_cast<int>(view_->anchor()));
  cursor.setPosition(static_cast<int>(view_->position()), QTextCursor::KeepAnchor);
  editor_->setTextCursor(cursor);
  const int top = view_->verticalScrollBar()->value();
  const int left = view_->horizontalScrollBar()->value();
  stack_->addWidget(editor_);
  stack_->setCurrentWidget(editor_);
  editor_->verticalScrollBar()->setValue(top);
  editor_->horizontalScrollBar()->setValue(left);
  printed_.reset();
  view_->setPlainText(QString());  // the editor holds the text now
  setFocusProxy(editor_);
  editor_->setFocus();
  connect(editor_, &QPlainTextEdit::textChanged, this, &TTextPage::textChanged);
  QKeyEvent again(key->type(), key->key(), key->modifiers(), key->text(), key->isAutoRepeat(),
                  static_cast<ushort>(key->count()));
  QCoreApplication::sendEvent(editor_, &again);
  key->accept();
}
