#include "TProParamsForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <cmath>

#include "TSpinEdit.h"
#include "appcore/ErrorReport.h"
#include "appcore/LocaleNumbers.h"
#include "appcore/ModalDialogs.h"

namespace {

// The quadrants of the rectangle with quadrant 1 filled: which box is which.
QPixmap quadrantPicture() {
  QPixmap pixmap(21, 21);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(31, 78, 121));
  p.setBrush(QColor(232, 241, 251));
  p.drawRect(2, 4, 16, 12);
  p.fillRect(11, 5, 7, 5, QColor(91, 143, 199));
  p.setPen(QPen(QColor(30, 90, 200), 1, Qt::DashLine));
  p.drawLine(0, 10, 20, 10);
  p.drawLine(10, 0, 10, 20);
  return pixmap;
}

QCheckBox* checkBox(QWidget* parent, const char* caption, int x, int y, int w) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setGeometry(x, y, w, 17);
  return box;
}

QLabel* label(QWidget* parent, int y) {
  auto* l = new QLabel(parent);
  l->setGeometry(16, y + 3, 100, 15);
  return l;
}

// The face choices in the order of their codes' meaning for the user.
constexpr fish::TFaces kFaceChoices[] = {fish::TFaces::Mean, fish::TFaces::Inside, fish::TFaces::Outside};
constexpr fish::TMaterial kMaterialChoices[] = {fish::TMaterial::Steel,      fish::TMaterial::Stainless,
                                                fish::TMaterial::Aluminium,  fish::TMaterial::Copper,
                                                fish::TMaterial::Galvanised, fish::TMaterial::Other};

// The faces a size is measured on, as the choice reads: "по средней"
// (поверхности листа).
QString facesChoice(fish::TFaces faces) {
  switch (faces) {
    case fish::TFaces::Inside: return TProParamsForm::tr("по внутренней");
    case fish::TFaces::Outside: return TProParamsForm::tr("по наружной");
    case fish::TFaces::Mean: break;
  }
  return TProParamsForm::tr("по средней");
}

QComboBox* facesBox(QWidget* parent, int y) {
  auto* box = new QComboBox(parent);
  box->setGeometry(120, y, 124, 21);
  for (fish::TFaces f : kFaceChoices) box->addItem(QString(), static_cast<int>(f));
  return box;
}

QString utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

TProParamsForm::TProParamsForm(QWidget* parent) : QDialog(parent) {
  vintaler::setUpToolDialog(*this, QString(), QSize(260, 360));

  Label1 = new QLabel(this);
  Label1->move(16, 8);
  Image1 = new QLabel(this);
  Image1->setGeometry(16, 24, 21, 21);
  Image1->setPixmap(quadrantPicture());
  CheckBox2 = checkBox(this, "2", 48, 24, 41);
  CheckBox1 = checkBox(this, "1", 104, 24, 41);
  CheckBox3 = checkBox(this, "3", 48, 40, 49);
  CheckBox4 = checkBox(this, "4", 104, 40, 49);
  Label2 = new QLabel(this);
  Label2->move(16, 64);
  RxSpinEdit1 = new TSpinEdit(this);
  RxSpinEdit1->setGeometry(16, 80, 89, 21);
  CheckBox5 = checkBox(this, "", 16, 112, 177);

  // The plate, below the construction's own controls.
  plateTitle_ = new QLabel(this);
  plateTitle_->move(16, 138);
  plateLabels_[0] = label(this, 156);
  ThicknessEdit = new QLineEdit(this);
  ThicknessEdit->setGeometry(120, 156, 124, 21);
  plateLabels_[1] = label(this, 182);
  RectFacesBox = facesBox(this, 182);
  plateLabels_[2] = label(this, 208);
  RoundFacesBox = facesBox(this, 208);
  plateLabels_[3] = label(this, 234);
  MaterialBox = new QComboBox(this);
  MaterialBox->setGeometry(120, 234, 124, 21);
  for (fish::TMaterial m : kMaterialChoices) MaterialBox->addItem(QString(), static_cast<int>(m));
  plateLabels_[4] = label(this, 260);
  DensityEdit = new QLineEdit(this);
  DensityEdit->setGeometry(120, 260, 124, 21);
  connect(MaterialBox, &QComboBox::currentIndexChanged, this, [this] { materialChosen(); });

  // The pattern for cutting, below the plate: a title and its two choices on
  // one row, in the columns of the labels and the fields above.
  cuttingTitle_ = new QLabel(this);
  cuttingTitle_->move(16, 290);
  PreciseRadio = new QRadioButton(this);
  PreciseRadio->setGeometry(16, 308, 100, 17);
  TableRadio = new QRadioButton(this);
  TableRadio->setGeometry(120, 308, 124, 17);

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  BitBtn1->setGeometry(50, 332, 75, 25);
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QString(), this);
  BitBtn2->setGeometry(135, 332, 75, 25);
  connect(BitBtn1, &QPushButton::clicked, this, &TProParamsForm::accept);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  // Tab order: the controls top to bottom (1, 2, 3, 4, the divisions, the
  // grid, the plate, the pattern for cutting), then OK and Отмена.
  const QWidgetList order{CheckBox1,   CheckBox2,     CheckBox3,    CheckBox4,     RxSpinEdit1,
                          CheckBox5,   ThicknessEdit, RectFacesBox, RoundFacesBox, MaterialBox,
                          DensityEdit, PreciseRadio,  TableRadio,   BitBtn1,       BitBtn2};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  CheckBox1->setFocus();
  retranslateUi();
  loadPlate(fish::TPlateParams{}, fish::defaultSystemParams());
  loadCutting(fish::TCuttingParams{});
}

