#pragma once
// The reminder editor's common window: the clock, the time and date, the repetition with its day row, the
// text with the preset button, and the check both OK buttons run first.
#include "common/BaseDlg.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTimer;
class QToolButton;
class QValidator;

class TFormBaseAlam : public TFormBaseDlg {
    Q_OBJECT
public:
    explicit TFormBaseAlam(QWidget* parent = nullptr);

    QLabel* LabNow() const { return m_LabNow; }
    QLabel* LabLabWeeks() const { return m_LabLabWeeks; }
    QLineEdit* edtHour() const { return m_edtHour; }
    QLineEdit* edtMinute() const { return m_edtMinute; }
    QLabel* LabDay() const { return m_LabDay; }
    QDateEdit* DBDay() const { return m_DBDay; }
    QRadioButton* rbOnly() const { return m_rbOnly; }
    QRadioButton* rbDay() const { return m_rbDay; }
    QRadioButton* rbWeek() const { return m_rbWeek; }
    QRadioButton* rbMonth() const { return m_rbMonth; }
    QWidget* pnlMonWeek() const { return m_pnlMonWeek; }
    QLabel* LabMonWord() const { return m_LabMonWord; }
    QLineEdit* edtMonWeek() const { return m_edtMonWeek; }
    QLabel* LabModWordAlam() const { return m_LabModWordAlam; }
    QPlainTextEdit* mmoNote() const { return m_mmoNote; }
    QToolButton* btnAlamContext() const { return m_btnAlamContext; }
    QTimer* tmr1() const { return m_tmr1; }

    // Fails with "提醒内容不能为空！" for a blank text and, for a one-time reminder, with
    // "设置的提醒时间不能早于现在时间！" when its moment has passed. An empty hour or minute box counts as 0.
    void CheckInput();

    // The chosen kind: 0 once, 1 daily, 2 weekly, 3 monthly.
    int ChosenKind() const;

    void tmr1Timer();
    void btnAlamContextClick();

protected:
    // Sets the fields of gAlam from the boxes, for every kind.
    void StoreValues();
    // Chooses the radio button of a kind; a button not chosen before runs its click behaviour.
    void ChooseKind(int kind);
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void KindClick(int kind);
    void edtHourChange();
    void edtMinuteChange();
    void edtMonWeekChange();
    void BoxExit(QLineEdit* box);

    QLabel* m_LabNow;
    QLabel* m_LabLabWeeks;
    QLineEdit* m_edtHour;
    QLineEdit* m_edtMinute;
    QLabel* m_LabDay;
    QDateEdit* m_DBDay;
    QRadioButton* m_rbOnly;
    QRadioButton* m_rbDay;
    QRadioButton* m_rbWeek;
    QRadioButton* m_rbMonth;
    QWidget* m_pnlMonWeek;
    QLabel* m_LabMonWord;
    QLineEdit* m_edtMonWeek;
    QLabel* m_LabModWordAlam;
    QPlainTextEdit* m_mmoNote;
    QToolButton* m_btnAlamContext;
    QTimer* m_tmr1;
    QValidator* m_weekDigits;
    QValidator* m_monthDigits;
};

// The name of today's weekday, "星期日" to "星期六".
QString WeekDayName();

// The number a box holds: its digits, blanks trimmed; fallback when it holds anything else or nothing.
int BoxNumber(const QString& text, int fallback);
