#include "TShemaForm.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "appcore/ErrorReport.h"
#include "appcore/ImageLists.h"
#include "fishApi/core/FishRazvertka.h"
#include "fishApi/shop/FlatPattern.h"
#include "report2d/TQuickReport1.h"

namespace {

// The sixteen colours of the classic palette; the picture uses no others.
QList<QRgb> sixteenColours() {
  return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
          qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
          qRgb(192, 192, 192), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
          qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

// The part the key is drawn for: five divisions (four inner arc points,
// R1..R4 or L1..L4), all four quadrants.
fish::TSystemParams schemeSizes() {
  fish::TSystemParams sp = fish::defaultSystemParams();
  sp.B = 120;
  sp.A = 80;
  sp.L = 60;
  sp.R = 45;
  return sp;
}

fish::TProParams schemeConstruction() {
  fish::TProParams pp = fish::defaultProParams();
  pp.Divisions = 5;
  pp.Quadrants = {1, 1, 1, 1};
  return pp;
}

// One quadrant's development, from the engine itself so the key matches the
// table.
fish::TRazvertka2PointArray piece(int quadrant) {
  return fish::developQuadrant(schemeSizes(), schemeConstruction(), static_cast<std::uint16_t>(quadrant)).Razvertka;
}

// Whether any part of the line lies inside the box.
bool crosses(const QLineF& line, const QRectF& box) {
  if (box.contains(line.p1()) || box.contains(line.p2())) return true;
  const QLineF sides[4] = {{box.topLeft(), box.topRight()},
                           {box.topRight(), box.bottomRight()},
                           {box.bottomRight(), box.bottomLeft()},
                           {box.bottomLeft(), box.topLeft()}};
  return std::any_of(std::begin(sides), std::end(sides),
                     [&](const QLineF& side) { return line.intersects(side, nullptr) == QLineF::BoundedIntersection; });
}

QFont labelFont() {
  QFont font = QGuiApplication::font();
  font.setPixelSize(11);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// World to picture: origin at the centre, 1.45 pixels per unit, Y up.
constexpr double kScale = 1.45;
QPointF pictureAt(const fish::TPoint2D& q) {
  return {TShemaForm::kWidth / 2.0 + double(q.X) * kScale, TShemaForm::kHeight / 2.0 - double(q.Y) * kScale};
}

}  // namespace

QList<TShemaForm::Label> TShemaForm::labels() {
  // The names of the results table at their points, each set off every line
  // of the picture that meets there: the outlines, the fan lines and the
  // axes through the point.
  struct Named {
    QString text;
    fish::TPoint2D at;
  };
  QList<Named> named;
  std::vector<std::pair<fish::TPoint2D, fish::TPoint2D>> lines;
  for (int q = 1; q <= 4; ++q) {
    const fish::TRazvertka2PointArray d = piece(q);
    const std::size_t m = d.size() - 1;
    std::vector<fish::TPoint2D> outline = {d[0].P1, d[1].P1, d[m].P2};
    for (std::size_t k = m; k-- > 0;) outline.push_back(d[k].P2);
    for (std::size_t i = 0; i < outline.size(); ++i) lines.emplace_back(outline[i], outline[(i + 1) % outline.size()]);
    for (std::size_t k = 1; k < m; ++k) lines.emplace_back(d[1].P1, d[k].P2);
    const bool right = q == 1 || q == 4;
    if (right) named.append({QStringLiteral("T1"), d[0].P2});  // the pieces share it on the Y axis
    for (std::size_t j = 2; j + 1 < m; ++j) named.append({QString(right ? "R%1" : "L%1").arg(j - 1), d[j].P2});
    named.append({right ? QStringLiteral("T2") : QStringLiteral("T7"), d[m - 1].P2});
    named.append({right ? QStringLiteral("T3") : QStringLiteral("T6"), d[m].P2});
    named.append({right ? QStringLiteral("T4") : QStringLiteral("T5"), d[1].P1});
  }
  // T1, between two other names and on the Y axis, takes what room is left.
  std::stable_partition(named.begin(), named.end(), [](const Named& n) { return n.text != QStringLiteral("T1"); });
  // The axes, drawn across the whole picture.
  const double far = kWidth / kScale;
  lines.push_back({{-far, 0}, {far, 0}});
  lines.push_back({{0, -far}, {0, far}});
  const QFontMetricsF metrics(labelFont());
  QList<Label> found;
  for (const Named& n : named) {
    std::vector<fish::Extended> directions;
    const auto leave = [&](const fish::TPoint2D& to) {
      if (to.X != n.at.X || to.Y != n.at.Y) directions.push_back(std::atan2(to.Y - n.at.Y, to.X - n.at.X));
    };
    for (const auto& [a, b] : lines) {
      if (a.X == n.at.X && a.Y == n.at.Y) leave(b);
      if (b.X == n.at.X && b.Y == n.at.Y) leave(a);
    }
    if (n.at.Y == 0) directions.insert(directions.end(), {0.0L, 3.14159265358979323846L});
    if (n.at.X == 0) directions.insert(directions.end(), {1.57079632679489661923L, -1.57079632679489661923L});
    // The widest free angle, or the next, or further out along the same
    // line, when a name or a line of the picture already stands there (T1
    // between the Y axis and L1 or R1).
    const QRectF ink = metrics.tightBoundingRect(n.text);
    const auto placed = [&](const fish::TPatternLabel& choice, double further) {
      const QPointF at = pictureAt(n.at);
      const QPointF c =
          at + (pictureAt(fish::labelCentre(choice, ink.width() / kScale, ink.height() / kScale)) - at) * further;
      return Label{n.text, c - ink.center(), ink.translated(c - ink.center())};
    };
    const auto clear = [&](const Label& tried) {
      const QRectF box = tried.box.adjusted(-1, -1, 1, 1);
      if (!QRectF(0, 0, kWidth, kHeight).contains(box)) return false;
      for (const auto& [a, b] : lines) {
        if (crosses(QLineF(pictureAt(a), pictureAt(b)), box)) return false;
      }
      return std::none_of(found.begin(), found.end(), [&](const Label& l) { return l.box.intersects(box); });
    };
    const std::vector<fish::TPatternLabel> choices = fish::labelChoices(n.text.toStdString(), n.at, directions);
    Label label = placed(choices.front(), 1);
    bool done = false;
    for (double further : {1.0, 1.5, 2.0, 2.5}) {
      for (std::size_t i = 0; i < choices.size() && !done; ++i) {
        if (const Label tried = placed(choices[i], further); clear(tried)) {
          label = tried;
          done = true;
        }
      }
    }
    found.append(label);
  }
  return found;
}

QImage TShemaForm::picture() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);  // no antialiasing: pure palette colours only
  p.setFont(labelFont());
  const QPointF origin(kWidth / 2.0, kHeight / 2.0);
  const auto at = pictureAt;

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
  }
  p.setPen(QColor(255, 0, 0));
  for (const Label& l : labels()) p.drawText(l.baseline, l.text);

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
  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QString());
  BitBtn2 = new QPushButton(vintaler::ImageList2(10), QString());
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
  retranslateUi();
}

void TShemaForm::retranslateUi() {
  setWindowTitle(tr("Схема размеров развертки"));
  BitBtn1->setText(tr("Закрыть"));
  BitBtn2->setText(tr("Печатать"));
}

void TShemaForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::LanguageChange) retranslateUi();
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
