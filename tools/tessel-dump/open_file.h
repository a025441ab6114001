// Opening a schedule the way the viewer does, for the commands that show
// what the opened document holds.
#pragma once

#include <string>

#include "view/tessel_doc.h"

namespace tessel::dump {

// The path as given on the command line (UTF-8) in the viewer's UTF-16.
std::u16string path_arg(const std::string& arg);
// UTF-16 text as UTF-8 for printing.
std::string utf8(const std::u16string& text);

// Opens `path` into `doc`; answers the milliseconds it took, or -1 when the
// file was refused.
double open_timed(view::TesselDoc& doc, const std::string& path);

}  // namespace tessel::dump
