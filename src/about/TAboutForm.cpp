#include "TAboutForm.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <cmath>

namespace {
constexpr int kPictureWidth = 314;
constexpr int kPictureHeight = 130;
}  // namespace

QPixmap TAboutForm::picture() {
  QPixmap pixmap(kPictureWidth, kPictureHeight);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, kPictureHeight);
  sky.setColorAt(0, QColor(232, 241, 251));
  sky.setColorAt(1, QColor(197, 216, 236));
  p.fillRect(pixmap.rect(), sky);

  // A rectangle-to-round transition in oblique view: rectangle below, circle
  // above, generator lines between them.
  const QPointF rect[4] = {{22, 86}, {82, 86}, {100, 72}, {40, 72}};
  p.setPen(QPen(QColor(31, 78, 121), 1.4));
  p.setBrush(QColor(255, 255, 255, 160));
  p.drawPolygon(rect, 4);
  const QPointF centre(64, 30);
  const double rx = 24;
  const double ry = 8;
  p.drawEllipse(centre, rx, ry);
  p.setPen(QPen(QColor(31, 78, 121), 0.8));
  for (int i = 0; i < 16; ++i) {
    const double t = i * M_PI / 8;
    const QPointF top(centre.x() + rx * std::cos(t), centre.y() + ry * std::sin(t));
    const QPointF& corner = rect[(i / 4 + 1) % 4];
    p.drawLine(top, corner);
  }

  p.setPen(QColor(31, 78, 121));
  QFont title = p.font();
  title.setPointSize(17);
  title.setBold(true);
  p.setFont(title);
  p.drawText(QRectF(120, 12, 190, 30), Qt::AlignLeft | Qt::AlignVCenter, tr("Винталер 1.0"));
  QFont body = p.font();
  body.setPointSize(8);
  body.setBold(false);
  p.setFont(body);
  p.drawText(QRectF(120, 44, 190, 44), Qt::AlignLeft | Qt::TextWordWrap,
             tr("Развертка перехода с прямоугольного сечения на круглое"));
  return pixmap;
}

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(kPictureWidth, kPictureHeight);

  Image1 = new QLabel(this);
  Image1->setGeometry(0, 0, kPictureWidth, kPictureHeight);

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setGeometry(123, 99, 75, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  retranslateUi();
}

void TAboutForm::retranslateUi() {
  setWindowTitle(tr("О программе"));
  Image1->setPixmap(picture());
}

void TAboutForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) retranslateUi();
}
