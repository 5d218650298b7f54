#include "TProParamsForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

#include "TSpinEdit.h"
#include "appcore/ErrorReport.h"
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

}  // namespace

TProParamsForm::TProParamsForm(QWidget* parent) : QDialog(parent) {
  vintaler::setUpToolDialog(*this, QStringLiteral("Параметры построения"), QSize(230, 163));

  Label1 = new QLabel(QStringLiteral("Квадранты прямоугольного сечения"), this);
  Label1->move(16, 8);
  Label1->adjustSize();
  Image1 = new QLabel(this);
  Image1->setGeometry(16, 24, 21, 21);
  Image1->setPixmap(quadrantPicture());
  CheckBox2 = checkBox(this, "2", 48, 24, 41);
  CheckBox1 = checkBox(this, "1", 104, 24, 41);
  CheckBox3 = checkBox(this, "3", 48, 40, 49);
  CheckBox4 = checkBox(this, "4", 104, 40, 49);
  Label2 = new QLabel(QStringLiteral("Число разбиений одного квдранта"), this);
  Label2->move(16, 64);
  Label2->adjustSize();
  RxSpinEdit1 = new TSpinEdit(this);
  RxSpinEdit1->setGeometry(16, 80, 89, 21);
  CheckBox5 = checkBox(this, "", 16, 112, 177);
  CheckBox5->setText(QStringLiteral("Показывать сетку"));

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  BitBtn1->setGeometry(40, 136, 75, 25);
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Отмена"), this);
  BitBtn2->setGeometry(120, 136, 75, 25);
  connect(BitBtn1, &QPushButton::clicked, this, &TProParamsForm::accept);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

  // Tab order: 1, 2, 3, 4, the divisions, OK, Отмена, the grid.
  setTabOrder(CheckBox1, CheckBox2);
  setTabOrder(CheckBox2, CheckBox3);
  setTabOrder(CheckBox3, CheckBox4);
  setTabOrder(CheckBox4, RxSpinEdit1);
  setTabOrder(RxSpinEdit1, BitBtn1);
  setTabOrder(BitBtn1, BitBtn2);
  setTabOrder(BitBtn2, CheckBox5);
  CheckBox1->setFocus();
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

void TProParamsForm::accept() {
  const int n = RxSpinEdit1->value();
  if (n < 1 || n > fish::kMaxDivisions) {
    vintaler::reportError(this, QStringLiteral("Число разбиений должно быть от 1 до %1").arg(fish::kMaxDivisions));
    RxSpinEdit1->setFocus();
    return;
  }
  QDialog::accept();
}
