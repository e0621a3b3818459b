#pragma once
// The database engine behind the data file: one SQLite connection that runs the program's Jet SQL, and
// result sets that hold their rows in memory.
#include "common/Currency.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class TResultSet;

class TDatabase {
public:
    TDatabase() = default;
    ~TDatabase();
    TDatabase(const TDatabase&) = delete;
    TDatabase& operator=(const TDatabase&) = delete;

    // Opens an existing data file and checks that it is ours and that the password matches.
    // Throws EEngineError with the engine's text otherwise; never creates a file. checkOnly opens the file
    // only to see that it is a data file with this password, changing nothing in it.
    // At open the engine runs its quick check (a damaged file is refused) and refuses a file or folder it
    // cannot write.
    void Open(const QString& path, const QString& password, bool checkOnly = false);
    void Close();
    bool Connected() const { return m_db != nullptr; }
    const QString& Path() const { return m_path; }

    // Runs exactly one statement that returns no rows; text holding a second statement is refused.
    // Each ? in the statement takes the next value of params, bound as a value, never spliced into the text.
    void Execute(const QString& jetSql, const QVariantList& params = {});
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;
    // Rows changed by the last statement.
    int RowsAffected() const;

    // The file it opened is the file it writes: before each write transaction (and each commit) the engine
    // checks that the path still names the file as the engine itself left it (device, inode, size, times).
    // Otherwise the write is refused with "数据文件已被其他程序移动、删除或替换，请重新启动程序。" and so is
    // every later one until the file is opened again. Code that writes the file by other means (another
    // connection, a file copy) opens it again afterwards, or calls AcceptFileAsIs().
    void CheckFileUnchanged();
    bool FileLost() const { return m_lost; }
    void AcceptFileAsIs();

    // Moves everything committed into the data file itself, so that a byte copy of it is complete.
    void Checkpoint();
    // Removes the engine's log files beside a closed data file (before another file is copied over it).
    static void RemoveSideFiles(const QString& path);

    // Writes a compacted copy of the open file to destPath (which must not exist).
    void CompactInto(const QString& destPath);

    // Makes a new, empty data file from the schema text; refuses an existing path.
    static void CreateFile(const QString& path, const QString& password, const QString& schemaSql);

    sqlite3* Handle() const { return m_db; }
    // Prepares translated SQL; refuses trailing statements. The caller finalizes.
    sqlite3_stmt* Prepare(const QString& jetSql, bool translate = true);
    [[noreturn]] void Fail() const;

    // Result sets register themselves so that closing the connection closes them.
    void Attach(TResultSet* rs);
    void Detach(TResultSet* rs);

private:
    struct TFileStamp {
        bool valid = false;
        unsigned long long dev = 0, ino = 0;
        long long size = 0, mtimeNs = 0, ctimeNs = 0;
        bool operator==(const TFileStamp& o) const {
            return valid == o.valid && dev == o.dev && ino == o.ino && size == o.size &&
                   mtimeNs == o.mtimeNs && ctimeNs == o.ctimeNs;
        }
    };
    static TFileStamp StampOf(const QString& path);
    void LoseFile();
    static int CommitHook(void* self);
    static int WalHook(void* self, sqlite3* db, const char* name, int frames);

    sqlite3* m_db = nullptr;
    QString m_path;
    TFileStamp m_stamp;
    bool m_lost = false;
    std::vector<TResultSet*> m_resultSets;
};

// One field of the current row of a result set.
class TField {
public:
    TField(const TResultSet* rs, int column) : m_rs(rs), m_col(column) {}
    QString FieldName() const;
    bool IsNull() const;
    QString AsString() const;
    int AsInteger() const;
    int64_t AsLargeInt() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;
    TCurrency AsCurrency() const;
    QVariant Value() const;
    int Index() const { return m_col; }

private:
    const TResultSet* m_rs;
    int m_col;
};

// What a column's declared type says its values are; General for a computed column, which declares none.
// Number follows SQLite's integer, real and numeric affinities (INTEGER, REAL, NUMBER, CURRENCY, ...).
enum class TFieldKind { General, DateTime, Boolean, Number, Text };

class TResultSet {
public:
    explicit TResultSet(TDatabase* db);
    ~TResultSet();
    TResultSet(const TResultSet&) = delete;
    TResultSet& operator=(const TResultSet&) = delete;

    // The statement the result set holds and the values of its ? placeholders; Open runs it. On failure the
    // result set stays closed and empty.
    QString CommandText;
    QVariantList Params;
    void Open(const QString& jetSql, const QVariantList& params = {});
    void Open();
    void Close();
    void Requery();
    bool Active() const { return m_active; }

    // Navigation in the current order.
    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const { return int(m_order.size()); }
    int RecNo() const {
        return m_pos >= 0 && m_pos < RecordCount() ? m_pos + 1 : 0;
    }                     // 1-based; 0 off the rows
    void MoveTo(int row); // 0-based position in the current order

    int FieldCount() const { return int(m_names.size()); }
    const QStringList& FieldNames() const { return m_names; }
    int FindField(const QString& name) const; // -1 when missing; names compare without case
    TField FieldByName(const QString& name) const;
    TField Fields(int index) const;
    TFieldKind FieldKind(int column) const { return m_kinds[size_t(column)]; }

    // Direct access for grids and totals: row in the current order, column by position.
    QString Text(int row, int column) const;
    QVariant Value(int row, int column) const;
    bool IsNull(int row, int column) const;
    // True when the value is stored as an integer or a real, not as text.
    bool IsNumeric(int row, int column) const;

    // "field" or "field DESC"; empty restores the order of the statement.
    void SetSort(const QString& sortText);
    const QString& Sort() const { return m_sort; }

    // Updatable results over one table: append a row or edit the current one, set fields, post.
    void Append();
    void Edit();
    void SetFieldValue(const QString& name, const QVariant& value);
    void Post();
    void Cancel();
    bool Editing() const { return m_state != State::Browse; }

    // Called after the rows were replaced, reordered or closed (grids follow the result set through it).
    int Subscribe(std::function<void()> listener);
    void Unsubscribe(int id);

private:
    friend class TField;
    friend class TDatabase;
    enum class State { Browse, Edit, Insert };
    struct Cell {
        int64_t value; // integer, bits of a double, or offset into the text arena
        uint32_t length;
        uint8_t type; // SQLITE_INTEGER / FLOAT / TEXT / BLOB / NULL
    };

    void Clear();
    void Notify();
    void LoadRow(sqlite3_stmt* stmt, std::vector<Cell>& cells, std::string& arena) const;
    const Cell& CellAt(int row, int column) const;
    const Cell& CurrentCell(int column) const;
    QString CellText(const Cell& c, int column) const;
    QVariant CellValue(const Cell& c) const;
    double CellDouble(const Cell& c) const;
    void CheckColumn(int column) const;
    void RereadRow(int64_t rowid, size_t physicalRow);

    TDatabase* m_db;
    bool m_active = false;
    QStringList m_names;
    std::vector<TFieldKind> m_kinds;
    std::vector<std::string> m_originColumns; // table columns behind each field, for updates
    QString m_table;                          // the one table behind the fields, if any
    std::vector<Cell> m_cells;                // row-major, physical order
    std::string m_arena;
    size_t m_garbage = 0;     // bytes of the arena no cell points at any more
    std::vector<int> m_order; // display order → physical row
    int m_pos = -1;
    QString m_sort;
    State m_state = State::Browse;
    std::map<int, QVariant> m_pending;
    std::map<int, std::function<void()>> m_listeners;
    int m_nextListener = 1;
};
