#include "reminders/BaseAlam.h"

#include "common/Seams.h"
#include "common/UException.h"
#include "controls/DateBox.h"
#include "reminders/AlamContext.h"
#include "reminders/UntAlam.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLabel* RedLabel(const QString& text, QWidget* parent, const char* name = nullptr) {
    auto* label = new QLabel(text, parent);
    if (name) label->setObjectName(QLatin1String(name));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(pal);
    return label;
}

QLineEdit* NumberBox(const QString& text, QWidget* parent, const char* name) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(2);
    box->setFixedWidth(36);
    box->setAlignment(Qt::AlignRight);
    return box;
}

// Only digits reach a box, typed or pasted, so its text is always a number or empty.
QValidator* DigitsValidator(QObject* parent, const char* pattern) {
    return new QRegularExpressionValidator(QRegularExpression(QLatin1String(pattern)), parent);
}

} // namespace

int BoxNumber(const QString& text, int fallback) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return fallback;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return fallback;
    bool ok = false;
    const int n = t.toInt(&ok);
    return ok ? n : fallback;
}

QString WeekDayName() {
    static const char* const names[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
    return QString::fromUtf8(names[Now().date().dayOfWeek() % 7]);
}

TFormBaseAlam::TFormBaseAlam(QWidget* parent) : TFormBaseDlg(parent) {
    setObjectName(QStringLiteral("TFormBaseAlam"));
    QWidget* client = pnlClient();
    auto* rows = new QVBoxLayout(client);
    rows->setContentsMargins(12, 10, 12, 8);
    rows->setSpacing(8);

    auto* clock = new QHBoxLayout;
    clock->addWidget(RedLabel(QStringLiteral("现在时间"), client, "LabNowCaption"));
    m_LabNow = RedLabel(QString(), client, "LabNow");
    m_LabLabWeeks = RedLabel(QString(), client, "LabLabWeeks");
    clock->addWidget(m_LabNow);
    clock->addSpacing(12);
    clock->addWidget(m_LabLabWeeks);
    clock->addStretch(1);
    rows->addLayout(clock);

    auto* time = new QHBoxLayout;
    time->addWidget(new QLabel(QStringLiteral("提醒时间"), client));
    m_edtHour = NumberBox(QStringLiteral("9"), client, "edtHour");
    m_edtHour->setValidator(DigitsValidator(m_edtHour, "^[0-9]{0,2}$"));
    time->addWidget(m_edtHour);
    time->addWidget(new QLabel(QStringLiteral("时"), client));
    m_edtMinute = NumberBox(QStringLiteral("0"), client, "edtMinute");
    m_edtMinute->setValidator(DigitsValidator(m_edtMinute, "^[0-9]{0,2}$"));
    time->addWidget(m_edtMinute);
    time->addWidget(new QLabel(QStringLiteral("分"), client));
    time->addSpacing(16);
    m_LabDay = new QLabel(QStringLiteral("提醒日期"), client);
    m_LabDay->setObjectName(QStringLiteral("LabDay"));
    time->addWidget(m_LabDay);
    m_DBDay = new TDateBox(client);
    m_DBDay->setObjectName(QStringLiteral("DBDay"));
    m_DBDay->setCalendarPopup(true);
    m_DBDay->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    m_DBDay->setDate(Now().date());
    time->addWidget(m_DBDay);
    time->addStretch(1);
    rows->addLayout(time);

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(new QLabel(QStringLiteral("重复频率"), client));
    auto* group = new QButtonGroup(this);
    group->setObjectName(QStringLiteral("rbKinds"));
    m_rbOnly = new QRadioButton(QStringLiteral("只一次"), client);
    m_rbOnly->setObjectName(QStringLiteral("rbOnly"));
    m_rbDay = new QRadioButton(QStringLiteral("每天"), client);
    m_rbDay->setObjectName(QStringLiteral("rbDay"));
    m_rbWeek = new QRadioButton(QStringLiteral("每周"), client);
    m_rbWeek->setObjectName(QStringLiteral("rbWeek"));
    m_rbMonth = new QRadioButton(QStringLiteral("每月"), client);
    m_rbMonth->setObjectName(QStringLiteral("rbMonth"));
    int kind = 0;
    for (QRadioButton* rb : {m_rbOnly, m_rbDay, m_rbWeek, m_rbMonth}) {
        group->addButton(rb, kind++);
        kinds->addWidget(rb);
    }
    kinds->addStretch(1);
    m_rbOnly->setChecked(true);
    rows->addLayout(kinds);

    m_pnlMonWeek = new QWidget(client);
    m_pnlMonWeek->setObjectName(QStringLiteral("pnlMonWeek"));
    auto* day = new QHBoxLayout(m_pnlMonWeek);
    day->setContentsMargins(0, 0, 0, 0);
    m_LabMonWord = new QLabel(QStringLiteral("每周"), m_pnlMonWeek);
    m_LabMonWord->setObjectName(QStringLiteral("LabMonWord"));
    m_edtMonWeek = NumberBox(QStringLiteral("1"), m_pnlMonWeek, "edtMonWeek");
    m_weekDigits = DigitsValidator(m_edtMonWeek, "^[1-7]?$");
    m_monthDigits = DigitsValidator(m_edtMonWeek, "^[0-9]{0,2}$");
    m_edtMonWeek->setValidator(m_monthDigits);
    m_LabModWordAlam = new QLabel(QStringLiteral("提醒"), m_pnlMonWeek);
    m_LabModWordAlam->setObjectName(QStringLiteral("LabModWordAlam"));
    day->addWidget(m_LabMonWord);
    day->addWidget(m_edtMonWeek);
    day->addWidget(m_LabModWordAlam);
    day->addStretch(1);
    m_pnlMonWeek->hide();
    rows->addWidget(m_pnlMonWeek);

    auto* textCaption = new QHBoxLayout;
    textCaption->addWidget(new QLabel(QStringLiteral("提醒内容"), client));
    m_btnAlamContext = new QToolButton(client);
    m_btnAlamContext->setObjectName(QStringLiteral("btnAlamContext"));
    m_btnAlamContext->setText(QStringLiteral("..."));
    m_btnAlamContext->setToolTip(QStringLiteral("预设提醒内容"));
    textCaption->addWidget(m_btnAlamContext);
    textCaption->addStretch(1);
    rows->addLayout(textCaption);
    m_mmoNote = new QPlainTextEdit(client);
    m_mmoNote->setObjectName(QStringLiteral("mmoNote"));
    m_mmoNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_mmoNote->setTabChangesFocus(true);
    rows->addWidget(m_mmoNote, 1);

    m_tmr1 = new QTimer(this);
    m_tmr1->setObjectName(QStringLiteral("tmr1"));
    m_tmr1->setInterval(1000);
    connect(m_tmr1, &QTimer::timeout, this, Guarded([this] { tmr1Timer(); }));
    m_tmr1->start();

    // Choosing a kind (a click, or the change dialog choosing the stored one) shows and hides the rows.
    connect(group, &QButtonGroup::idToggled, this, Guarded([this](int id, bool checked) {
                if (checked) KindClick(id);
            }));
    connect(m_edtHour, &QLineEdit::textChanged, this, Guarded([this] { edtHourChange(); }));
    connect(m_edtMinute, &QLineEdit::textChanged, this, Guarded([this] { edtMinuteChange(); }));
    connect(m_edtMonWeek, &QLineEdit::textChanged, this, Guarded([this] { edtMonWeekChange(); }));
    for (QLineEdit* box : {m_edtHour, m_edtMinute, m_edtMonWeek})
        box->installEventFilter(this);
    connect(m_btnAlamContext, &QToolButton::clicked, this, Guarded([this] { btnAlamContextClick(); }));

    resize(460, 340);
}

void TFormBaseAlam::showEvent(QShowEvent* e) {
    TFormBaseDlg::showEvent(e);
    Guard([&] {
        if (!e->spontaneous()) m_edtHour->setFocus();
    });
}

void TFormBaseAlam::tmr1Timer() {
    const QDateTime now = Now();
    const QLocale locale = QLocale::system();
    m_LabNow->setText(locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                      locale.toString(now.time(), QLocale::LongFormat));
    m_LabLabWeeks->setText(WeekDayName());
}

void TFormBaseAlam::KindClick(int kind) {
    m_LabDay->setVisible(kind == akOnce);
    m_DBDay->setVisible(kind == akOnce);
    m_pnlMonWeek->setVisible(kind == akWeekly || kind == akMonthly);
    switch (kind) {
    case akOnce:
        m_DBDay->setDate(Now().date());
        break;
    case akWeekly:
        m_LabMonWord->setText(QStringLiteral("每周"));
        m_LabModWordAlam->setText(QStringLiteral("提醒"));
        m_edtMonWeek->setMaxLength(1);
        m_edtMonWeek->setValidator(m_weekDigits);
        m_edtMonWeek->setText(QStringLiteral("1"));
        break;
    case akMonthly:
        m_LabMonWord->setText(QStringLiteral("每月"));
        m_LabModWordAlam->setText(QStringLiteral("号提醒"));
        m_edtMonWeek->setMaxLength(2);
        m_edtMonWeek->setValidator(m_monthDigits);
        m_edtMonWeek->setText(QStringLiteral("1"));
        break;
    default:
        break;
    }
}

int TFormBaseAlam::ChosenKind() const {
    if (m_rbDay->isChecked()) return akDaily;
    if (m_rbWeek->isChecked()) return akWeekly;
    if (m_rbMonth->isChecked()) return akMonthly;
    return akOnce;
}

void TFormBaseAlam::ChooseKind(int kind) {
    QRadioButton* buttons[] = {m_rbOnly, m_rbDay, m_rbWeek, m_rbMonth};
    if (kind < akOnce || kind > akMonthly) kind = akOnce;
    buttons[kind]->setChecked(true); // runs the click behaviour only when it changes the choice
}

void TFormBaseAlam::edtHourChange() {
    if (BoxNumber(m_edtHour->text(), 0) > 23) m_edtHour->setText(QStringLiteral("23"));
}

void TFormBaseAlam::edtMinuteChange() {
    if (BoxNumber(m_edtMinute->text(), 0) > 59) m_edtMinute->setText(QStringLiteral("59"));
}

void TFormBaseAlam::edtMonWeekChange() {
    if (BoxNumber(m_edtMonWeek->text(), 31) > 31) m_edtMonWeek->setText(QStringLiteral("31"));
}

void TFormBaseAlam::BoxExit(QLineEdit* box) {
    if (box == m_edtMonWeek) {
        // No day 0: a box left empty or at 0 means the first.
        if (BoxNumber(box->text(), 0) < 1) box->setText(QStringLiteral("1"));
    } else if (box->text().trimmed().isEmpty()) {
        box->setText(QStringLiteral("0"));
    }
}

bool TFormBaseAlam::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusOut)
        if (auto* box = qobject_cast<QLineEdit*>(watched)) Guard([&] { BoxExit(box); });
    return TFormBaseDlg::eventFilter(watched, e);
}

