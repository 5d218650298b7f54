#include "TCuttingDialog.h"

#include <QCheckBox>
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

QLineEdit* widthEdit(const QString& hint) {
  auto* edit = new QLineEdit;
  edit->setToolTip(hint);
  edit->setMaximumWidth(80);
  return edit;
}

}  // namespace

TCuttingDialog::TCuttingDialog(std::function<Sizes()> sizes, const fish::TProParams& pro, QWidget* parent)
    : QDialog(parent), sizes_(std::move(sizes)), pro_(pro) {
  setUpToolDialog(*this, QStringLiteral("Раскрой"), QSize(560, 300));

  // The development to cut, as the construction dialog offers it.
  auto* patternRow = new QHBoxLayout;
  patternRow->addWidget(new QLabel(QStringLiteral("Развертка для раскроя:")));
  PreciseRadio = new QRadioButton(utf8(fish::patternName(fish::TPatternKind::Precise)));
  TableRadio = new QRadioButton(utf8(fish::patternName(fish::TPatternKind::Table)));
  patternRow->addWidget(PreciseRadio);
  patternRow->addWidget(TableRadio);
  patternRow->addStretch(1);

  // The seams round a sketch of the transition.
  auto* seamsBox = new QGroupBox(QStringLiteral("Швы"));
  seamsBox->setToolTip(QStringLiteral("Места швов вокруг перехода, вид со стороны круглого сечения.\n"
                                      "Сколько швов, столько деталей"));
  auto* seamsGrid = new QGridLayout(seamsBox);
  seamsGrid->setHorizontalSpacing(10);
  for (int i = 0; i < fish::kSeamPlaces; ++i) {
    auto* box = new QCheckBox(utf8(fish::seamKey(static_cast<fish::TSeamAt>(i))));
    SeamBoxes[static_cast<std::size_t>(i)] = box;
    const auto [row, column] = kSeamCell[static_cast<std::size_t>(i)];
    seamsGrid->addWidget(box, row, column, column == 1 ? Qt::AlignCenter : Qt::Alignment());
  }
  sketch_ = new QLabel;
  sketch_->setAlignment(Qt::AlignCenter);
  seamsGrid->addWidget(sketch_, 1, 1);

  // The allowances.
  auto* widthsBox = new QGroupBox(QStringLiteral("Припуски, мм"));
  auto* widths = new QFormLayout(widthsBox);
  widths->setLabelAlignment(Qt::AlignRight);
  SeamFirstEdit = widthEdit(QStringLiteral("У кромки детали, которая кончается на шве (против часовой стрелки)"));
  SeamSecondEdit = widthEdit(QStringLiteral("У кромки детали, которая начинается на шве"));
  RectEdit = widthEdit(QStringLiteral("Отбортовка у прямоугольного конца"));
  RoundEdit = widthEdit(QStringLiteral("Манжета у круглого конца"));
  widths->addRow(QStringLiteral("Припуск на шов: первая кромка"), SeamFirstEdit);
  widths->addRow(QStringLiteral("вторая кромка"), SeamSecondEdit);
  widths->addRow(QStringLiteral("Припуск у прямоугольного конца"), RectEdit);
  widths->addRow(QStringLiteral("Припуск у круглого конца"), RoundEdit);

  // The bend lines: how they are marked, and their angles on the drawings.
  auto* bendsBox = new QGroupBox(QStringLiteral("Линии гиба"));
  auto* bends = new QGridLayout(bendsBox);
  FullMarksRadio = new QRadioButton(QStringLiteral("полностью"));
  TicksRadio = new QRadioButton(QStringLiteral("засечки"));
  TicksRadio->setToolTip(QStringLiteral("Только засечки у концов линий гиба, без разметки поперек детали"));
  TickEdit = widthEdit(QStringLiteral("Длина засечки от каждого конца линии гиба"));
  AnglesBox = new QCheckBox(QStringLiteral("Углы гиба на чертеже"));
  AnglesBox->setToolTip(QStringLiteral("Угол гиба у каждой линии гиба на чертежах PDF, SVG и листах печати,\n"
                                       "где для надписи хватает места"));
  auto* marksRow = new QHBoxLayout;
  marksRow->addWidget(FullMarksRadio);
  marksRow->addWidget(TicksRadio);
  marksRow->addStretch(1);
  auto* tickRow = new QHBoxLayout;
  tickRow->addWidget(new QLabel(QStringLiteral("Длина засечки, мм")));
  tickRow->addWidget(TickEdit);
  tickRow->addStretch(1);
  bends->addLayout(marksRow, 0, 0);
  bends->addLayout(tickRow, 1, 0);
  bends->addWidget(AnglesBox, 2, 0);

  auto* left = new QVBoxLayout;
  left->addLayout(patternRow);
  left->addWidget(seamsBox);
  left->addWidget(widthsBox);
  left->addWidget(bendsBox);
  left->addStretch(1);

  Picture = new TPatternPicture;
  Picture->setObjectName(QStringLiteral("Picture"));

  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(Picture, 1);

  OkButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"));
  OkButton->setDefault(true);
  CancelButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Отмена"));
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
  QWidgetList order{PreciseRadio, TableRadio};
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
  load(fish::TCuttingParams{});
  PreciseRadio->setFocus();
}

void TCuttingDialog::load(const fish::TCuttingParams& cutting) {
  accepted_ = cutting;
  loading_ = true;
  (cutting.Pattern == fish::TPatternKind::Table ? TableRadio : PreciseRadio)->setChecked(true);
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
  runCommand(this, [this] { refresh(); });
}

bool TCuttingDialog::check(const fish::TProParams& pro, fish::TCuttingParams& cutting, fish::TFlatPattern* pattern,
                           QString& failure, QWidget*& field) const {
  cutting = accepted_;  // with the choices this dialog does not show
  cutting.Pattern = TableRadio->isChecked() ? fish::TPatternKind::Table : fish::TPatternKind::Precise;
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
  const Width widths[] = {{SeamFirstEdit, &fish::TCuttingParams::SeamFirst, "Припуск на шов, первая кромка"},
                          {SeamSecondEdit, &fish::TCuttingParams::SeamSecond, "Припуск на шов, вторая кромка"},
                          {RectEdit, &fish::TCuttingParams::RectAllowance, "Припуск у прямоугольного конца"},
                          {RoundEdit, &fish::TCuttingParams::RoundAllowance, "Припуск у круглого конца"}};
  for (const Width& w : widths) {
    const auto value = textToNumber(w.edit->text());
    if (!value) {
      failure = QString::fromUtf8(w.name) + QStringLiteral(": ширина должна быть неотрицательным числом, мм");
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
      failure = QStringLiteral("Засечки линий гиба: длина должна быть положительным числом, мм");
      field = TickEdit;
      return false;
    }
    cutting.TickLength = *tick;
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
