#pragma once
// The notepad page of the main window: category tree, note text and the find row.
// It holds the controls only; the notepad connects their behaviour.
#include <QWidget>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTreeWidget;
class TStatusPanels;

class TNotePage : public QWidget {
    Q_OBJECT
public:
    explicit TNotePage(QWidget* parent = nullptr);

    QTreeWidget* tvNote() const { return m_tvNote; }
    TStatusPanels* stat2() const { return m_stat2; }
    QSplitter* Splitter2() const { return m_splitter2; }
    QPlainTextEdit* mmoNote() const { return m_mmoNote; }
    QLineEdit* Edit1() const { return m_edit1; }
    QPushButton* btn2() const { return m_btn2; }

    QMenu* pmNoteType() const { return m_pmNoteType; }
    QAction* NAddNoteType() const { return m_NAddNoteType; } // 新建组
    QAction* NModNoteType() const { return m_NModNoteType; } // 重命名组
    QAction* NDelNoteType() const { return m_NDelNoteType; } // 删除组

private:
    QTreeWidget* m_tvNote = nullptr;
    TStatusPanels* m_stat2 = nullptr;
    QSplitter* m_splitter2 = nullptr;
    QPlainTextEdit* m_mmoNote = nullptr;
    QLineEdit* m_edit1 = nullptr;
    QPushButton* m_btn2 = nullptr;
    QMenu* m_pmNoteType = nullptr;
    QAction* m_NAddNoteType = nullptr;
    QAction* m_NModNoteType = nullptr;
    QAction* m_NDelNoteType = nullptr;
};
