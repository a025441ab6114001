#include "config/data_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <system_error>

namespace tessel::config {
namespace {

namespace fs = std::filesystem;

constexpr const char* kViewFolders[] = {"VP_ACT", "VP_WBS", "VP_PROJ", "VP_RES"};

std::optional<fs::path>& cached_folder() {
  static std::optional<fs::path> folder;
  return folder;
}

// An environment variable's value, or nothing when it is unset or empty.
std::optional<std::string> env(const char* name) {
  const char* v = std::getenv(name);
  if (v == nullptr || *v == '\0') return std::nullopt;
  return std::string(v);
}

fs::path home_folder() {
  if (auto home = env("HOME")) return fs::path(*home);
  // No HOME (started from a service or a stripped environment): the
  // account's home from the password database.
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr &&
                                             *pw->pw_dir != '\0') {
    return fs::path(pw->pw_dir);
  }
  // Nowhere better to keep per-user files; the temporary folder at least
  // lets the program run and save for this session.
  std::error_code ec;
  fs::path tmp = fs::temp_directory_path(ec);
  return ec ? fs::path("/tmp") : tmp;
}

fs::path work_out_folder() {
  if (auto dir = env("TESSEL_DATA_DIR")) return fs::path(*dir);
  fs::path base;
  // A relative XDG_DATA_HOME is not usable (it would depend on the folder
  // the program was started from), so it is ignored like an unset one.
  if (auto xdg = env("XDG_DATA_HOME"); xdg && fs::path(*xdg).is_absolute()) {
    base = fs::path(*xdg);
  } else {
    base = home_folder() / ".local" / "share";
  }
  return base / "Corvane" / "Corvane Tessel Reader";
}

}  // namespace

const fs::path& data_folder() {
  std::optional<fs::path>& folder = cached_folder();
  if (!folder) {
    folder = work_out_folder();
    std::error_code ec;  // failures stay silent; see the header
    fs::create_directories(*folder, ec);
    for (const char* sub : kViewFolders) fs::create_directories(*folder / sub, ec);
  }
  return *folder;
}

fs::path view_folder(std::string_view view_key) { return data_folder() / view_key; }

fs::path settings_file() { return data_folder() / "Settings.cfg"; }

void reset_data_folder() { cached_folder().reset(); }

}  // namespace tessel::config
