// The program's name, version line and addresses, shown by the File page's
// Info panel and the About box.
#pragma once

#include <QString>

namespace tessel::app {

inline const QString app_title = QStringLiteral("Corvane Tessel Reader");
inline const QString organisation = QStringLiteral("Corvane");

// "Version: 0.1.0 Build: 0" from the project version and the configured
// build number.
QString version_line();
QString help_url();
QString website_url();

// "FILE - Corvane Tessel Reader" with a file open (its file name only), the
// bare program name without.
QString window_title(const QString& path);

}  // namespace tessel::app
