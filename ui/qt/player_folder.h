// Where an installed quillmar keeps the player's files. The window reads
// default.txt and pokemon.dat from, and writes result.txt into, its working
// directory; started from the desktop menu that would be the home folder. So
// an installed window works in a folder of the player's own,
// $XDG_DATA_HOME/quillmar (by default ~/.local/share/quillmar), filled on first
// start with the shipped data files. A window run from a build folder is not
// installed and keeps the working directory it was started in.
#pragma once

#include <QString>

namespace quillmarqt {

// The shipped data folder when the executable in `exeDir` sits in an installed
// layout (PREFIX/bin/quillmar beside PREFIX/share/quillmar/pokemon.dat), else "".
QString installedDataDir(const QString& exeDir);

// $XDG_DATA_HOME/quillmar, or ~/.local/share/quillmar when it is unset.
QString playerFolder();

// Creates `folder` when missing and copies into it each shipped data file it
// does not hold yet; files already there (the player's own) are kept as they
// are. True when the folder holds every data file afterwards.
bool fillPlayerFolder(const QString& shippedDir, const QString& folder);

// For main(): an installed window fills the player folder and makes it the
// working directory. On failure the reason goes to stderr and the working
// directory stays as it was. A window that is not installed changes nothing.
void enterPlayerFolder(const QString& exeDir);

}  // namespace quillmarqt
