#include "notes/NotePage.h"

#include "common/StatusPanels.h"
#include "common/UException.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

TNotePage::TNotePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TNotePage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter2 = new QSplitter(Qt::Horizontal, this);
    m_splitter2->setObjectName(QStringLiteral("Splitter2"));
    m_splitter2->setChildrenCollapsible(false);
    layout->addWidget(m_splitter2);

    auto* left = new QWidget(m_splitter2);
    left->setObjectName(QStringLiteral("pnlNoteTree"));
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    m_tvNote = new QTreeWidget(left);
    m_tvNote->setObjectName(QStringLiteral("tvNote"));
    m_tvNote->setHeaderHidden(true);
    m_tvNote->setColumnCount(1);
    m_tvNote->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tvNote->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tvNote->setToolTip(QStringLiteral("点右键可以新建、修改和删除分组"));
    m_tvNote->setMinimumWidth(80);
    leftLayout->addWidget(m_tvNote, 1);
    m_stat2 = new TStatusPanels(left);
    m_stat2->setObjectName(QStringLiteral("stat2"));
    m_stat2->AddPanel(QString(), 50);
    leftLayout->addWidget(m_stat2);
    m_splitter2->addWidget(left);

    auto* right = new QWidget(m_splitter2);
    right->setObjectName(QStringLiteral("pnlNote"));
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    m_mmoNote = new QPlainTextEdit(right);
    m_mmoNote->setObjectName(QStringLiteral("mmoNote"));
    m_mmoNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont noteFont = m_mmoNote->font();
    noteFont.setPixelSize(16);
    m_mmoNote->setFont(noteFont);
    rightLayout->addWidget(m_mmoNote, 1);

    auto* findRow = new QHBoxLayout;
    findRow->setContentsMargins(4, 2, 4, 4);
    auto* label = new QLabel(QStringLiteral("查找字符"), right);
    label->setObjectName(QStringLiteral("lblFind"));
    m_edit1 = new QLineEdit(right);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setMinimumWidth(200);
    m_btn2 = new QPushButton(QStringLiteral("查找"), right);
    m_btn2->setObjectName(QStringLiteral("btn2"));
    findRow->addWidget(label);
    findRow->addWidget(m_edit1);
    findRow->addWidget(m_btn2);
    findRow->addStretch(1);
    rightLayout->addLayout(findRow);
    m_splitter2->addWidget(right);
    m_splitter2->setStretchFactor(0, 0);
    m_splitter2->setStretchFactor(1, 1);
    m_splitter2->setSizes({200, 600});

    m_pmNoteType = new QMenu(this);
    m_pmNoteType->setObjectName(QStringLiteral("pmNoteType"));
    m_NAddNoteType = m_pmNoteType->addAction(QStringLiteral("新建组"));
    m_NAddNoteType->setObjectName(QStringLiteral("NAddNoteType"));
    m_NModNoteType = m_pmNoteType->addAction(QStringLiteral("重命名组"));
    m_NModNoteType->setObjectName(QStringLiteral("NModNoteType"));
    m_NDelNoteType = m_pmNoteType->addAction(QStringLiteral("删除组"));
    m_NDelNoteType->setObjectName(QStringLiteral("NDelNoteType"));
    m_tvNote->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tvNote, &QWidget::customContextMenuRequested, this, Guarded([this](const QPoint& pos) {
                m_pmNoteType->popup(m_tvNote->viewport()->mapToGlobal(pos));
            }));
}
