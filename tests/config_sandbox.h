// A test fixture that gives each test its own per-user data folder and
// layouts folder (never the real home), default settings and display
// preferences, fresh catalogs and predefined filters, and puts everything
// (the home and data-home variables too) back afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalog/field_catalog.h"
#include "config/data_folder.h"
#include "config/filters.h"
#include "config/settings.h"
#include "values/display_prefs.h"

class config_sandbox : public ::testing::Test {
 protected:
  explicit config_sandbox(std::string prefix) : prefix_(std::move(prefix)) {}

  void SetUp() override {
    for (const char* name : {"TESSEL_DATA_DIR", "TESSEL_LAYOUTS_DIR", "XDG_DATA_HOME", "HOME"}) {
      const char* v = std::getenv(name);
      saved_.push_back({name, v ? std::optional<std::string>(v) : std::nullopt});
    }
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::temp_directory_path() /
            (prefix_ + std::to_string(::getpid()) + "-" + info->name());
    std::filesystem::remove_all(root_);
    setenv("TESSEL_DATA_DIR", (root_ / "data").c_str(), 1);
    setenv("TESSEL_LAYOUTS_DIR", (root_ / "layouts").c_str(), 1);
    tessel::config::reset_data_folder();
    tessel::config::reset_settings();
    tessel::reset_prefs();
    tessel::catalog::build_catalogs();
    tessel::view::BuildPredefinedFilters(filters_);
  }
  void TearDown() override {
    filters_.clear();
    for (const auto& [name, value] : saved_) {
      if (value) setenv(name.c_str(), value->c_str(), 1);
      else unsetenv(name.c_str());
    }
    tessel::config::reset_data_folder();
    tessel::config::reset_settings();
    tessel::reset_prefs();
    tessel::catalog::reset_catalogs();
    std::filesystem::remove_all(root_);
  }

  // Layouts read from the ones the program ships instead of the sandbox's.
  static void use_shipped_layouts() { setenv("TESSEL_LAYOUTS_DIR", TESSEL_SOURCE_DIR "/Layouts", 1); }

  std::string prefix_;
  std::filesystem::path root_;
  tessel::view::filter_lists filters_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
