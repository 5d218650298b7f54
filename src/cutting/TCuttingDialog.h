// "Раскрой": how the shop cuts the pattern. The development to cut (precise
// or the tables'), the seams round the transition that part it into pieces,
// the allowances added outside the net outline for joining, how the bend
// lines are marked (in full or by ticks) and whether the drawings write
// their angles; beside them a picture of the pieces these values give, made
// afresh as they change.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "fishApi/core/FishTypes.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/shop/FlatPattern.h"
#include "fishApi/shop/PlateParams.h"

class QCheckBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vintaler {

class TPatternPicture;

class TCuttingDialog : public QDialog {
  Q_OBJECT

 public:
  // The sizes as the project gives them and its plate: the pattern is
  // developed from them as the exports develop it.
  struct Sizes {
    fish::TSystemParams sp;
    fish::TPlateParams plate;
  };
  // `sizes` gives them when the picture is made; `pro` the quadrants and
  // divisions to develop.
  TCuttingDialog(std::function<Sizes()> sizes, const fish::TProParams& pro, QWidget* parent = nullptr);

  QRadioButton* PreciseRadio = nullptr;  // "точная"
  QRadioButton* TableRadio = nullptr;    // "по таблицам"
  QRadioButton* MmRadio = nullptr;       // "мм": the project's lengths in millimetres
  QRadioButton* InchRadio = nullptr;     // "дюймы": in inches
  // One box a seam place, in fish::TSeamAt's order.
  std::array<QCheckBox*, fish::kSeamPlaces> SeamBoxes{};
  QLineEdit* SeamFirstEdit = nullptr;   // mm, the edge of the piece that ends at a seam
  QLineEdit* SeamSecondEdit = nullptr;  // mm, the edge of the piece that starts there
  QLineEdit* RectEdit = nullptr;        // mm, the flange at the rectangular end
  QLineEdit* RoundEdit = nullptr;       // mm, the collar at the round end
  QRadioButton* FullMarksRadio = nullptr;  // "полностью": the bend lines drawn full
  QRadioButton* TicksRadio = nullptr;      // "засечки": ticks at both ends
  QLineEdit* TickEdit = nullptr;           // mm, the ticks' length; enabled for ticks only
  QCheckBox* AnglesBox = nullptr;          // "Углы гиба на чертеже"
  TPatternPicture* Picture = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;

  // The controls from `cutting`; cutting() gives what OK accepted (until
  // then the values loaded).
  void load(const fish::TCuttingParams& cutting);
  const fish::TCuttingParams& cutting() const { return accepted_; }

 public slots:
  // OK refuses a width that is no number, is negative or is wider than the
  // piece, a tick length that is no positive number (when ticks are
  // chosen), no seam at all and a piece that overlaps itself: it says why,
  // puts the focus on the control to correct and keeps the dialog open.
  void accept() override;

 protected:
  // Another language: every caption and hint again, and the picture's
  // message.
  void changeEvent(QEvent* event) override;

 private:
  void retranslateUi();
  // The values the controls show checked against the pattern of `pro`, or
  // the reason they are refused and the control to correct. An engine
  // failure that is not about cutting (sizes, divisions) refuses nothing; it
  // is given in `failure` all the same, with no control.
  bool check(const fish::TProParams& pro, fish::TCuttingParams& cutting, fish::TFlatPattern* pattern,
             QString& failure, QWidget*& field) const;
  // The picture and the seams' sketch for the values the controls show.
  void refresh();
  // The unit the controls show; the captions that name it, and a tick
  // length at the other unit's default turned into this one's.
  fish::TUnits shownUnits() const;
  void unitsChanged();

  std::function<Sizes()> sizes_;
  fish::TProParams pro_;
  fish::TCuttingParams accepted_;
  QLabel* sketch_ = nullptr;  // the seams chosen, round a small transition
  QLabel* patternLabel_ = nullptr;
  QLabel* tickLabel_ = nullptr;
  QLabel* unitsLabel_ = nullptr;
  fish::TUnits units_ = fish::TUnits::Millimetres;  // the unit the widths were typed in
  QGroupBox* seamsBox_ = nullptr;
  QGroupBox* widthsBox_ = nullptr;
  QGroupBox* bendsBox_ = nullptr;
  QFormLayout* widths_ = nullptr;
  bool loading_ = false;
};

}  // namespace vintaler
