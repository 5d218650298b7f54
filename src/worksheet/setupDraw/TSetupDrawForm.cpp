#include "TSetupDrawForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "appcore/ErrorReport.h"
#include "appcore/LocaleNumbers.h"
#include "appcore/ModalDialogs.h"
#include "fishApi/core/FishErrors.h"

TSetupDrawForm::TSetupDrawForm(QWidget* parent) : QDialog(parent) {
  vintaler::setUpToolDialog(*this, tr("Область рисования"), QSize(280, 141));

  const char* const captions[6] = {"X min", "X max", "Y min", "Y max", "Z min", "Z max"};
  for (int i = 0; i < 6; ++i) {
    const int row = i / 2;
    const int column = i % 2;
    auto* label = new QLabel(QString::fromLatin1(captions[i]), this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(8 + column * 136, 10 + row * 28, 40, 21);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
    edit->setGeometry(52 + column * 136, 10 + row * 28, 84, 21);
    label->setBuddy(edit);
    Labels[static_cast<std::size_t>(i)] = label;
    Edits[static_cast<std::size_t>(i)] = edit;
  }
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setGeometry(60, 106, 75, 25);
  OKButton->setDefault(true);
  CancelButton = new QPushButton(tr("Отмена"), this);
  CancelButton->setGeometry(145, 106, 75, 25);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TSetupDrawForm::hideZRow() {
  for (std::size_t i : {4u, 5u}) {
    Labels[i]->hide();
    Edits[i]->hide();
  }
}

void TSetupDrawForm::showBounds(const fish::TViewBounds& bounds) {
  for (std::size_t i = 0; i < Edits.size(); ++i) {
    try {
      Edits[i]->setText(vintaler::numberToText(bounds[i]));
    } catch (const fish::EFishError&) {
      Edits[i]->clear();  // a damaged bound has no text
    }
    // A long number shows its sign and integer part; the field would
    // otherwise scroll to its last digits.
    Edits[i]->setCursorPosition(0);
  }
}

QString TSetupDrawForm::readBounds(fish::TViewBounds& bounds) const {
  for (std::size_t i = 0; i < Edits.size(); ++i) {
    const QString text = Edits[i]->text();
    const auto v = vintaler::textToNumber(text);
    if (!v) return QStringLiteral("'%1' is not a valid floating point value").arg(text);
    bounds[i] = *v;
  }
  return {};
}

void TSetupDrawForm::accept() {
  fish::TViewBounds bounds{};
  for (std::size_t i = 0; i < Edits.size(); ++i) {
    const auto v = vintaler::textToNumber(Edits[i]->text());
    if (!v) {
      vintaler::reportError(this, tr("%1: «%2» не является числом").arg(Labels[i]->text(), Edits[i]->text()));
      Edits[i]->setFocus();
      return;
    }
    bounds[i] = *v;
  }
  if (Check) {
    const fish::TExplanation why = Check(bounds);
    if (!why.empty()) {
      vintaler::reportError(this, QString::fromStdString(why.Message.text()));
      const auto first = static_cast<std::size_t>(why.Inputs.front()) - static_cast<std::size_t>(fish::TInput::MinX);
      if (first < Edits.size()) Edits[first]->setFocus();
      return;
    }
  }
  QDialog::accept();
}
