#pragma once
// An installed program's first start: its data folder and an empty data file are made for it.
#include <QString>

// Makes dir (with its parents) and a new, empty "bookkeep.dat" in it when there is none; an existing file is
// never touched. Returns false when the folder or the file could not be made; connecting then fails and says
// so.
bool EnsureDataFile(const QString& dir);

struct TAppDirFacts;

// Before connecting: when AppDir is the user's data folder (an installed program), makes sure it holds a data
// file. Run from the build folder nothing is made, as the build placed the file there.
void PrepareAppDir(const TAppDirFacts& facts);
