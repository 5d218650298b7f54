#include "TCuttingDialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "TPatternPicture.h"
#include "appcore/ErrorReport.h"
#include "appcore/LocaleNumbers.h"
#include "appcore/ModalDialogs.h"
#include "fishApi/shop/FlatPattern.h"

namespace vintaler {

namespace {

QString utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The picture is some 300 pixels wide: finer divisions would not show, and
// typing must stay quick at any count.
constexpr int kPictureDivisions = 90;

// Where each seam place's box stands in the 3 x 3 grid round the sketch, as
// the places lie round the transition seen from the round end (+y up).
constexpr std::array<std::pair<int, int>, fish::kSeamPlaces> kSeamCell = {{
    {1, 2},  // +x
    {0, 2},  // c1
    {0, 1},  // +y
    {0, 0},  // c2
    {1, 0},  // -x
    {2, 0},  // c3
    {2, 1},  // -y
    {2, 2},  // c4
}};

// The transition seen from its round end, the rectangle round the circle,
// with each chosen seam drawn from the circle out to its place on the
// rectangle: the middle of a side, or a corner.
QPixmap seamsSketch(std::uint8_t seams) {
  constexpr int kSide = 44;
  QPixmap pixmap(kSide, kSide);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QPointF c(kSide / 2.0, kSide / 2.0);
  const double half = kSide / 2.0 - 4, radius = 9;
  p.setPen(QColor(31, 78, 121));
  p.setBrush(QColor(232, 241, 251));
  p.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, radius, radius);
  p.setPen(QPen(QColor(200, 30, 30), 2));
  for (int i = 0; i < fish::kSeamPlaces; ++i) {
    if (!(seams & fish::seamBit(static_cast<fish::TSeamAt>(i)))) continue;
    const double a = i * std::numbers::pi / 4;
    const QPointF dir(std::cos(a), -std::sin(a));
    const double reach = half / std::max(std::fabs(dir.x()), std::fabs(dir.y()));
    p.drawLine(c + dir * radius, c + dir * reach);
  }
  return pixmap;
}

QLineEdit* widthEdit() {
  auto* edit = new QLineEdit;
  edit->setMaximumWidth(80);
  return edit;
}

}  // namespace

