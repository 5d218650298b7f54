#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

#include "TestHost.h"
#include "fishApi/files/ProjectFile.h"
#include "support/GuiTestSupport.h"
#include "worksheet/TWorkForm.h"
#include "xPaintBox/TxPaintBox.h"

namespace {

QByteArray fileBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

QByteArray image(const fish::TProjectData& p) {
  const fish::TProjectImage img = fish::encodeProject(p);
  return QByteArray(reinterpret_cast<const char*>(img.data()), static_cast<int>(img.size()));
}

void write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

class ProjectWindowFileTest : public QObject {
  Q_OBJECT

  MessageRecorder recorder_;
  QStringList& errors_ = recorder_.messages;
  QTemporaryDir dir_;

  QString Path(const QString& name) const { return dir_.filePath(name); }

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }
  void init() { recorder_.Reset(); }

  void newProjectSavesAsTheReferenceImage() {
    TWorkForm form(nullptr);
    form.SaveProject(Path("new.raz"));
    QCOMPARE(fileBytes(Path("new.raz")), image(fish::newProjectData()));
    QCOMPARE(form.windowTitle(), "Проект (" + Path("new.raz") + ")[*]");
    QCOMPARE(form.ProjectFileName, Path("new.raz"));
  }

  void saveAndOpenRestoreEveryBit() {
    TWorkForm form(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Edits[2]->setText("33.3");
    form.Edits[4]->setText("-12.5");
    form.ProParams.Quadrants = {0, 0, 1, 1};
    form.ProParams.Divisions = 24;
    form.ShowRazvertka->trigger();
    form.ZoomIn->trigger();
    form.ScrollLeft->trigger();
    form.SaveProject(Path("trip.raz"));

    TWorkForm other(nullptr);
    other.LoadProject(Path("trip.raz"));
    QCOMPARE(image(other.projectData()), image(form.projectData()));
    QCOMPARE(other.Edits[2]->text(), QStringLiteral("33.3"));
    QCOMPARE(other.ProParams.Divisions, 24);
    QCOMPARE(other.xPaintBox2->MinX(), form.xPaintBox2->MinX());
    QCOMPARE(other.windowTitle(), "Проект (" + Path("trip.raz") + ")[*]");
    QVERIFY(errors_.isEmpty());
  }

  void paddingAndExtraBytes() {
    QByteArray bytes = image(fish::newProjectData());
    bytes[60] = 0x11;   // padding of the geometry record
    bytes[75] = 0x22;   // padding after the grid flag
    bytes[111] = 0x33;  // padding before Reserved2
    QByteArray longer = bytes + QByteArray(17, 'x');
    write(Path("long.raz"), longer);
    TWorkForm form(nullptr);
    form.LoadProject(Path("long.raz"));
    form.SaveProject(Path("long.raz"));
    QCOMPARE(fileBytes(Path("long.raz")), bytes);
  }

  void unreadableFilesChangeNothing() {
    TWorkForm form(nullptr);
    const QByteArray before = image(form.projectData());
    write(Path("short.raz"), QByteArray(100, '\0'));
    QVERIFY_THROWS_EXCEPTION(fish::EProjectFileError, form.LoadProject(Path("short.raz")));
    QVERIFY_THROWS_EXCEPTION(fish::EProjectFileError, form.LoadProject(Path("missing.raz")));
    QCOMPARE(image(form.projectData()), before);
    QCOMPARE(form.ProjectFileName, QStringLiteral("Nonename1"));
  }

  void saveDialogProposesTheNameAndAddsTheExtension() {
    TWorkForm form(nullptr);
    form.ProjectFileName = Path("proposed.raz");
    QString proposedDir;
    QString proposedName;
    vintaler::setModalRunner([&](QDialog& d) {
      auto& dialog = dynamic_cast<QFileDialog&>(d);
      proposedDir = dialog.directory().absolutePath();
      proposedName = dialog.findChild<QLineEdit*>("fileNameEdit")->text();
      dialog.selectFile(Path("chosen"));
      return int(QDialog::Accepted);
    });
    form.Save->trigger();
    QCOMPARE(proposedDir, QDir(dir_.path()).absolutePath());
    QCOMPARE(proposedName, QStringLiteral("proposed.raz"));
    QVERIFY(QFile::exists(Path("chosen.raz")));
    QCOMPARE(form.ProjectFileName, Path("chosen.raz"));
    QCOMPARE(QDir::currentPath(), QDir(dir_.path()).absolutePath());

    vintaler::setModalRunner([](QDialog&) { return int(QDialog::Rejected); });
    form.ProjectFileName = QStringLiteral("Nonename4");
    form.Save->trigger();
    QCOMPARE(form.ProjectFileName, QStringLiteral("Nonename4"));
  }

  // Saving onto a file that exists asks first; "No" shows the dialog again.
  void savingOverAFileAsksFirst() {
    TWorkForm form(nullptr);
    write(Path("old.raz"), "old");
    for (const int answer : {int(QMessageBox::No), int(QMessageBox::Yes)}) {
      QStringList seen;
      vintaler::setModalRunner([&](QDialog& d) {
        auto* box = qobject_cast<QMessageBox*>(&d);
        if (seen << (box ? box->text() : QString()); box) return answer;
        dynamic_cast<QFileDialog&>(d).selectFile(Path("old.raz"));
        return int(seen.size() > 1 ? QDialog::Rejected : QDialog::Accepted);
      });
      form.Save->trigger();
      QCOMPARE(seen.size(), answer == QMessageBox::No ? 3 : 2);
      QVERIFY(seen[1].contains(Path("old.raz")));
      QCOMPARE(fileBytes(Path("old.raz")) == "old", answer == QMessageBox::No);
    }
  }

  void failedSavesSaySoAndKeepTheName() {
    TWorkForm form(nullptr);
    write(Path("keep.raz"), image(fish::newProjectData()));
    QDir(dir_.path()).mkdir("folder.raz");
    for (const QString& target : {Path("folder.raz"), Path("no/such/dir.raz")}) {
      errors_.clear();
      vintaler::setModalRunner([&](QDialog& d) {
        dynamic_cast<QFileDialog&>(d).selectFile(target);
        return int(QDialog::Accepted);
      });
      form.Save->trigger();
      QCOMPARE(errors_.size(), 1);
      QVERIFY(errors_[0].contains(target));
      QCOMPARE(form.ProjectFileName, QStringLiteral("Nonename1"));
      QCOMPARE(form.windowTitle(), QStringLiteral("Проект (Nonename1)[*]"));
    }
  }

  void unusableDivisionsOpenAndShowTheReason() {
    fish::TProjectData p = fish::newProjectData();
    p.ProParams.Divisions = -7;
    write(Path("bad.raz"), image(p));
    TWorkForm form(nullptr);
    form.resize(500, 400);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.LoadProject(Path("bad.raz"));
    QVERIFY(errors_.isEmpty());
    const QImage view = form.xPaintBox1->canvasImage();
    int blue = 0;
    for (int y = 0; y < view.height(); ++y) {
      for (int x = 0; x < view.width(); ++x) blue += view.pixel(x, y) == qRgb(0, 0, 255);
    }
    QCOMPARE(blue, 0);
    form.ProParams.Divisions = 10;
    form.DrawAction->trigger();
    QVERIFY(errors_.isEmpty());
  }
};

QTEST_MAIN(ProjectWindowFileTest)
#include "ProjectWindowFileTest.moc"
