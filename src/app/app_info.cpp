#include "app/app_info.h"

#include <QFileInfo>

#ifndef TESSEL_VERSION_MAJOR
#define TESSEL_VERSION_MAJOR 0
#define TESSEL_VERSION_MINOR 0
#define TESSEL_VERSION_PATCH 0
#endif
#ifndef TESSEL_BUILD_NUMBER
#define TESSEL_BUILD_NUMBER 0
#endif

namespace tessel::app {

QString version_line() {
  return QString::asprintf("Version: %d.%d.%d Build: %d", TESSEL_VERSION_MAJOR, TESSEL_VERSION_MINOR,
                           TESSEL_VERSION_PATCH, TESSEL_BUILD_NUMBER);
}

QString help_url() { return QStringLiteral("https://corvane.example/tessel-reader/help"); }

QString website_url() { return QStringLiteral("https://corvane.example/tessel-reader"); }

QString window_title(const QString& path) {
  if (path.isEmpty()) return app_title;
  return QFileInfo(path).fileName() + QStringLiteral(" - ") + app_title;
}

}  // namespace tessel::app