TCuttingDialog::TCuttingDialog(std::function<Sizes()> sizes, const fish::TProParams& pro, QWidget* parent)
    : QDialog(parent), sizes_(std::move(sizes)), pro_(pro) {
  setUpToolDialog(*this, QString(), QSize(560, 300));

  // The development to cut, as the construction dialog offers it.
  auto* patternRow = new QHBoxLayout;
  patternLabel_ = new QLabel;
  patternRow->addWidget(patternLabel_);
  PreciseRadio = new QRadioButton;
  TableRadio = new QRadioButton;
  patternRow->addWidget(PreciseRadio);
  patternRow->addWidget(TableRadio);
  patternRow->addStretch(1);

  // The unit of every length of the project; its own row, so that its pair
  // is exclusive apart from the pattern's.
  auto* unitsRow = new QWidget;
  auto* units = new QHBoxLayout(unitsRow);
  units->setContentsMargins(0, 0, 0, 0);
  unitsLabel_ = new QLabel;
  MmRadio = new QRadioButton;
  InchRadio = new QRadioButton;
  units->addWidget(unitsLabel_);
  units->addWidget(MmRadio);
  units->addWidget(InchRadio);
  units->addStretch(1);

  // The seams round a sketch of the transition.
  seamsBox_ = new QGroupBox;
  auto* seamsGrid = new QGridLayout(seamsBox_);
  seamsGrid->setHorizontalSpacing(10);
  for (int i = 0; i < fish::kSeamPlaces; ++i) {
    auto* box = new QCheckBox;
    SeamBoxes[static_cast<std::size_t>(i)] = box;
    const auto [row, column] = kSeamCell[static_cast<std::size_t>(i)];
    seamsGrid->addWidget(box, row, column, column == 1 ? Qt::AlignCenter : Qt::Alignment());
  }
  sketch_ = new QLabel;
  sketch_->setAlignment(Qt::AlignCenter);
  seamsGrid->addWidget(sketch_, 1, 1);

  // The allowances.
  widthsBox_ = new QGroupBox;
  widths_ = new QFormLayout(widthsBox_);
  widths_->setLabelAlignment(Qt::AlignRight);
  SeamFirstEdit = widthEdit();
  SeamSecondEdit = widthEdit();
  RectEdit = widthEdit();
  RoundEdit = widthEdit();
  for (QLineEdit* edit : {SeamFirstEdit, SeamSecondEdit, RectEdit, RoundEdit}) {
    auto* caption = new QLabel;
    caption->setBuddy(edit);
    widths_->addRow(caption, edit);
  }

  // The bend lines: how they are marked, and their angles on the drawings.
  bendsBox_ = new QGroupBox;
  auto* bends = new QGridLayout(bendsBox_);
  FullMarksRadio = new QRadioButton;
  TicksRadio = new QRadioButton;
  TickEdit = widthEdit();
  AnglesBox = new QCheckBox;
  auto* marksRow = new QHBoxLayout;
  marksRow->addWidget(FullMarksRadio);
  marksRow->addWidget(TicksRadio);
  marksRow->addStretch(1);
  auto* tickRow = new QHBoxLayout;
  tickLabel_ = new QLabel;
  tickRow->addWidget(tickLabel_);
  tickRow->addWidget(TickEdit);
  tickRow->addStretch(1);
  bends->addLayout(marksRow, 0, 0);
  bends->addLayout(tickRow, 1, 0);
  bends->addWidget(AnglesBox, 2, 0);

  auto* left = new QVBoxLayout;
  left->addLayout(patternRow);
  left->addWidget(unitsRow);
  left->addWidget(seamsBox_);
  left->addWidget(widthsBox_);
  left->addWidget(bendsBox_);
  left->addStretch(1);

  Picture = new TPatternPicture;
  Picture->setObjectName(QStringLiteral("Picture"));

  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(Picture, 1);

  OkButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"));
  OkButton->setDefault(true);
  CancelButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QString());
  connect(OkButton, &QPushButton::clicked, this, &TCuttingDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // Tab order: the pattern, the seams in ring order, the widths, OK, Отмена.
  QWidgetList order{PreciseRadio, TableRadio, MmRadio, InchRadio};
  for (QCheckBox* box : SeamBoxes) order << box;
  order << SeamFirstEdit << SeamSecondEdit << RectEdit << RoundEdit << FullMarksRadio << TicksRadio << TickEdit
        << AnglesBox << OkButton << CancelButton;
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

  const auto changed = [this] {
    if (!loading_) runCommand(this, [this] { refresh(); });
  };
  connect(TableRadio, &QRadioButton::toggled, this, changed);
  for (QCheckBox* box : SeamBoxes) connect(box, &QCheckBox::toggled, this, changed);
  for (QLineEdit* edit : {SeamFirstEdit, SeamSecondEdit, RectEdit, RoundEdit, TickEdit}) {
    connect(edit, &QLineEdit::textChanged, this, changed);
  }
  connect(TicksRadio, &QRadioButton::toggled, TickEdit, &QWidget::setEnabled);
  connect(TicksRadio, &QRadioButton::toggled, this, changed);
  connect(AnglesBox, &QCheckBox::toggled, this, changed);
  connect(InchRadio, &QRadioButton::toggled, this, [this, changed] {
    if (loading_) return;
    unitsChanged();
    changed();
  });
  retranslateUi();
  load(fish::TCuttingParams{});
  PreciseRadio->setFocus();
}

