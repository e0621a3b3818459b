#include "data/Engine.h"

#include "common/UException.h"
#include "data/EngineInternal.h"
#include "data/JetFunctions.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace engine_detail {

QString QuoteIdent(const std::string& name) {
    QString n = QString::fromStdString(name);
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

void BindVariant(sqlite3_stmt* stmt, int index, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(stmt, index, v.toBool() ? -1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        sqlite3_bind_int64(stmt, index, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, index, v.toDouble());
        break;
    case QMetaType::QDateTime:
        sqlite3_bind_double(stmt, index, DateTimeToDays(v.toDateTime()));
        break;
    case QMetaType::QDate:
        sqlite3_bind_double(stmt, index, DateTimeToDays(QDateTime(v.toDate(), QTime(0, 0))));
        break;
    default: {
        const QByteArray u = v.toString().toUtf8();
        sqlite3_bind_text(stmt, index, u.constData(), u.size(), SQLITE_TRANSIENT);
    }
    }
}

void BindParams(sqlite3_stmt* stmt, const QVariantList& params) {
    if (sqlite3_bind_parameter_count(stmt) != params.size())
        throw EEngineError(QStringLiteral("The statement has %1 parameters but %2 values were given.")
                               .arg(sqlite3_bind_parameter_count(stmt))
                               .arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        BindVariant(stmt, i + 1, params[i]);
}

} // namespace engine_detail

using namespace engine_detail;

namespace {

QString NotFound(const QString& name) {
    return QStringLiteral(
               "Item cannot be found in the collection corresponding to the requested name or ordinal: ") +
           name;
}

// The declared type's kind, by SQLite's affinity rules (a DATETIME column has numeric affinity but holds day
// numbers; BOOLEAN holds -1 and 0).
TFieldKind KindOfDeclaredType(const QString& decl) {
    const auto has = [&](const char* part) { return decl.contains(QLatin1String(part)); };
    if (decl.isEmpty()) return TFieldKind::General;
    if (has("DATE") || has("TIME")) return TFieldKind::DateTime;
    if (has("BOOL") || decl == QLatin1String("BIT")) return TFieldKind::Boolean;
    if (has("INT")) return TFieldKind::Number;
    if (has("CHAR") || has("CLOB") || has("TEXT") || has("BLOB")) return TFieldKind::Text;
    return TFieldKind::Number;
}

} // namespace

// ---------------------------------------------------------------- TField

QString TField::FieldName() const {
    return m_rs->m_names.value(m_col);
}
bool TField::IsNull() const {
    return m_rs->CurrentCell(m_col).type == SQLITE_NULL;
}
QString TField::AsString() const {
    return m_rs->CellText(m_rs->CurrentCell(m_col), m_col);
}
QVariant TField::Value() const {
    return m_rs->CellValue(m_rs->CurrentCell(m_col));
}

int64_t TField::AsLargeInt() const {
    const auto& c = m_rs->CurrentCell(m_col);
    switch (c.type) {
    case SQLITE_INTEGER:
        return c.value;
    case SQLITE_FLOAT:
        return std::llround(m_rs->CellDouble(c));
    case SQLITE_NULL:
        return 0;
    default: {
        const QString t = AsString().trimmed();
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok) throw EEngineError(QStringLiteral("'%1' is not a valid integer value").arg(t));
        return std::llround(d);
    }
    }
}

int TField::AsInteger() const {
    return int(AsLargeInt());
}

double TField::AsFloat() const {
    const auto& c = m_rs->CurrentCell(m_col);
    if (c.type == SQLITE_NULL) return 0;
    if (c.type == SQLITE_INTEGER || c.type == SQLITE_FLOAT) return m_rs->CellDouble(c);
    const QString t = AsString();
    bool ok = false;
    double d = t.trimmed().toDouble(&ok);
    if (!ok && !ParseDateText(t, d))
        throw EEngineError(QStringLiteral("'%1' is not a valid floating point value").arg(t));
    return d;
}

bool TField::AsBoolean() const {
    const auto& c = m_rs->CurrentCell(m_col);
    if (c.type == SQLITE_NULL) return false;
    if (c.type == SQLITE_INTEGER || c.type == SQLITE_FLOAT) return m_rs->CellDouble(c) != 0;
    const QString t = AsString().trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || t.isEmpty()) return false;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok) throw EEngineError(QStringLiteral("'%1' is not a valid boolean value").arg(t));
    return d != 0;
}

