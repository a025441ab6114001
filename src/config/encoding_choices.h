// The text encodings the user chose for particular files, so that a file
// opens the next time the way it was last read. Kept in "Encodings.cfg" in
// the per-user data folder.
//
// The file is plain text, one line per file: the encoding's name, a TAB and
// the file's absolute path, in which '%', TAB, CR and LF are written as
// "%25", "%09", "%0D" and "%0A". Later lines win; lines that do not have
// this form are skipped. It is replaced as a whole, through a temporary
// file, every time a choice changes. Only the latest choices are kept (see
// kRememberedFiles); older ones are forgotten.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessel::config {

inline constexpr size_t kRememberedFiles = 500;

// "Encodings.cfg" inside the product folder.
std::filesystem::path encodings_file();

// The name of the encoding remembered for the file at `path` (any form of
// the path that names the same file: relative, with "." or ".."), or none.
std::optional<std::string> remembered_encoding(const std::filesystem::path& path);

// Remembers `encoding` for the file at `path`, replacing an earlier choice.
// A failure to write is not reported; the choice is then simply not kept.
void remember_encoding(const std::filesystem::path& path, std::string_view encoding);

// Forgets the choice for the file at `path`, if there is one.
void forget_encoding(const std::filesystem::path& path);

}  // namespace tessel::config