void TCuttingDialog::retranslateUi() {
  setWindowTitle(tr("Раскрой"));
  patternLabel_->setText(tr("Развертка для раскроя:"));
  PreciseRadio->setText(utf8(fish::patternName(fish::TPatternKind::Precise)));
  TableRadio->setText(utf8(fish::patternName(fish::TPatternKind::Table)));
  seamsBox_->setTitle(tr("Швы"));
  seamsBox_->setToolTip(tr("Места швов вокруг перехода, вид со стороны круглого сечения.\n"
                           "Сколько швов, столько деталей"));
  for (int i = 0; i < fish::kSeamPlaces; ++i) {
    SeamBoxes[static_cast<std::size_t>(i)]->setText(utf8(fish::seamKey(static_cast<fish::TSeamAt>(i))));
  }
  unitsLabel_->setText(tr("Единицы:"));
  MmRadio->setText(tr("мм"));
  InchRadio->setText(tr("дюймы"));
  const bool inches = shownUnits() == fish::TUnits::Inches;
  widthsBox_->setTitle(inches ? tr("Припуски, дюймы") : tr("Припуски, мм"));
  const std::pair<QLineEdit*, std::pair<QString, QString>> widths[] = {
      {SeamFirstEdit,
       {tr("Припуск на шов: первая кромка"), tr("У кромки детали, которая кончается на шве (против часовой стрелки)")}},
      {SeamSecondEdit, {tr("вторая кромка"), tr("У кромки детали, которая начинается на шве")}},
      {RectEdit, {tr("Припуск у прямоугольного конца"), tr("Отбортовка у прямоугольного конца")}},
      {RoundEdit, {tr("Припуск у круглого конца"), tr("Манжета у круглого конца")}}};
  for (const auto& [edit, texts] : widths) {
    if (auto* caption = qobject_cast<QLabel*>(widths_->labelForField(edit))) caption->setText(texts.first);
    edit->setToolTip(texts.second);
  }
  bendsBox_->setTitle(tr("Линии гиба"));
  FullMarksRadio->setText(tr("полностью"));
  TicksRadio->setText(tr("засечки"));
  TicksRadio->setToolTip(tr("Только засечки у концов линий гиба, без разметки поперек детали"));
  tickLabel_->setText(inches ? tr("Длина засечки, дюймы") : tr("Длина засечки, мм"));
  TickEdit->setToolTip(tr("Длина засечки от каждого конца линии гиба"));
  AnglesBox->setText(tr("Углы гиба на чертеже"));
  AnglesBox->setToolTip(tr("Угол гиба у каждой линии гиба на чертежах PDF, SVG и листах печати,\n"
                           "где для надписи хватает места"));
  CancelButton->setText(tr("Отмена"));
}

void TCuttingDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::LanguageChange) return;
  retranslateUi();
  runCommand(this, [this] { refresh(); });
}

fish::TUnits TCuttingDialog::shownUnits() const {
  return InchRadio->isChecked() ? fish::TUnits::Inches : fish::TUnits::Millimetres;
}

void TCuttingDialog::unitsChanged() {
  const fish::TUnits now = shownUnits();
  // Compared as shown: the inch default has no short text to read back.
  if (TickEdit->text() == numberToText(fish::defaultTickLength(units_))) {
    TickEdit->setText(numberToText(fish::defaultTickLength(now)));
    TickEdit->setCursorPosition(0);  // the inch default's digits run past the field
  }
  units_ = now;
  retranslateUi();
}

void TCuttingDialog::load(const fish::TCuttingParams& cutting) {
  accepted_ = cutting;
  loading_ = true;
  (cutting.Pattern == fish::TPatternKind::Table ? TableRadio : PreciseRadio)->setChecked(true);
  (cutting.Units == fish::TUnits::Inches ? InchRadio : MmRadio)->setChecked(true);
  units_ = cutting.Units;
  for (int i = 0; i < fish::kSeamPlaces; ++i) {
    SeamBoxes[static_cast<std::size_t>(i)]->setChecked(cutting.Seams & fish::seamBit(static_cast<fish::TSeamAt>(i)));
  }
  const std::pair<QLineEdit*, fish::Extended> widths[] = {{SeamFirstEdit, cutting.SeamFirst},
                                                          {SeamSecondEdit, cutting.SeamSecond},
                                                          {RectEdit, cutting.RectAllowance},
                                                          {RoundEdit, cutting.RoundAllowance}};
  for (const auto& [edit, width] : widths) {
    try {
      edit->setText(numberToText(width));
    } catch (const fish::EFishError&) {
      edit->setText(QString());  // only a damaged project holds a width with no text
    }
  }
  const bool ticks = cutting.BendMarks == fish::TBendMarks::Ticks;
  (ticks ? TicksRadio : FullMarksRadio)->setChecked(true);
  TickEdit->setEnabled(ticks);
  try {
    TickEdit->setText(numberToText(cutting.TickLength));
  } catch (const fish::EFishError&) {
    TickEdit->setText(QString());
  }
  AnglesBox->setChecked(cutting.BendAngles);
  loading_ = false;
  retranslateUi();
  runCommand(this, [this] { refresh(); });
}

