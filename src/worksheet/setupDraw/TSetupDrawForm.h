// "Область рисования": the six world bounds of a view, typed by hand.
#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class TSetupDrawForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSetupDrawForm(QWidget* parent = nullptr);

  // Edit1..Edit6: X min, X max, Y min, Y max, Z min, Z max.
  std::array<QLineEdit*, 6> Edits{};
  std::array<QLabel*, 6> Labels{};
  QPushButton* OKButton = nullptr;
  QPushButton* CancelButton = nullptr;

  // A plane view has no depth: the Z row is hidden (its fields still hold the
  // current Z bounds and are read back like the others).
  void hideZRow();
};