QDateTime TField::AsDateTime() const {
    const auto& c = m_rs->CurrentCell(m_col);
    if (c.type == SQLITE_NULL) return {};
    if (c.type == SQLITE_INTEGER || c.type == SQLITE_FLOAT) return DaysToDateTime(m_rs->CellDouble(c));
    double d = 0;
    if (!ParseDateText(AsString(), d))
        throw EEngineError(QStringLiteral("'%1' is not a valid date and time").arg(AsString()));
    return DaysToDateTime(d);
}

TCurrency TField::AsCurrency() const {
    const auto& c = m_rs->CurrentCell(m_col);
    switch (c.type) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return TCurrency::FromUnits(c.value * 10000);
    case SQLITE_FLOAT:
        return TCurrency::FromDouble(m_rs->CellDouble(c));
    default: {
        TCurrency out;
        if (!TCurrency::TryParse(AsString(), out))
            throw EEngineError(QStringLiteral("'%1' is not a valid currency value").arg(AsString()));
        return out;
    }
    }
}

// ---------------------------------------------------------------- TResultSet

TResultSet::TResultSet(TDatabase* db) : m_db(db) {
    m_db->Attach(this);
}
TResultSet::~TResultSet() {
    m_db->Detach(this);
}

void TResultSet::Clear() {
    m_active = false;
    m_names.clear();
    m_kinds.clear();
    m_originColumns.clear();
    m_table.clear();
    m_cells.clear();
    m_cells.shrink_to_fit();
    m_arena.clear();
    m_arena.shrink_to_fit();
    m_garbage = 0;
    m_order.clear();
    m_pos = -1;
    m_state = State::Browse;
    m_pending.clear();
}

void TResultSet::Close() {
    const bool had = m_active || !m_names.isEmpty();
    Clear();
    if (had) Notify();
}

void TResultSet::Open(const QString& jetSql, const QVariantList& params) {
    Close();
    CommandText = jetSql;
    Params = params;
    m_sort.clear();
    Open();
}

void TResultSet::LoadRow(sqlite3_stmt* stmt, std::vector<Cell>& cells, std::string& arena) const {
    const int n = int(m_names.size());
    for (int i = 0; i < n; ++i) {
        Cell c{0, 0, uint8_t(sqlite3_column_type(stmt, i))};
        switch (c.type) {
        case SQLITE_INTEGER:
            c.value = sqlite3_column_int64(stmt, i);
            break;
        case SQLITE_FLOAT: {
            const double d = sqlite3_column_double(stmt, i);
            std::memcpy(&c.value, &d, sizeof d);
            break;
        }
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const void* p = c.type == SQLITE_TEXT ? static_cast<const void*>(sqlite3_column_text(stmt, i))
                                                  : sqlite3_column_blob(stmt, i);
            c.length = uint32_t(sqlite3_column_bytes(stmt, i));
            c.value = int64_t(arena.size());
            arena.append(static_cast<const char*>(p), c.length);
            break;
        }
        default:
            break;
        }
        cells.push_back(c);
    }
}

void TResultSet::Open() {
    const QString sort = m_sort;
    Clear();
    try {
        StmtGuard g{m_db->Prepare(CommandText)};
        BindParams(g.stmt, Params);
        const int n = sqlite3_column_count(g.stmt);
        bool oneTable = n > 0;
        for (int i = 0; i < n; ++i) {
            m_names << Utf8(sqlite3_column_name(g.stmt, i));
            m_kinds.push_back(KindOfDeclaredType(Utf8(sqlite3_column_decltype(g.stmt, i)).toUpper()));
            const char* table = sqlite3_column_table_name(g.stmt, i);
            const char* origin = sqlite3_column_origin_name(g.stmt, i);
            m_originColumns.push_back(origin ? origin : "");
            if (!table || !origin || (i > 0 && m_table != Utf8(table)))
                oneTable = false;
            else
                m_table = Utf8(table);
        }
        if (!oneTable) m_table.clear();
        int rc;
        while ((rc = sqlite3_step(g.stmt)) == SQLITE_ROW)
            LoadRow(g.stmt, m_cells, m_arena);
        if (rc != SQLITE_DONE) m_db->Fail();
    } catch (...) {
        Clear();
        Notify();
        throw;
    }
    const int n = int(m_names.size());
    const int rows = n ? int(m_cells.size() / size_t(n)) : 0;
    m_order.resize(size_t(rows));
    for (int r = 0; r < rows; ++r)
        m_order[size_t(r)] = r;
    m_active = true;
    m_pos = 0;
    if (!sort.isEmpty()) {
        try {
            SetSort(sort); // notifies
            return;
        } catch (const EEngineError&) {
            // the re-run rows no longer have the sorted field: show them in the statement's order
            m_sort.clear();
        }
    }
    Notify();
}

