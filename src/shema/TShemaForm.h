// "Схема размеров развертки": the key to the point names of the results
// table, shown on request and printable through the picture report.
#pragma once

#include <QDialog>
#include <QImage>
#include <QList>
#include <QRectF>

class QLabel;
class QPushButton;
class QWidget;

class TShemaForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWidth = 422;
  static constexpr int kHeight = 351;

  explicit TShemaForm(QWidget* parent = nullptr);

  QLabel* Image1 = nullptr;
  QWidget* Panel1 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // "Закрыть"
  QPushButton* BitBtn2 = nullptr;  // "Печатать"

  // The scheme picture: 422 x 351 pixels in 16 colours.
  static QImage picture();

  // A point name of the picture: its text, where its base line starts and
  // the box its ink fills, set off the lines that meet at its point.
  struct Label {
    QString text;
    QPointF baseline;
    QRectF box;
  };
  static QList<Label> labels();

  // Prints the picture through the report; does nothing while a report is open.
  void PrintShema();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Another language: the title and the buttons again.
  void changeEvent(QEvent* event) override;

 private:
  void retranslateUi();
};

// The one scheme window of the program, made on first request.
namespace vintaler {
TShemaForm* shemaFormInstance(QWidget* owner);
}  // namespace vintaler
