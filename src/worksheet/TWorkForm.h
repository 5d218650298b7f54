// One project: its two records, the six parameter fields, and four pages
// (vintaler::Page: the 3-D wire model, the development, the numeric results,
// the figures for marking out). Every change ends in the one redraw,
// DrawAction, which draws the page shown from the records. The components
// are made by TWorkFormUi; this class wires them.
#pragma once

#include <QWidget>

#include "ProjectDrawing.h"
#include "ProjectPage.h"
#include "TWorkFormUi.h"
#include "fishApi/core/FishTypes.h"
#include "fishApi/core/InputExplain.h"
#include "fishApi/files/ProjectFile.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/shop/PlateParams.h"
#include "fishApi/view/FishView.h"

class QImage;

namespace fish {
class TDrawSurface;
}

namespace vintaler {
class IProjectHost;
class TextPages;
}  // namespace vintaler

class TWorkForm : public QWidget, public TWorkFormUi, public vintaler::IProjectView {
  Q_OBJECT

 public:
  explicit TWorkForm(vintaler::IProjectHost* host, QWidget* parent = nullptr);

  // Project state.
  fish::TSystemParams SystemParams;
  fish::TProParams ProParams;
  // The plate: the pictures, pages and exports are of the sizes developed for it.
  fish::TPlateParams Plate;
  // How the exports cut the pattern and what the figures measure.
  fish::TCuttingParams Cutting;
  QString ProjectFileName;
  TxPaintBox* ActiveBox = nullptr;

  // Reads the six fields into SystemParams and redraws. An invalid field turns
  // red and the whole record keeps its previous values. True if all were valid.
  bool GetSystemInfo();
  // Writes SystemParams into the six fields, then redraws once.
  void setSysInfo();

  // The redraw: the surface in ActiveBox while its page is shown (otherwise
  // it is drawn when its page shows again), and the results page while it is
  // shown. A failure is drawn on the view itself; with `report` (a command
  // the user ran) it is also shown once in a message box.
  void redraw(bool report);

  // The view in ActiveBox drawn afresh, on ActiveBox itself or on `surface`
  // (with the same engine pass); an engine failure is thrown.
  void drawView(fish::TDrawSurface* surface = nullptr);

  // The view drawn once more into the surface's off-screen bitmap (black
  // 1-pixel lines on white, the view's pixel size); the screen's picture is
  // drawn again afterwards, also when the drawing fails.
  QImage renderViewBitmap();

  // The sizes the pattern is developed from (fish::developedParams); a plate
  // that leaves no neutral surface throws its error.
  fish::TSystemParams developedParams() const;

  // The page shown in PageControl1.
  vintaler::Page activePage() const;
  void setActivePage(vintaler::Page page);
  // A text page (results or figures) is shown, not a drawing.
  bool textPageShown() const { return vintaler::isTextPage(activePage()); }

  // vintaler::IProjectView, for the print and export commands.
  QWidget* commandWindow() override { return this; }
  vintaler::Page shownPage() const override { return activePage(); }
  vintaler::TextPages& textPages() override { return *texts_; }
  const TxPaintBox* drawingView() const override { return ActiveBox; }
  void drawViewOn(fish::TDrawSurface& surface) override { drawView(&surface); }
  vintaler::exporting::Source exportSource() const override;

  // The accuracy warning of the records as they are (empty while the pattern
  // is accurate enough), as the status bar shows it.
  const QString& accuracyWarning() const { return accuracyWarning_; }

  // The views' canvases released while the window is not the one worked in:
  // what stays of it costs its widgets and the pictures' kept segments alone.
  // A view that shows again is drawn afresh from its segments.
  void releaseViewBuffers();

  // Sets the caption "Проект (<name>)", with "*" while the project is modified.
  void updateCaption();

  // Modified: a field, the construction or drawing parameters, the plate or
  // the pattern for cutting changed since the project was opened or saved (isWindowModified). A
  // modified window asks before it closes: Сохранить, Не сохранять, Отмена.
  // saveChanges writes the project to its file, or through the Save dialog
  // when it has none yet; false when that dialog is cancelled or the file
  // cannot be written (reported).
  bool saveChanges();
  // The name the questions give the project: its file's name, or "NonenameN".
  QString displayName() const;

  // The project file: both records and both views' world windows. Saving
  // names the window after the file; a failure throws fish::EProjectFileError
  // and changes nothing. Loading reads the whole file first: a file that
  // cannot be read changes nothing either.
  void SaveProject(const QString& fileName);
  void LoadProject(const QString& fileName);
  fish::TProjectData projectData() const;
  void applyProject(const fish::TProjectData& project, const QString& fileName);

  // The command handlers.
  void ScrollLeftExecute();
  void ScrollRightExecute();
  void ScrollUpExecute();
  void ScrollDownExecute();
  void ZoomInExecute();
  void ZoomOutExecute();
  void AutoScaleExecute();
  void SetupDrawActionExecute();
  void ShowProParamsActionExecute();
  // "Раскрой": OK takes the dialog's values into Cutting.
  void ShowCuttingExecute();
  void SaveExecute();
  void SelectAllExecute();
  void CopyExecute();
  void SetFontExecute();
  void PrintActionExecute();
  void ShowShemaExecute();

  // The pointer's world position over the development, "x: y" in tenths.
  void xPaintBox2MouseMove(int x, int y);
  void xPaintBox2MouseLeave();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Another language: the captions, the title, the pages and the warning
  // are said again in it.
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Tab goes round the window's own controls (vintaler::focusNextInProject).
  bool focusNextPrevChild(bool next) override;

 private:
  void connectCommands();
  void connectComponents();
  void Edit1Change();
  void Image1DblClick();
  void TabSheet1Show();
  void TabSheet2Show();
  void TabSheet3Show();
  void TabSheet4Show();
  // Works out the accuracy warning once the picture is on screen.
  void scheduleAccuracyCheck();
  void checkAccuracy();
  // Tints the fields of `inputs` (a failure's inputs to change); the others
  // lose the tint, a field whose text is not a number keeps its red.
  void markBlamedFields(const std::vector<fish::TInput>& inputs);
  void checkPage(QAction* checked);
  void ShowSystemParamsExecute();
  void DrawActionExecute();
  // One scroll or zoom step of ActiveBox's world window, then the redraw.
  void navigate(fish::TViewMove move);

  vintaler::IProjectHost* host_ = nullptr;
  // The pictures and the results text of the records, kept until they change.
  vintaler::ProjectDrawing drawing_;
  vintaler::TextPages* texts_ = nullptr;  // the results and the figures pages
  QString accuracyWarning_;
  bool accuracyPending_ = false;
  QString explanation_;  // which input made the last picture fail, empty when it was drawn
  bool filling_ = false;
  bool shownOnce_ = false;
  bool hasFile_ = false;  // opened from or saved to ProjectFileName
};