void TResultSet::Requery() {
    if (CommandText.isEmpty()) throw EEngineError(QStringLiteral("The command text was not set."));
    Open();
}

void TResultSet::First() {
    m_pos = 0;
}
void TResultSet::Next() {
    if (m_pos < RecordCount()) ++m_pos;
}
void TResultSet::Prior() {
    if (m_pos >= 0) --m_pos;
}
void TResultSet::Last() {
    m_pos = RecordCount() - 1;
}
bool TResultSet::Eof() const {
    return m_pos >= RecordCount() || RecordCount() == 0;
}
bool TResultSet::Bof() const {
    return m_pos < 0 || RecordCount() == 0;
}
void TResultSet::MoveTo(int row) {
    m_pos = std::clamp(row, 0, RecordCount());
}

int TResultSet::FindField(const QString& name) const {
    QString n = name.trimmed();
    if (n.startsWith(QLatin1Char('[')) && n.endsWith(QLatin1Char(']'))) n = n.mid(1, n.size() - 2);
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(n, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

TField TResultSet::FieldByName(const QString& name) const {
    const int i = FindField(name);
    if (i < 0) throw EEngineError(NotFound(name));
    return TField(this, i);
}

TField TResultSet::Fields(int index) const {
    CheckColumn(index);
    return TField(this, index);
}

void TResultSet::CheckColumn(int column) const {
    if (column < 0 || column >= FieldCount()) throw EEngineError(NotFound(QString::number(column)));
}

const TResultSet::Cell& TResultSet::CellAt(int row, int column) const {
    return m_cells[size_t(m_order[size_t(row)]) * m_names.size() + size_t(column)];
}

const TResultSet::Cell& TResultSet::CurrentCell(int column) const {
    CheckColumn(column);
    if (m_pos < 0 || m_pos >= RecordCount())
        throw EEngineError(QStringLiteral(
            "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
            "requires a current record."));
    return CellAt(m_pos, column);
}

double TResultSet::CellDouble(const Cell& c) const {
    if (c.type == SQLITE_INTEGER) return double(c.value);
    double d = 0;
    std::memcpy(&d, &c.value, sizeof d);
    return d;
}

QString TResultSet::CellText(const Cell& c, int column) const {
    switch (c.type) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        if (m_kinds[size_t(column)] == TFieldKind::DateTime) return DaysToText(CellDouble(c));
        return c.type == SQLITE_INTEGER ? QString::number(c.value) : NumberToText(CellDouble(c));
    default:
        return QString::fromUtf8(m_arena.data() + c.value, int(c.length));
    }
}

QVariant TResultSet::CellValue(const Cell& c) const {
    switch (c.type) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant(qlonglong(c.value));
    case SQLITE_FLOAT:
        return QVariant(CellDouble(c));
    default:
        return QVariant(QString::fromUtf8(m_arena.data() + c.value, int(c.length)));
    }
}

