#pragma once
// The preset reminder texts: every statement on the table AlamContext.
#include <QString>

class TAlamContext {
public:
    // The text the dialogs set before Insert or Update; stored as typed.
    QString ReMark;

    void Insert();
    void Update(const QString& id);
    void Delete(const QString& id);

    // The list statement: columns Id and Remark, in the order the data file gives them.
    static QString ListSql();
};

extern TAlamContext* gAlamContext;
