#pragma once
// The reminder page of the main window: the reminder list and the view selector under it.
// It holds the controls only; TAlamCommands connects their behaviour.
#include <QWidget>

class QAction;
class QButtonGroup;
class QGroupBox;
class QMenu;
class QTreeWidget;

class TAlamPage : public QWidget {
    Q_OBJECT
public:
    explicit TAlamPage(QWidget* parent = nullptr);

    // Report list: columns "ID", "重复频率", "提醒时间", "内容", "状态".
    QTreeWidget* lv1() const { return m_lv1; }
    // The view selector: seven radio items, "全部提醒" (0) to "每月" (6).
    QGroupBox* rgAlam() const { return m_rgAlam; }
    QButtonGroup* rgAlamItems() const { return m_rgAlamItems; }
    int ItemIndex() const;
    void SetItemIndex(int index);

    QMenu* pmAlam() const { return m_pmAlam; }
    QAction* NAddAlam() const { return m_NAddAlam; }
    QAction* NModAlam() const { return m_NModAlam; }
    QAction* NDelAlam() const { return m_NDelAlam; }

private:
    QTreeWidget* m_lv1 = nullptr;
    QGroupBox* m_rgAlam = nullptr;
    QButtonGroup* m_rgAlamItems = nullptr;
    QMenu* m_pmAlam = nullptr;
    QAction* m_NAddAlam = nullptr;
    QAction* m_NModAlam = nullptr;
    QAction* m_NDelAlam = nullptr;
};
