// "Параметры построения": quadrants to draw, divisions of a quarter arc, grid;
// the plate: its thickness, which faces the sizes measure, its material; and
// which development the exports cut and the figures measure.
#pragma once

#include <QDialog>
#include <array>

#include "fishApi/core/FishTypes.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/shop/PlateParams.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
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
  QCheckBox* CheckBox5 = nullptr;      // grid
  QLineEdit* ThicknessEdit = nullptr;  // t, in the project's unit
  QComboBox* RectFacesBox = nullptr;   // the faces the rectangle's sides measure
  QComboBox* RoundFacesBox = nullptr;  // the faces the radius measures
  QComboBox* MaterialBox = nullptr;
  QLineEdit* DensityEdit = nullptr;  // kg/m3; typed only for "другой"
  QRadioButton* PreciseRadio = nullptr;  // the pattern for cutting: "точная"
  QRadioButton* TableRadio = nullptr;    // "по таблицам"
  QPushButton* BitBtn1 = nullptr;    // OK
  QPushButton* BitBtn2 = nullptr;    // Отмена

  // Controls from the record, and the record from the controls; Reserved1 and
  // Reserved2 are never touched.
  void load(const fish::TProParams& pro);
  void store(fish::TProParams& pro) const;

  // The plate's controls, and the sizes it is checked against (a plate
  // thicker than a section leaves no neutral surface). storePlate gives the
  // plate that OK accepted.
  void loadPlate(const fish::TPlateParams& plate, const fish::TSystemParams& sizes);
  void storePlate(fish::TPlateParams& plate) const;

  // The development the exports cut and the figures measure; the unit the
  // thickness is typed in comes with it.
  void loadCutting(const fish::TCuttingParams& cutting);
  void storeCutting(fish::TCuttingParams& cutting) const;

 public slots:
  // OK refuses a number of divisions the engine cannot draw and a plate it
  // cannot develop, says why and keeps the dialog open for a correction.
  void accept() override;

 protected:
  // Another language: every caption and hint again.
  void changeEvent(QEvent* event) override;

 private:
  void retranslateUi();
  // The plate the controls show, or the reason it cannot be used and the
  // control to correct.
  bool readPlate(fish::TPlateParams& plate, QString& failure, QWidget*& field) const;
  void materialChosen();
  void showUnits();

  QLabel* plateTitle_ = nullptr;
  QLabel* cuttingTitle_ = nullptr;
  // The plate's captions: thickness, rectangle, circle, material, density.
  std::array<QLabel*, 5> plateLabels_{};
  fish::TSystemParams sizes_;
  fish::TPlateParams accepted_;
  fish::TUnits units_ = fish::TUnits::Millimetres;
};
