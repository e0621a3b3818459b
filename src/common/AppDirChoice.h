#pragma once
// Where the program keeps its data file, daily logs and safety copy (AppDir). Run from where it was built,
// the program keeps them beside itself; installed, it cannot write its own folder and uses the user's data
// folder.
#include <QString>

// What the choice looks at, gathered in one place so that tests can give their own.
struct TAppDirFacts {
    QString ExeDir;        // the executable's folder
    bool ExeDirWritable;   // whether this user may create files there
    QString InstallBinDir; // the folder an installed program lives in (empty: none known)
    QString XdgDataHome;   // $XDG_DATA_HOME as set; empty or relative counts as unset
    QString HomeDir;       // the user's home folder
};

// The facts of this process: the executable's folder and the environment.
TAppDirFacts CurrentAppDirFacts();

// $XDG_DATA_HOME/bookkeep, or ~/.local/share/bookkeep, with a trailing separator.
QString UserDataAppDir(const TAppDirFacts& facts);

// True when the program keeps its files in the user's data folder: its own folder is the install folder or
// cannot be written. Even root, who can write /usr/bin, keeps no data file there.
bool UsesUserDataAppDir(const TAppDirFacts& facts);

// The executable's folder or the user's data folder, with a trailing separator.
QString ChooseAppDir(const TAppDirFacts& facts);