QString TResultSet::Text(int row, int column) const {
    return CellText(CellAt(row, column), column);
}
QVariant TResultSet::Value(int row, int column) const {
    return CellValue(CellAt(row, column));
}
bool TResultSet::IsNull(int row, int column) const {
    return CellAt(row, column).type == SQLITE_NULL;
}
bool TResultSet::IsNumeric(int row, int column) const {
    const uint8_t type = CellAt(row, column).type;
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

void TResultSet::SetSort(const QString& sortText) {
    struct Key {
        int column;
        bool desc;
    };
    std::vector<Key> keys;
    for (const QString& part : sortText.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QString p = part.trimmed();
        bool desc = false;
        if (p.endsWith(QLatin1String(" DESC"), Qt::CaseInsensitive)) {
            desc = true;
            p.chop(5);
        } else if (p.endsWith(QLatin1String(" ASC"), Qt::CaseInsensitive)) {
            p.chop(4);
        }
        const int col = FindField(p.trimmed());
        if (col < 0) throw EEngineError(NotFound(p.trimmed()));
        keys.push_back({col, desc});
    }
    m_sort = sortText.trimmed();
    const int currentPhysical = m_pos >= 0 && m_pos < RecordCount() ? m_order[size_t(m_pos)] : -1;
    const size_t nCols = size_t(m_names.size());
    const int rows = nCols ? int(m_cells.size() / nCols) : 0;
    m_order.resize(size_t(rows));
    for (int r = 0; r < rows; ++r)
        m_order[size_t(r)] = r;
    if (!keys.empty()) {
        // Text keys are decoded once, not per comparison.
        std::vector<std::vector<QString>> textKeys(keys.size());
        for (size_t k = 0; k < keys.size(); ++k) {
            textKeys[k].resize(size_t(rows));
            for (int r = 0; r < rows; ++r) {
                const Cell& c = m_cells[size_t(r) * nCols + size_t(keys[k].column)];
                if (c.type == SQLITE_TEXT || c.type == SQLITE_BLOB)
                    textKeys[k][size_t(r)] = QString::fromUtf8(m_arena.data() + c.value, int(c.length));
            }
        }
        auto compare = [&](int a, int b) {
            for (size_t k = 0; k < keys.size(); ++k) {
                const Cell& x = m_cells[size_t(a) * nCols + size_t(keys[k].column)];
                const Cell& y = m_cells[size_t(b) * nCols + size_t(keys[k].column)];
                auto rank = [](const Cell& c) {
                    return c.type == SQLITE_NULL                                  ? 0
                           : (c.type == SQLITE_INTEGER || c.type == SQLITE_FLOAT) ? 1
                                                                                  : 2;
                };
                int cmp = rank(x) - rank(y);
                if (cmp == 0 && rank(x) == 1) {
                    const double dx = CellDouble(x), dy = CellDouble(y);
                    cmp = dx < dy ? -1 : (dx > dy ? 1 : 0);
                } else if (cmp == 0 && rank(x) == 2) {
                    cmp = textKeys[k][size_t(a)].compare(textKeys[k][size_t(b)]);
                }
                if (cmp != 0) return keys[k].desc ? cmp > 0 : cmp < 0;
            }
            return false;
        };
        std::stable_sort(m_order.begin(), m_order.end(), compare);
    }
    m_pos = 0;
    if (currentPhysical >= 0)
        m_pos = int(std::find(m_order.begin(), m_order.end(), currentPhysical) - m_order.begin());
    Notify();
}

void TResultSet::Append() {
    if (!m_active) throw EEngineError(QStringLiteral("Operation is not allowed when the object is closed."));
    m_state = State::Insert;
    m_pending.clear();
}

void TResultSet::Edit() {
    CurrentCell(0); // needs a current row
    m_state = State::Edit;
    m_pending.clear();
}

void TResultSet::SetFieldValue(const QString& name, const QVariant& value) {
    if (m_state == State::Browse) throw EEngineError(QStringLiteral("Dataset not in edit or insert mode"));
    const int col = FindField(name);
    if (col < 0) throw EEngineError(NotFound(name));
    m_pending[col] = value;
}

void TResultSet::Cancel() {
    m_state = State::Browse;
    m_pending.clear();
}

void TResultSet::RereadRow(int64_t rowid, size_t physicalRow) {
    QString cols;
    for (size_t i = 0; i < m_originColumns.size(); ++i)
        cols += (i ? QStringLiteral(",") : QString()) + QuoteIdent(m_originColumns[i]);
    StmtGuard g{m_db->Prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(cols, QuoteIdent(m_table.toStdString())),
        false)};
    sqlite3_bind_int64(g.stmt, 1, rowid);
    if (sqlite3_step(g.stmt) != SQLITE_ROW) m_db->Fail();
    std::vector<Cell> row;
    LoadRow(g.stmt, row, m_arena);
    const size_t n = m_names.size();
    if (physicalRow * n >= m_cells.size()) {
        m_cells.insert(m_cells.end(), row.begin(), row.end());
        return;
    }
    for (size_t i = 0; i < n; ++i) {
        const Cell& old = m_cells[physicalRow * n + i];
        if (old.type == SQLITE_TEXT || old.type == SQLITE_BLOB) m_garbage += old.length;
    }
    std::copy(row.begin(), row.end(), m_cells.begin() + std::ptrdiff_t(physicalRow * n));
    // Rows edited again and again (a note saved per keystroke) leave old texts behind; drop them now and
    // then.
    if (m_garbage > (4u << 20) && m_garbage > m_arena.size() / 2) {
        std::string arena;
        arena.reserve(m_arena.size() - m_garbage);
        for (Cell& c : m_cells) {
            if (c.type == SQLITE_TEXT || c.type == SQLITE_BLOB) {
                const int64_t at = int64_t(arena.size());
                arena.append(m_arena.data() + c.value, c.length);
                c.value = at;
            }
        }
        m_arena.swap(arena);
        m_garbage = 0;
    }
}