void TProParamsForm::retranslateUi() {
  setWindowTitle(tr("Параметры построения"));
  Label1->setText(tr("Квадранты прямоугольного сечения"));
  Label2->setText(tr("Число разбиений одного квдранта"));
  CheckBox5->setText(tr("Показывать сетку"));
  plateTitle_->setText(tr("Лист"));
  const char* const plateCaptions[] = {nullptr, QT_TR_NOOP("Прямоугольник"), QT_TR_NOOP("Круг"),
                                       QT_TR_NOOP("Материал"), QT_TR_NOOP("Плотность, кг/м³")};
  for (std::size_t i = 1; i < plateLabels_.size(); ++i) plateLabels_[i]->setText(tr(plateCaptions[i]));
  showUnits();
  ThicknessEdit->setToolTip(tr("Развертка строится по средней поверхности листа"));
  RectFacesBox->setToolTip(tr("По какой поверхности листа заданы стороны A и B"));
  RoundFacesBox->setToolTip(tr("По какой поверхности листа задан радиус R"));
  for (QComboBox* box : {RectFacesBox, RoundFacesBox}) {
    for (int i = 0; i < box->count(); ++i) box->setItemText(i, facesChoice(kFaceChoices[i]));
  }
  for (int i = 0; i < MaterialBox->count(); ++i) {
    MaterialBox->setItemText(i, utf8(fish::materialName(kMaterialChoices[i])));
  }
  const QString cuttingHint = tr(
      "Страница результатов и рисунки всегда показывают развертку по таблицам.\n"
      "Выбор определяет, что вырезают экспортированные файлы\nи что измеряют размеры для разметки");
  cuttingTitle_->setText(tr("Развертка для раскроя"));
  cuttingTitle_->setToolTip(cuttingHint);
  PreciseRadio->setText(utf8(fish::patternName(fish::TPatternKind::Precise)));
  TableRadio->setText(utf8(fish::patternName(fish::TPatternKind::Table)));
  for (QRadioButton* radio : {PreciseRadio, TableRadio}) radio->setToolTip(cuttingHint);
  BitBtn2->setText(tr("Отмена"));
  for (QLabel* title : {Label1, Label2, plateTitle_, cuttingTitle_}) title->adjustSize();
}

void TProParamsForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) retranslateUi();
}

void TProParamsForm::load(const fish::TProParams& pro) {
  CheckBox1->setChecked(pro.Quadrants[0] != 0);
  CheckBox2->setChecked(pro.Quadrants[1] != 0);
  CheckBox3->setChecked(pro.Quadrants[2] != 0);
  CheckBox4->setChecked(pro.Quadrants[3] != 0);
  CheckBox5->setChecked(pro.ShowGrid != 0);
  RxSpinEdit1->setValue(pro.Divisions);
}

