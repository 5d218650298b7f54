// "О программе": one picture with an OK button over it.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  QLabel* Image1 = nullptr;
  QPushButton* OKButton = nullptr;

  // The picture: the program's name over a small wire model of a transition.
  static QPixmap picture();

 protected:
  // Another language: the title and the picture's words again.
  void changeEvent(QEvent* event) override;

 private:
  void retranslateUi();
};
