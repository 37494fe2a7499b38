#pragma once

namespace moque::app {
class AppCore;
}

namespace moque::cli {

// Upgrades the data file and the package skeleton of an earlier version to
// this version's structure, as the upgrade window does, after backing the
// data file up. Prints one line for each change and the backup's path, or
// "nothing to upgrade"; exit code 1 with the reason when it fails or is refused.
int runUpgrade(app::AppCore &core);

} // namespace moque::cli