void TResultSet::Post() {
    if (m_state == State::Browse) return;
    if (m_table.isEmpty())
        throw EEngineError(QStringLiteral("Cannot update. Database or object is read-only."));
    const QString table = QuoteIdent(m_table.toStdString());
    QStringList cols;
    for (const auto& [col, value] : m_pending)
        cols << QuoteIdent(m_originColumns[size_t(col)]);
    auto bindPending = [&](sqlite3_stmt* stmt, int first) {
        int i = first;
        for (const auto& [col, value] : m_pending)
            BindVariant(stmt, i++, value);
        return i;
    };
    const size_t nCols = m_names.size();
    if (m_state == State::Insert) {
        const QString sql = cols.isEmpty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(table, cols.join(QLatin1Char(',')),
                                           QStringList(QList<QString>(cols.size(), QStringLiteral("?")))
                                               .join(QLatin1Char(',')));
        StmtGuard g{m_db->Prepare(sql, false)};
        bindPending(g.stmt, 1);
        if (sqlite3_step(g.stmt) != SQLITE_DONE) m_db->Fail();
        const size_t physical = nCols ? m_cells.size() / nCols : 0;
        RereadRow(sqlite3_last_insert_rowid(m_db->Handle()), physical);
        m_order.push_back(int(physical));
        m_pos = int(m_order.size()) - 1;
    } else {
        // Find the row by its values as they were read, as a key-less update does.
        QString where;
        for (size_t i = 0; i < nCols; ++i)
            where += (i ? QStringLiteral(" AND ") : QString()) + QuoteIdent(m_originColumns[i]) +
                     QStringLiteral(" IS ?");
        StmtGuard find{
            m_db->Prepare(QStringLiteral("SELECT rowid FROM %1 WHERE %2 LIMIT 1").arg(table, where), false)};
        const size_t physical = size_t(m_order[size_t(m_pos)]);
        for (size_t i = 0; i < nCols; ++i) {
            const Cell& c = m_cells[physical * nCols + i];
            const int idx = int(i) + 1;
            switch (c.type) {
            case SQLITE_INTEGER:
                sqlite3_bind_int64(find.stmt, idx, c.value);
                break;
            case SQLITE_FLOAT:
                sqlite3_bind_double(find.stmt, idx, CellDouble(c));
                break;
            case SQLITE_TEXT:
                sqlite3_bind_text(find.stmt, idx, m_arena.data() + c.value, int(c.length), SQLITE_TRANSIENT);
                break;
            case SQLITE_BLOB:
                sqlite3_bind_blob(find.stmt, idx, m_arena.data() + c.value, int(c.length), SQLITE_TRANSIENT);
                break;
            default:
                sqlite3_bind_null(find.stmt, idx);
            }
        }
        const int rc = sqlite3_step(find.stmt);
        if (rc == SQLITE_DONE)
            throw EEngineError(QStringLiteral("Row cannot be located for updating. Some values may have been "
                                              "changed since it was last read."));
        if (rc != SQLITE_ROW) m_db->Fail();
        const int64_t rowid = sqlite3_column_int64(find.stmt, 0);
        if (!cols.isEmpty()) {
            QStringList sets;
            for (const QString& c : cols)
                sets << c + QStringLiteral("=?");
            StmtGuard upd{m_db->Prepare(
                QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(table, sets.join(QLatin1Char(','))),
                false)};
            const int next = bindPending(upd.stmt, 1);
            sqlite3_bind_int64(upd.stmt, next, rowid);
            if (sqlite3_step(upd.stmt) != SQLITE_DONE) m_db->Fail();
        }
        RereadRow(rowid, physical);
    }
    m_state = State::Browse;
    m_pending.clear();
    Notify();
}

int TResultSet::Subscribe(std::function<void()> listener) {
    const int id = m_nextListener++;
    m_listeners[id] = std::move(listener);
    return id;
}

void TResultSet::Unsubscribe(int id) {
    m_listeners.erase(id);
}

void TResultSet::Notify() {
    // a listener may unsubscribe while being told
    const auto copy = m_listeners;
    for (const auto& [id, fn] : copy)
        if (fn) fn();
}
