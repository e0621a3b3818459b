#pragma once
// One program per data file.
//
// The program takes an exclusive lock on a lock file beside the data file (data file + ".lock") for as long
// as it runs; the operating system drops the lock when the process ends, however it ends, so a crashed
// program never blocks the next start (a lock file left behind by a crash is not locked and is simply
// reused). The engine's own locks on the data file itself are left alone: this lock lives on a file of its
// own.
//
// What other code calls:
//   - the program, at start, before it connects:
//         if (!LockDataFile(path)) { ShowError(DataFileInUseText()); end without connecting; }
//     and ReleaseDataFile(path) when it is done with the file (optional: the end of the process does it too).
//   - every bookkeep-sql command that writes to a data file, before it opens it:
//         if (DataFileHeldElsewhere(path)) { print DataFileInUseText() on standard error; return 1; }
//     Commands that only read do not call it.
#include <QString>

// "仓库管理软件已经在运行，不能同时打开同一个数据文件！"
QString DataFileInUseText();

// Takes the data file for this process: true when taken (or already held by this process), false when
// another process holds it, exclusively or shared. In a folder where no lock file can be made (read-only)
// it returns true: nothing can write there anyway and the connection refuses the file.
bool LockDataFile(const QString& dataFile);

// Gives up this process's hold on the data file and removes the lock file when no one else holds it.
void ReleaseDataFile(const QString& dataFile);

// For tools: true when another process holds the data file exclusively (the program runs on it). When it
// returns false, this process keeps a shared hold until it ends or calls ReleaseDataFile, so that the
// program cannot start on the file while the tool writes; several tools may share it.
bool DataFileHeldElsewhere(const QString& dataFile);

// The lock file that belongs to a data file.
QString DataFileLockPath(const QString& dataFile);
