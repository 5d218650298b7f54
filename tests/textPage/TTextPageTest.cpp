#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtTest>

#include "support/GuiTestSupport.h"
#include "textPage/TLinesView.h"
#include "textPage/TTextPage.h"

namespace {

QFont Courier(int pixels) {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(pixels);
  return font;
}

QString NumberedLines(int count) {
  QStringList lines;
  for (int i = 0; i < count; ++i) lines << QStringLiteral("строка %1").arg(i);
  return lines.join('\n');
}

// The page's key-taking widget: the view, or the editor once typed into.
QWidget* Keys(TTextPage& page) { return page.focusProxy(); }

void Press(QWidget* to, const QKeySequence& keys) { QTest::keyClick(to, keys[0].key(), keys[0].keyboardModifiers()); }

}  // namespace

class TTextPageTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QGuiApplication::clipboard()->setText(QStringLiteral("before")); }

  void theTextComesBackAsGiven_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    QTest::newRow("nothing") << QString() << 1;
    QTest::newRow("one line") << QStringLiteral("Параметры перехода:") << 1;
    QTest::newRow("a line break at the end") << QStringLiteral("a\nb\n") << 3;
    QTest::newRow("empty lines") << QStringLiteral("\n\n\n") << 4;
    QTest::newRow("many lines") << NumberedLines(5000) << 5000;
    QTest::newRow("beyond the BMP") << QStringLiteral("x\U0001D465y\nдва") << 2;
  }

  // The page keeps UTF-8 as it is given: whatever the bytes, it shows, counts
  // and selects what QString::fromUtf8 reads from them.
  void bytesReadAsQtReadsThem_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Cyrillic and a sign beyond the BMP") << QByteArray("R1 = 12,5 \xD0\xBC\xD0\xBC\n\xF0\x9D\x91\xA5 z");
    QTest::newRow("an overlong slash") << QByteArray("a\xC0\xAF\nb");
    QTest::newRow("a surrogate written out") << QByteArray("a\xED\xA0\x80z");
    QTest::newRow("cut off at the end") << QByteArray("ab\n\xE2\x82");
    QTest::newRow("a stray continuation byte") << QByteArray("\x80\n\n");
    QTest::newRow("a byte order mark first") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "ab\ncd");
  }

  void bytesReadAsQtReadsThem() {
    QFETCH(QByteArray, bytes);
    const QString read = QString::fromUtf8(bytes);
    TTextPage page;
    page.resize(300, 200);
    page.setUtf8Text(bytes);
    QCOMPARE(page.view()->lineCount(), read.count(u'\n') + 1);
    QCOMPARE(page.view()->size(), read.size());
    QCOMPARE(page.toPlainText(), read);
    Press(Keys(page), QKeySequence(QStringLiteral("Ctrl+Shift+End")));
    QCOMPARE(page.view()->position(), read.size());
    QCOMPARE(page.selectedText(), read);
    page.view()->setSelection(1, read.size() - 1);
    QCOMPARE(page.selectedText(), read.mid(1, read.size() - 2));
  }

  void theTextComesBackAsGiven() {
    QFETCH(QString, text);
    QFETCH(int, lines);
    TTextPage page;
    QSignalSpy changed(&page, &TTextPage::textChanged);
    page.setPlainText(text);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(page.toPlainText(), text);
    QCOMPARE(page.view()->lineCount(), lines);
    QCOMPARE(page.document()->toPlainText(), text);  // what printing lays out
    QCOMPARE(page.document()->blockCount(), lines);
    page.setFont(Courier(13));
    page.selectAll();
    page.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), text.isEmpty() ? QStringLiteral("before") : text);
    if (!text.isEmpty()) {
      // Also as HTML in the page's font, which a word processor keeps.
      QTextDocument pasted;
      pasted.setHtml(QGuiApplication::clipboard()->mimeData()->html());
      QCOMPARE(pasted.toPlainText(), text.endsWith('\n') ? text.chopped(1) : text);
      QCOMPARE(QTextCursor(&pasted).charFormat().fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
    }
  }

  // Moving the caret with the keys, Shift selecting as it goes.
  void keysSelect_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("position");
    const QString three = QStringLiteral("ab cd\nefgh\nij");
    QTest::newRow("to the end of the line") << three << 0 << QStringList{"Shift+End"} << "ab cd" << 5;
    QTest::newRow("a line down takes its break") << three << 0 << QStringList{"Shift+Down"} << "ab cd\n" << 6;
    QTest::newRow("down past a short line's end")
        << three << 3 << QStringList{"Shift+Down", "Shift+Down"} << "cd\nefgh\nij" << 13;
    QTest::newRow("a word to the right") << three << 0 << QStringList{"Ctrl+Shift+Right"} << "ab" << 2;
    QTest::newRow("a word to the left") << three << 10 << QStringList{"Ctrl+Shift+Left"} << "efgh" << 6;
    QTest::newRow("to the end of the text") << three << 6 << QStringList{"Ctrl+Shift+End"} << "efgh\nij" << 13;
    QTest::newRow("to the start of the text") << three << 8 << QStringList{"Ctrl+Shift+Home"} << "ab cd\nef" << 0;
    QTest::newRow("left at the start stays") << three << 0 << QStringList{"Shift+Left"} << "" << 0;
    QTest::newRow("right at the end stays") << three << 13 << QStringList{"Shift+Right"} << "" << 13;
    QTest::newRow("a move without Shift drops the selection")
        << three << 0 << QStringList{"Shift+End", "Right"} << "" << 6;
    QTest::newRow("the column is kept over a shorter line")
        << QStringLiteral("abcdef\nx\nabcdef") << 5 << QStringList{"Down", "Down"} << "" << 14;
    QTest::newRow("a sign beyond the BMP is two units")
        << QStringLiteral("a\U0001D465b\nc") << 0 << QStringList{"Shift+End"} << QStringLiteral("a\U0001D465b") << 4;
    QTest::newRow("up from the first line goes nowhere") << three << 2 << QStringList{"Shift+Up"} << "" << 2;
    QTest::newRow("a page down stops at the last line")
        << NumberedLines(3) << 0 << QStringList{"Shift+PgDown"} << "строка 0\nстрока 1\n"
        << 18;
  }

  void keysSelect() {
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(QStringList, keys);
    QFETCH(QString, selected);
    QFETCH(int, position);
    TTextPage page;
    page.resize(300, 200);
    page.setPlainText(text);
    page.view()->setSelection(from, from);
    for (const QString& key : keys) Press(Keys(page), QKeySequence(key));
    QVERIFY(!page.isEditing());
    QCOMPARE(page.selectedText(), selected);
    QCOMPARE(page.view()->position(), position);
  }

  // The character edge under the caret drawn at a position is that
  // position: clicking where the caret would be puts it there.
  void clickingFindsTheCaretsPlace_data() {
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("scrolledLines");
    QTest::addColumn<int>("scrolledPixels");
    QTest::newRow("fixed pitch") << Courier(13) << 0 << 0;
    QTest::newRow("fixed pitch, large") << Courier(27) << 0 << 0;
    QTest::newRow("proportional") << QFont(QStringLiteral("DejaVu Sans"), 11) << 0 << 0;
    QTest::newRow("scrolled down and right") << Courier(13) << 40 << 30;
  }

  void clickingFindsTheCaretsPlace() {
    QFETCH(QFont, font);
    QFETCH(int, scrolledLines);
    QFETCH(int, scrolledPixels);
    TTextPage page;
    page.setFont(font);
    page.resize(400, 300);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QStringList lines;
    for (int i = 0; i < 100; ++i)
      lines << QStringLiteral("  T%1    %2.5   -7%3  Квадрант").arg(i).arg(i * 37).arg(i % 10);
    page.setPlainText(lines.join('\n'));
    TLinesView* view = page.view();
    view->verticalScrollBar()->setValue(scrolledLines);
    view->horizontalScrollBar()->setValue(scrolledPixels);
    const qsizetype first = view->firstVisibleLine();
    QCOMPARE(first, scrolledLines);
    const QString text = page.toPlainText();
    qsizetype start = 0;
    for (int i = 0; i < first; ++i) start = text.indexOf('\n', start) + 1;
    for (qsizetype pos = start; pos < start + 120; ++pos) {
      const QRect caret = view->caretRect(pos);
      if (!view->viewport()->rect().contains(caret.center())) continue;
      QCOMPARE(view->positionAt(caret.center()), pos);
    }
    // A drag from one place to another selects what lies between.
    const qsizetype a = start + 3, b = start + 70;
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, view->caretRect(a).center());
    QTest::mouseMove(view->viewport(), view->caretRect(b).center());
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, view->caretRect(b).center());
    QCOMPARE(page.selectedText(), text.mid(a, b - a));
  }

  void doubleClickSelectsAWord() {
    TTextPage page;
    page.resize(400, 300);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.setPlainText(QStringLiteral("  R12      -15.7      50.2"));
    TLinesView* view = page.view();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->caretRect(13).center() + QPoint(2, 0));
    QCOMPARE(page.selectedText(), QStringLiteral("-15.7"));
  }

  // Only the selected characters are painted in the highlight.
  void theSelectionIsPaintedWhereItIs() {
    TTextPage page;
    page.setFont(Courier(16));
    page.resize(300, 200);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.setPlainText(QStringLiteral("aaaaaa\nbbbbbb"));
    TLinesView* view = page.view();
    view->setSelection(1, 4);
    const QImage image = view->viewport()->grab().toImage();
    const QRgb highlight = view->palette().color(QPalette::Highlight).rgb();
    const int top = view->caretRect(0).top();  // above the glyphs of "a"
    auto colourBetween = [&](qsizetype from, qsizetype to) {
      return image.pixel((view->caretRect(from).x() + view->caretRect(to).x()) / 2, top);
    };
    QCOMPARE(colourBetween(0, 1), view->palette().color(QPalette::Base).rgb());
    QCOMPARE(colourBetween(1, 2), highlight);
    QCOMPARE(colourBetween(3, 4), highlight);
    QCOMPARE(colourBetween(4, 5), view->palette().color(QPalette::Base).rgb());
    QVERIFY(image.pixel(view->caretRect(8).x() + 2, view->caretRect(8).top()) != highlight);
  }

  // The scroll ranges follow the text and the font: the last line can be
  // brought to the bottom, the longest line into view.
  void theScrollRangesFitTheText_data() {
    QTest::addColumn<int>("pixels");
    QTest::newRow("13 px") << 13;
    QTest::newRow("26 px") << 26;
  }

  void theScrollRangesFitTheText() {
    QFETCH(int, pixels);
    TTextPage page;
    page.setFont(Courier(pixels));
    page.resize(300, 200);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const QString longest = QStringLiteral("x").repeated(200);
    page.setPlainText(NumberedLines(100000) + '\n' + longest);
    TLinesView* view = page.view();
    const int shown = (view->viewport()->height() - 2 * TLinesView::kMargin) / QFontMetrics(view->font()).lineSpacing();
    QCOMPARE(view->verticalScrollBar()->maximum(), 100001 - shown);
    QCOMPARE(view->verticalScrollBar()->pageStep(), shown);
    const int width = QFontMetrics(view->font()).horizontalAdvance(longest) + 2 * TLinesView::kMargin;
    QCOMPARE(view->horizontalScrollBar()->maximum() + view->viewport()->width(), width);
    Press(view, QKeySequence("Ctrl+End"));
    QCOMPARE(view->firstVisibleLine(), 100001 - shown);
    QVERIFY(view->viewport()->rect().contains(view->caretRect(view->position())));
  }

  // A key that would change the text hands the page to an editor with the
  // same text, selection and scroll position; the key takes effect there.
  void typingEditsInPlace_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");  // into "ab cd" with "cd" selected
    QTest::newRow("a letter replaces the selection") << "X"
                                                     << "ab X";
    QTest::newRow("Backspace deletes it") << "Backspace"
                                          << "ab ";
    QTest::newRow("Delete deletes it") << "Delete"
                                       << "ab ";
    QTest::newRow("Enter breaks the line") << "Return"
                                           << "ab \n";
  }

  void typingEditsInPlace() {
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QWidget window;  // the page and a field after it, for Tab to go to
    auto* layout = new QVBoxLayout(&window);
    auto& page = *new TTextPage;
    auto* next = new QLineEdit;
    layout->addWidget(&page);
    layout->addWidget(next);
    window.resize(300, 250);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString tail = '\n' + NumberedLines(1000);
    page.setPlainText(QStringLiteral("ab cd") + tail);
    page.view()->verticalScrollBar()->setValue(0);
    page.view()->setSelection(3, 5);
    QSignalSpy changed(&page, &TTextPage::textChanged);
    if (key.size() == 1) {
      QTest::keyClicks(Keys(page), key);
    } else {
      Press(Keys(page), QKeySequence(key));
    }
    QVERIFY(page.isEditing());
    QCOMPARE(page.toPlainText(), typed + tail);
    QVERIFY(changed.count() >= 1);
    QCOMPARE(page.document(), page.editor()->document());
    // Typing goes on in the editor; a new text puts the view back.
    QTest::keyClicks(Keys(page), QStringLiteral("yz"));
    QCOMPARE(page.toPlainText(), typed + QStringLiteral("yz") + tail);
    Press(Keys(page), QKeySequence(Qt::Key_Tab));  // moves on, as in the view
    QCOMPARE(page.toPlainText(), typed + QStringLiteral("yz") + tail);
    QTRY_COMPARE(window.focusWidget(), next);  // the window's focus, active or not
    page.setPlainText(QStringLiteral("rebuilt"));
    QVERIFY(!page.isEditing());
    QCOMPARE(page.toPlainText(), QStringLiteral("rebuilt"));
    QCOMPARE(Keys(page), page.view());
  }

  void theEditorOpensWhereTheViewWas() {
    TTextPage page;
    page.resize(300, 200);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const QString text = NumberedLines(2000);
    page.setPlainText(text);
    TLinesView* view = page.view();
    view->verticalScrollBar()->setValue(700);
    const qsizetype at = text.indexOf(QStringLiteral("строка 705"));
    view->setSelection(at, at);
    QTest::keyClicks(Keys(page), QStringLiteral("#"));
    QVERIFY(page.isEditing());
    QCOMPARE(page.editor()->verticalScrollBar()->value(), 700);
    QCOMPARE(page.editor()->textCursor().block().text(), QStringLiteral("#строка 705"));
  }

  void keysThatDoNotEditLeaveTheView_data() {
    QTest::addColumn<QString>("key");
    for (const char* key : {"Ctrl+C", "Ctrl+A", "Down", "PgDown", "Ctrl+Home", "F5", "Escape", "Shift+Right", "Tab"}) {
      QTest::newRow(key) << key;
    }
  }

  void keysThatDoNotEditLeaveTheView() {
    QFETCH(QString, key);
    TTextPage page;
    page.setPlainText(NumberedLines(50));
    Press(page.view(), QKeySequence(key));
    QVERIFY(!page.isEditing());
    QCOMPARE(page.toPlainText(), NumberedLines(50));
  }
};

QTEST_MAIN(TTextPageTest)
#include "TTextPageTest.moc"
