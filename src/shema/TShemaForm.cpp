#include "TShemaForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "appcore/ErrorReport.h"
#include "appcore/ImageLists.h"
#include "fishApi/FishRazvertka.h"
#include "report2d/TQuickReport1.h"

namespace {

// The sixteen colours of the classic palette; the picture uses no others.
QList<QRgb> sixteenColours() {
  return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
          qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
          qRgb(192, 192, 192), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
          qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

// One quadrant's development with five divisions (four inner arc points,
// R1..R4 or L1..L4), from the engine itself so the key matches the table.
fish::TRazvertka2PointArray piece(int quadrant) {
  fish::TSystemParams sp = fish::defaultSystemParams();
  sp.B = 120;
  sp.A = 80;
  sp.L = 60;
  sp.R = 45;
  fish::TProParams pp = fish::defaultProParams();
  pp.Divisions = 5;
  return fish::developQuadrant(sp, pp, static_cast<std::uint16_t>(quadrant)).Razvertka;
}

}  // namespace

QImage TShemaForm::picture() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);  // no antialiasing: pure palette colours only
  QFont font = p.font();
  font.setPixelSize(11);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);

  // World to picture: origin at the centre, 1.45 pixels per unit, Y up.
  const QPointF origin(kWidth / 2.0, kHeight / 2.0);
  const double scale = 1.45;
  auto at = [&](const fish::TPoint2D& q) {
    return QPointF(origin.x() + double(q.X) * scale, origin.y() - double(q.Y) * scale);
  };

  for (int q = 1; q <= 4; ++q) {
    const fish::TRazvertka2PointArray d = piece(q);
    const std::size_t m = d.size() - 1;
    // Outline: origin, corner, X-side midpoint, then back along the arc.
    QPolygonF outline;
    outline << at(d[0].P1) << at(d[1].P1) << at(d[m].P2);
    for (std::size_t k = m; k-- > 0;) outline << at(d[k].P2);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(192, 192, 192));
    p.drawPolygon(outline);
    for (std::size_t k = 1; k < m; ++k) p.drawLine(at(d[1].P1), at(d[k].P2));

    const bool right = q == 1 || q == 4;
    const bool up = q == 1 || q == 2;
    p.setPen(QColor(255, 0, 0));
    auto label = [&](const fish::TPoint2D& pt, const QString& text) {
      const QPointF c = at(pt);
      const double dx = right ? 3 : -3 - 6.5 * static_cast<double>(text.size());
      const double dy = up ? -4 : 13;
      p.drawText(c + QPointF(dx, dy), text);
    };
    if (right) label(d[0].P2, "T1");  // the pieces share it on the Y axis
    for (std::size_t j = 2; j + 1 < m; ++j) label(d[j].P2, QString(right ? "R%1" : "L%1").arg(j - 1));
    label(d[m - 1].P2, right ? "T2" : "T7");
    label(d[m].P2, right ? "T3" : "T6");
    label(d[1].P1, right ? "T4" : "T5");
  }

  // The axes through the common origin.
  p.setPen(QColor(0, 0, 255));
  p.drawLine(QPointF(6, origin.y()), QPointF(kWidth - 6, origin.y()));
  p.drawLine(QPointF(origin.x(), 6), QPointF(origin.x(), kHeight - 6));
  p.drawText(origin + QPointF(4, 13), QStringLiteral("0,0"));
  p.drawText(QPointF(kWidth - 14, origin.y() - 4), QStringLiteral("X"));
  p.drawText(QPointF(origin.x() + 4, 16), QStringLiteral("Y"));
  p.end();
  return image.convertToFormat(QImage::Format_Indexed8, sixteenColours(), Qt::ThresholdDither);
}

TShemaForm::TShemaForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Схема размеров развертки"));
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  Image1 = new QLabel;
  Image1->setPixmap(QPixmap::fromImage(picture()));
  Image1->setFixedSize(kWidth, kHeight);
  Image1->installEventFilter(this);

  Panel1 = new QWidget;
  Panel1->setFixedHeight(25);
  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Закрыть"));
  BitBtn2 = new QPushButton(vintaler::ImageList2(10), QStringLiteral("Печатать"));
  for (QPushButton* b : {BitBtn1, BitBtn2}) b->setFixedSize(90, 25);
  auto* buttons = new QHBoxLayout(Panel1);
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->setSpacing(0);
  buttons->addStretch(1);  // both buttons sit at the right end of the bar
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Image1);
  layout->addWidget(Panel1);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
  connect(BitBtn2, &QPushButton::clicked, this, [this] { vintaler::runCommand(this, [this] { PrintShema(); }); });
}

bool TShemaForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
    reject();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TShemaForm::PrintShema() {
  vintaler::printPictureReport(this, [] { return picture(); });
}

namespace vintaler {

TShemaForm* shemaFormInstance(QWidget* owner) {
  static QPointer<TShemaForm> form;
  if (!form) form = new TShemaForm(owner);
  return form;
}

}  // namespace vintaler
