// The drawings painted by Qt (SVG, full-size PDF, tiles) live in a module
// of their own, loaded only by a command that asks for one: the results
// text and the DXF export start and run without Qt's painting in memory.
#pragma once

#include "CliApp.h"

namespace vintaler::cli {

// The module's one entry point, looked up by this name. It makes the Qt
// application painting needs (off screen unless the user chose a platform)
// and fills `painted`; the module's titles speak `language` ("ru" or "en"),
// the language the program applied. Called once.
using OpenPaintedExports = void (*)(PaintedExports& painted, char* programName, const char* language);
inline constexpr const char* kOpenPaintedExports = "vintalerOpenPaintedExports";
// Takes the Qt application down again, before the program's static objects.
using ClosePaintedExports = void (*)();
inline constexpr const char* kClosePaintedExports = "vintalerClosePaintedExports";

// The module's file name, beside the program in the build folder and in
// VINTALER_PAINTED_DIR (relative to the program's folder) once installed.
inline constexpr const char* kPaintedModuleName = "vintaler-painted.so";

}  // namespace vintaler::cli
