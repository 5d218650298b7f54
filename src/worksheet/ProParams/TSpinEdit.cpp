#include "TSpinEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <limits>

#include "fishApi/core/NumText.h"

namespace {
bool allowed(QChar c) { return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-'); }
}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setAccelerated(false);
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
  setValue(0);
}

int TSpinEdit::value() const {
  std::int32_t v = 0;
  if (!fish::textToInt32(lineEdit()->text().toStdString(), v)) return 0;
  return v;
}

void TSpinEdit::setValue(int value) { lineEdit()->setText(QString::number(value)); }

void TSpinEdit::stepBy(int steps) {
  const long long next = static_cast<long long>(value()) + steps;
  if (next < std::numeric_limits<int>::min() || next > std::numeric_limits<int>::max()) return;
  setValue(static_cast<int>(next));
  lineEdit()->selectAll();
}

QValidator::State TSpinEdit::validate(QString& input, int&) const {
  for (QChar c : input) {
    if (!allowed(c)) return QValidator::Invalid;
  }
  return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const { return StepUpEnabled | StepDownEnabled; }

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    for (QChar c : text) {
      if (!allowed(c)) {
        QApplication::beep();
        event->accept();
        return;
      }
    }
  }
  // Enter and Esc belong to the dialog's OK and Cancel buttons.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  QAbstractSpinBox::keyPressEvent(event);
}
