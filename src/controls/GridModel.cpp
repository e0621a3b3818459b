#include "controls/GridModel.h"

#include "data/Engine.h"

void TGridModel::DataSetChanged(TResultSet* dataSet) {
    const QStringList fields = dataSet ? dataSet->FieldNames() : QStringList();
    const int rows = dataSet && dataSet->Active() ? dataSet->RecordCount() : 0;
    m_fieldsChanged = dataSet != m_dataSet || fields != m_fields;
    if (m_fieldsChanged) {
        beginResetModel();
        m_dataSet = dataSet;
        m_fields = fields;
        m_titles = fields;
        m_rows = rows;
        // Rows read again after a close keep their sort order (e.g. a re-run after the data file was
        // restored): the sorted title shows its arrow, so the next title click toggles as the user sees.
        if (dataSet && !dataSet->Sort().isEmpty()) {
            bool desc = false;
            const int sorted = dataSet->FindField(SortedField(dataSet->Sort(), &desc));
            if (sorted >= 0)
                m_titles[sorted] = (desc ? QStringLiteral("▼") : QStringLiteral("▲")) + m_titles[sorted];
        }
        endResetModel();
        return;
    }
    // Same columns: the rows were reordered or read again. Adjusting the row count instead of resetting keeps
    // the column widths and hidden columns the window set up.
    if (rows < m_rows) {
        beginRemoveRows(QModelIndex(), rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    } else if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    }
    // A new result without a sort order brings its titles without arrows.
    if (m_dataSet && m_dataSet->Sort().isEmpty() && m_titles != m_fields) {
        m_titles = m_fields;
        emit headerDataChanged(Qt::Horizontal, 0, int(m_fields.size()) - 1);
    }
    if (m_rows > 0 && !m_fields.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_fields.size()) - 1));
}

QString TGridModel::SortedField(const QString& sortText, bool* desc) {
    const QLatin1String descSuffix(" DESC");
    QString field = sortText.trimmed();
    *desc = field.endsWith(descSuffix, Qt::CaseInsensitive);
    if (*desc) field.chop(descSuffix.size());
    field = field.trimmed();
    if (field.startsWith(QLatin1Char('[')) && field.endsWith(QLatin1Char(']')))
        field = field.mid(1, field.size() - 2);
    return field;
}

void TGridModel::SetTitle(int column, const QString& title) {
    if (column < 0 || column >= m_titles.size() || m_titles[column] == title) return;
    m_titles[column] = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int TGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_fields.size());
}

bool TGridModel::HasCell(int row, int column) const {
    // The counts are checked against the result set too: a listener may ask between its change and our
    // update.
    return m_dataSet && row >= 0 && column >= 0 && row < m_rows && column < m_fields.size() &&
           row < m_dataSet->RecordCount() && column < m_dataSet->FieldCount();
}

QVariant TGridModel::data(const QModelIndex& index, int role) const {
    if (!HasCell(index.row(), index.column())) return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_dataSet->Text(index.row(), index.column());
    case Qt::TextAlignmentRole: {
        // Numbers line up on the right, as in any grid.
        const QVariant v = m_dataSet->Value(index.row(), index.column());
        const bool number = v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
        const bool date = m_dataSet->FieldKind(index.column()) == TFieldKind::DateTime;
        return int((number && !date ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_titles.size())
        return m_titles[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TGridModel::flags(const QModelIndex& index) const {
    // Read-only: selectable, never editable.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
