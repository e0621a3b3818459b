#pragma once
// Cutting a batch text into its statements.
#include <QString>
#include <QStringList>

// Cuts text at every separator that stands outside quoted text ('...' or "...", a doubled quote standing
// for itself) and outside [bracketed] names, so that a separator typed into a text stays part of it. Empty
// pieces remain, as with SplitText. Linear in the length of the text.
QStringList SplitBatch(const QString& text, const QString& separator);

// Whether a statement begins, ends or nests a transaction (BEGIN, COMMIT, END, ROLLBACK, SAVEPOINT,
// RELEASE); such a statement inside a batch would end the batch's own transaction early.
bool IsTransactionStatement(const QString& statement);
