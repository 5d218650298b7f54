// A whole-number box with up and down buttons and no limits: typing takes
// only "+", "-" and digits (anything else beeps), the arrows step by 1, and
// a text that is no 32-bit whole number (empty, a lone "-") reads as 0.
#pragma once

#include <QAbstractSpinBox>

class TSpinEdit : public QAbstractSpinBox {
  Q_OBJECT

 public:
  explicit TSpinEdit(QWidget* parent = nullptr);

  int value() const;
  void setValue(int value);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  StepEnabled stepEnabled() const override;
};
