// "Параметры построения": quadrants to draw, divisions of a quarter arc, grid.
#pragma once

#include <QDialog>

#include "fishApi/FishTypes.h"

class QCheckBox;
class QLabel;
class QPushButton;
class TSpinEdit;

class TProParamsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TProParamsForm(QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;
  QLabel* Image1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;  // quadrant 1, upper right
  QCheckBox* CheckBox2 = nullptr;  // quadrant 2, upper left
  QCheckBox* CheckBox3 = nullptr;  // quadrant 3, lower left
  QCheckBox* CheckBox4 = nullptr;  // quadrant 4, lower right
  QLabel* Label2 = nullptr;
  TSpinEdit* RxSpinEdit1 = nullptr;
  QCheckBox* CheckBox5 = nullptr;  // grid
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Отмена

  // Controls from the record, and the record from the controls; Reserved1 and
  // Reserved2 are never touched.
  void load(const fish::TProParams& pro);
  void store(fish::TProParams& pro) const;

 public slots:
  // OK refuses a number of divisions the engine cannot draw and keeps the
  // dialog open for a correction.
  void accept() override;
};
