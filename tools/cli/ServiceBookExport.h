#pragma once
// `tarvelo-cli export --format pdf`: the service book the desktop program's "Save As" makes, here
// without a display (Qt's painting and fonts on the offscreen platform).

#include <string>

#include "tools/cli/CliSupport.h"

// Whether this build of tarvelo-cli can make the book (it needs Qt; the Qt-free builds cannot).
bool ServiceBookExportAvailable();

// Writes the book of list as a PDF file at path (a temporary file renamed at the end), with the
// VIN on its title (empty: a line to fill in). A failure to write prints "Cannot create file ..."
// and ends with 2.
void ExportServiceBookOrExit(const THistoryList& list, const std::string& path, const std::string& vin, TCliStreams& io);