void TProParamsForm::store(fish::TProParams& pro) const {
  pro.Quadrants = {CheckBox1->isChecked(), CheckBox2->isChecked(), CheckBox3->isChecked(), CheckBox4->isChecked()};
  pro.ShowGrid = CheckBox5->isChecked() ? 1 : 0;
  pro.Divisions = RxSpinEdit1->value();
}

void TProParamsForm::loadPlate(const fish::TPlateParams& plate, const fish::TSystemParams& sizes) {
  sizes_ = sizes;
  accepted_ = plate;
  ThicknessEdit->setText(vintaler::numberToText(plate.Thickness));
  RectFacesBox->setCurrentIndex(RectFacesBox->findData(static_cast<int>(plate.RectFaces)));
  RoundFacesBox->setCurrentIndex(RoundFacesBox->findData(static_cast<int>(plate.RoundFaces)));
  MaterialBox->setCurrentIndex(MaterialBox->findData(static_cast<int>(plate.Material)));
  DensityEdit->setText(vintaler::numberToText(plate.Density));
  materialChosen();
}

void TProParamsForm::storePlate(fish::TPlateParams& plate) const { plate = accepted_; }

void TProParamsForm::loadCutting(const fish::TCuttingParams& cutting) {
  (cutting.Pattern == fish::TPatternKind::Table ? TableRadio : PreciseRadio)->setChecked(true);
  units_ = cutting.Units;
  showUnits();
}

void TProParamsForm::showUnits() {
  plateLabels_[0]->setText(units_ == fish::TUnits::Inches ? tr("Толщина t, дюймы") : tr("Толщина t, мм"));
}

void TProParamsForm::storeCutting(fish::TCuttingParams& cutting) const {
  cutting.Pattern = TableRadio->isChecked() ? fish::TPatternKind::Table : fish::TPatternKind::Precise;
}

// A named material brings its density; only "другой" takes a typed one.
void TProParamsForm::materialChosen() {
  const auto material = static_cast<fish::TMaterial>(MaterialBox->currentData().toInt());
  const bool typed = material == fish::TMaterial::Other;
  if (!typed) DensityEdit->setText(vintaler::numberToText(fish::materialDensity(material)));
  DensityEdit->setEnabled(typed);
}

bool TProParamsForm::readPlate(fish::TPlateParams& plate, QString& failure, QWidget*& field) const {
  const auto thickness = vintaler::textToNumber(ThicknessEdit->text());
  if (!thickness) {
    failure = tr("Толщина листа должна быть числом");
    field = ThicknessEdit;
    return false;
  }
  plate.Thickness = *thickness;
  plate.RectFaces = static_cast<fish::TFaces>(RectFacesBox->currentData().toInt());
  plate.RoundFaces = static_cast<fish::TFaces>(RoundFacesBox->currentData().toInt());
  plate.Material = static_cast<fish::TMaterial>(MaterialBox->currentData().toInt());
  const auto density = vintaler::textToNumber(DensityEdit->text());
  if (!density) {
    failure = tr("Плотность материала должна быть числом");
    field = DensityEdit;
    return false;
  }
  plate.Density = *density;
  try {
    fish::checkPlate(plate);
    fish::developedParams(sizes_, plate, units_);
  } catch (const fish::EPlateError& e) {
    failure = QString::fromUtf8(e.what());
    field = e.Field == fish::TPlateField::Density    ? DensityEdit
            : e.Field == fish::TPlateField::Material ? static_cast<QWidget*>(MaterialBox)
            : e.Field == fish::TPlateField::Faces    ? static_cast<QWidget*>(RectFacesBox)
                                                     : ThicknessEdit;
    return false;
  } catch (const fish::EFishError& e) {
    failure = QString::fromUtf8(e.what());
    field = ThicknessEdit;
    return false;
  }
  return true;
}

void TProParamsForm::accept() {
  const int n = RxSpinEdit1->value();
  if (n < 1 || n > fish::kMaxDivisions) {
    vintaler::reportError(this, tr("Число разбиений должно быть от 1 до %1").arg(fish::kMaxDivisions));
    RxSpinEdit1->setFocus();
    return;
  }
  fish::TPlateParams plate;
  QString failure;
  QWidget* field = nullptr;
  if (!readPlate(plate, failure, field)) {
    vintaler::reportError(this, failure);
    field->setFocus();
    return;
  }
  accepted_ = plate;
  QDialog::accept();
}
