#include "data/DataSource.h"

#include "data/Engine.h"

TDataSource::~TDataSource() {
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TResultSet* dataSet) {
    if (m_dataSet == dataSet) return;
    if (m_dataSet) m_dataSet->Unsubscribe(m_subscription);
    m_dataSet = dataSet;
    m_subscription = m_dataSet ? m_dataSet->Subscribe([this] { emit DataChanged(); }) : 0;
    emit DataChanged();
}
