// Opening a schedule the way the viewer does, for the commands that show
// what the opened document holds.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/xer/text_encoding.h"
#include "view/tessel_doc.h"

namespace tessel::dump {

// The path as given on the command line (UTF-8) in the viewer's UTF-16.
std::u16string path_arg(const std::string& arg);
// UTF-16 text as UTF-8 for printing.
std::string utf8(const std::u16string& text);

// Takes the global option "--encoding NAME" (or "--encoding=NAME") out of
// `args`, wherever it stands. Answers false, after a message on stderr, when
// the name is missing or unknown.
bool take_encoding_option(std::vector<std::string>& args);
// The encoding XER text of `path` is read in: the one given with
// --encoding, else the one the viewer remembers for the file, else none
// (the bytes decide).
std::optional<document::text_encoding> encoding_for(const std::string& path);

// Opens `path` into `doc` the way the viewer does, in the encoding given
// with --encoding if there was one (which is not remembered); answers the
// milliseconds it took, or -1 when the file was refused.
double open_timed(view::TesselDoc& doc, const std::string& path);
// Why the last open of `path` by open_timed was refused; empty when it was
// not, or when another path was opened since.
std::u16string last_refusal(const std::string& path);

}  // namespace tessel::dump
