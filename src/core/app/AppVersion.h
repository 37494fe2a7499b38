#pragma once

#include <QString>

namespace moque::app {

// The program version as decimal numbers joined by ".": 2 parts give major and
// minor, 3 add the release number, anything else adds release and build.
QString getAppVersion(int parts);

} // namespace moque::app
