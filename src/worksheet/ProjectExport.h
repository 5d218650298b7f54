// The export commands of a project window: the flat pattern of the project's
// records as DXF, SVG, a full-size PDF, or printed at full size over sheets.
#pragma once

class TWorkForm;

namespace vintaler {

class IProjectHost;

// The status-bar warning for an outline that crosses itself.
extern const char* const kCrossingWarning;

// Connects the export actions of `form`. A failure is reported like every
// command's; a pattern whose outline crosses itself is written as drawn and
// `host` (if any) shows kCrossingWarning in the status bar.
void setUpProjectExport(TWorkForm& form, IProjectHost* host);

}  // namespace vintaler
