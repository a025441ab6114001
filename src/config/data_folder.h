// The per-user data folder: where the settings file and the remembered
// column lists of the four views live.
//
//   $XDG_DATA_HOME/Corvane/Corvane Tessel Reader/      (Settings.cfg)
//       VP_ACT/  VP_WBS/  VP_PROJ/  VP_RES/            (column files)
//
// $XDG_DATA_HOME defaults to ~/.local/share. When the environment variable
// TESSEL_DATA_DIR is set (and not empty) it names the product folder itself,
// which keeps tests and portable installs away from the user's real home.
#pragma once

#include <filesystem>
#include <string_view>

namespace tessel::config {

// The product folder. Worked out on the first call of the process, which
// also creates it and its four view sub-folders where they are missing;
// later calls answer the same path without touching the disk. A folder that
// cannot be created is not reported: reading from it then finds nothing and
// writing into it fails silently.
const std::filesystem::path& data_folder();

// The sub-folder of one view, named by its key ("VP_ACT", "VP_WBS",
// "VP_PROJ" or "VP_RES").
std::filesystem::path view_folder(std::string_view view_key);

// "Settings.cfg" inside the product folder.
std::filesystem::path settings_file();

// Forgets the worked-out folder so that the next call works it out (and
// creates it) again from the current environment (tests).
void reset_data_folder();

}  // namespace tessel::config
