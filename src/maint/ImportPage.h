#pragma once
// The page of the data maintenance window that appends goods records from a workbook or CSV text.
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class TCardEdtBut;

class TImportPage : public QWidget {
    Q_OBJECT
public:
    explicit TImportPage(QWidget* parent = nullptr);

    QLabel* LabGou;
    TCardEdtBut* EdtGoup;
    QListWidget* lstbox1;
    QLabel* Label4;
    QPushButton* btnInData;

    // Called when the window is shown: no group chosen, the field list filled, nothing ticked.
    void Prepare();
    // Whether an import succeeded, so that the main window shows the file's contents again.
    bool Imported() const { return m_imported; }
    int GroupIndex() const { return m_groupIndex; }
    // The ticked field names in list order.
    QStringList TickedFields() const;

    void EdtGoupButClick();
    void btnInDataClick();

private:
    int m_groupIndex = 0;
    bool m_imported = false;
};
