// "Область рисования": the six world bounds of a view, typed by hand.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "fishApi/core/InputExplain.h"
#include "fishApi/view/FishView.h"

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

  // The fields from the bounds MinX, MaxX, MinY, MaxY, MinZ, MaxZ.
  void showBounds(const fish::TViewBounds& bounds);
  // The bounds from the fields, in their order, each taken as soon as its
  // text is read. A text that is not a number stops there, the bounds before
  // it already taken, and its message is returned: "'<text>' is not a valid
  // floating point value". Empty when every field was read.
  QString readBounds(fish::TViewBounds& bounds) const;

  // Why bounds read from the fields cannot be used for the view (equal
  // bounds, a span too wide); set by the window that opened the dialog.
  std::function<fish::TExplanation(const fish::TViewBounds&)> Check;

  // OK keeps the dialog open on a field that is not a number or on bounds
  // the view cannot use: the message names the field, which takes the focus.
  void accept() override;
};
