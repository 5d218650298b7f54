// The project window's way of getting the pattern onto metal: the flat
// pattern written as DXF, SVG or a full-size PDF through a file dialog, and
// printed at full size over sheets through a preview that cannot scale it.
#pragma once

#include <QString>

#include "fishApi/core/FishTypes.h"
#include "fishApi/shop/CuttingParams.h"
#include "fishApi/shop/PlateParams.h"

class QWidget;

namespace vintaler::exporting {

// What an export takes from a project.
struct Source {
  fish::TSystemParams sp;  // as the user gave them
  fish::TProParams pro;
  QString projectFileName;   // its base name titles the drawings and names the files
  fish::TPlateParams plate;  // the pattern is of the sizes developed for it
  fish::TCuttingParams cutting;  // and laid as the pattern chosen for cutting
};

enum class Format { Dxf, Svg, Pdf };

// Asks for the file (the format's filter, the project's name proposed, the
// folder of the last export), then makes the drawing and writes it
// atomically. Returns false when the user cancels. An engine failure or a
// file that cannot be written throws its error and writes nothing; an
// outline that crosses itself is written as drawn, and `crossing` says so.
bool exportPattern(QWidget* parent, const Source& source, Format format, bool& crossing);

// The full-size print: the paper (A4, A3, Letter) is chosen; a job of more
// than 50 sheets asks first ("492 листа A4 — печатать?"); then the sheets
// are shown in a preview titled "100 %", from which they go to a printer or
// a PDF file at exactly 100 %. Returns false when cancelled.
bool printFullSize(QWidget* parent, const Source& source, bool& crossing);

// The remembered folder of the exports, and the file name proposed for one.
QString exportFolder();
QString proposedFileName(const Source& source, Format format);

}  // namespace vintaler::exporting