bool TCuttingDialog::check(const fish::TProParams& pro, fish::TCuttingParams& cutting, fish::TFlatPattern* pattern,
                           QString& failure, QWidget*& field) const {
  cutting = accepted_;  // with the choices this dialog does not show
  cutting.Pattern = TableRadio->isChecked() ? fish::TPatternKind::Table : fish::TPatternKind::Precise;
  cutting.Units = shownUnits();
  cutting.Seams = 0;
  for (int i = 0; i < fish::kSeamPlaces; ++i) {
    if (SeamBoxes[static_cast<std::size_t>(i)]->isChecked()) {
      cutting.Seams = static_cast<std::uint8_t>(cutting.Seams | fish::seamBit(static_cast<fish::TSeamAt>(i)));
    }
  }
  struct Width {
    QLineEdit* edit;
    fish::Extended fish::TCuttingParams::*value;
    const char* name;
  };
  const Width widths[] = {
      {SeamFirstEdit, &fish::TCuttingParams::SeamFirst, QT_TR_NOOP("Припуск на шов, первая кромка")},
      {SeamSecondEdit, &fish::TCuttingParams::SeamSecond, QT_TR_NOOP("Припуск на шов, вторая кромка")},
      {RectEdit, &fish::TCuttingParams::RectAllowance, QT_TR_NOOP("Припуск у прямоугольного конца")},
      {RoundEdit, &fish::TCuttingParams::RoundAllowance, QT_TR_NOOP("Припуск у круглого конца")}};
  const QString unit = utf8(fish::unitWord(cutting.Units));
  for (const Width& w : widths) {
    const auto value = textToNumber(w.edit->text());
    if (!value) {
      failure = tr("%1: ширина должна быть неотрицательным числом, %2").arg(tr(w.name), unit);
      field = w.edit;
      return false;
    }
    cutting.*w.value = *value;
  }
  // The tick length counts only for ticks: with full lines a length being
  // typed refuses nothing, and one that is no number keeps the length loaded.
  cutting.BendMarks = TicksRadio->isChecked() ? fish::TBendMarks::Ticks : fish::TBendMarks::Full;
  const auto tick = textToNumber(TickEdit->text());
  if (cutting.BendMarks == fish::TBendMarks::Ticks || (tick && *tick > 0 && std::isfinite(*tick))) {
    if (!tick) {
      failure = tr("Засечки линий гиба: длина должна быть положительным числом, %1").arg(unit);
      field = TickEdit;
      return false;
    }
    cutting.TickLength = *tick;
    const fish::Extended standard = fish::defaultTickLength(cutting.Units);
    if (TickEdit->text() == numberToText(standard)) cutting.TickLength = standard;
  }
  cutting.BendAngles = AnglesBox->isChecked();
  try {
    fish::checkCutting(cutting);
    const Sizes sizes = sizes_();
    fish::TFlatPattern made = fish::flatPattern(sizes.sp, sizes.plate, pro, cutting);
    if (pattern) *pattern = std::move(made);
  } catch (const fish::ECuttingError& e) {
    failure = QString::fromUtf8(e.what());
    switch (e.Field) {
      case fish::TCuttingField::Seams: field = SeamBoxes[0]; break;
      case fish::TCuttingField::SeamAllowance:
        // The seam's width at fault: a negative one, else the wider.
        field = !(cutting.SeamFirst >= 0) || (cutting.SeamSecond >= 0 && cutting.SeamFirst >= cutting.SeamSecond)
                    ? SeamFirstEdit
                    : SeamSecondEdit;
        break;
      case fish::TCuttingField::RectAllowance: field = RectEdit; break;
      case fish::TCuttingField::RoundAllowance: field = RoundEdit; break;
      case fish::TCuttingField::TickLength: field = TickEdit; break;
    }
    return false;
  } catch (const fish::EFishError& e) {
    // The sizes or the divisions fail whatever the cutting: their fault is
    // shown on the drawings, and the cutting values stand.
    failure = QString::fromUtf8(e.what());
    field = nullptr;
  }
  return true;
}

void TCuttingDialog::refresh() {
  fish::TProParams pro = pro_;
  pro.Divisions = std::min(pro.Divisions, kPictureDivisions);
  fish::TCuttingParams cutting;
  fish::TFlatPattern pattern;
  QString failure;
  QWidget* field = nullptr;
  const bool accepted = check(pro, cutting, &pattern, failure, field);
  sketch_->setPixmap(seamsSketch(cutting.Seams));
  if (failure.isEmpty() && accepted) {
    Picture->showPattern(std::move(pattern));
  } else {
    Picture->showMessage(failure);
  }
}

void TCuttingDialog::accept() {
  runCommand(this, [this] {
    fish::TCuttingParams cutting;
    QString failure;
    QWidget* field = nullptr;
    if (!check(pro_, cutting, nullptr, failure, field)) {
      reportError(this, failure);
      if (field) field->setFocus();
      if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
      return;
    }
    accepted_ = cutting;
    QDialog::accept();
  });
}

}  // namespace vintaler