void TFormBaseAlam::btnAlamContextClick() {
    QString text;
    if (ShowAlamContext(text) == QDialog::Accepted) m_mmoNote->setPlainText(text);
}

void TFormBaseAlam::CheckInput() {
    if (m_mmoNote->toPlainText().trimmed().isEmpty()) throw EAppError(QStringLiteral("提醒内容不能为空！"));
    if (!m_rbOnly->isChecked()) return;
    const int hour = qBound(0, BoxNumber(m_edtHour->text(), 0), 23);
    const int minute = qBound(0, BoxNumber(m_edtMinute->text(), 0), 59);
    const QDateTime moment(m_DBDay->date(), QTime(hour, minute, 0));
    if (Now() > moment) throw EAppError(QStringLiteral("设置的提醒时间不能早于现在时间！"));
}

void TFormBaseAlam::StoreValues() {
    gAlam->ReDay = ChosenKind();
    gAlam->iHour = qBound(0, BoxNumber(m_edtHour->text(), 0), 23);
    gAlam->iMinute = qBound(0, BoxNumber(m_edtMinute->text(), 0), 59);
    // The day box holds the last text it had, also when its row is hidden; there is no day 0.
    gAlam->iMonWeek = qBound(1, BoxNumber(m_edtMonWeek->text(), 1), 31);
    gAlam->AlamDate = QDateTime(m_DBDay->date(), QTime(0, 0));
    gAlam->ReMark = m_mmoNote->toPlainText();
}
