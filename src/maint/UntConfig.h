#pragma once
// The program's settings: the login password, kept in the one row of SysSet.
#include <QString>

class TConfig {
public:
    bool bPass = false;
    QString PassWord;
    // The statement Load or Save built last.
    QString LastSql;

    // Reads bPass and PassWord; a table without a row gives false and empty.
    void Load();
    // Writes both values, exactly as they are, to every row of SysSet.
    void Save();
};

extern TConfig* gConfig;
