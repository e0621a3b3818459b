// bookkeep_core
#include "common/UException.h"
#include "data/MD.h"
#include "fields/UntTitle.h"

#include <QLocale>

const char* const TitleListSeparator = "%#%";
const char* const TitleDateToday = "date()";

namespace {

const char* const KindNames[TitleKindCount] = {"标准文本框", "标准下拉框", "记忆下拉框", "日期选择框",
                                               "数字文本框"};

const char* const KindDescriptions[TitleKindCount] = {
    "可以输入基本文字信息，可在默认值里设置预先定义的文本信息",
    "可以从预先定义的默认值里选择一个选项，同时也可以直接输入文字信息",
    "可以记住并选择之前输入过的内容，同时也可以直接输入文字信息",
    "可以选择日期信息，也可以预先设置一个默认日期",
    "只可以输入数字信息，并可以在浏览信息的内容时自动汇总该字段",
};

struct TReserved {
    const char* name;
    const char* message;
};
const TReserved ReservedNames[] = {
    {"姓名", "标题名称不能填 姓名！"},          {"所属分组", "标题名称不能填  所属分组！"},
    {"手机号码", "标题名称不能填  手机号码！"}, {"新建时间", "标题名称不能填  新建时间！"},
    {"备注", "标题名称不能填  备注！"},
};

QString Flag(bool yes) {
    return yes ? QStringLiteral("-1") : QStringLiteral("0");
}

QString Sep() {
    return QString::fromLatin1(BatchSeparator);
}

} // namespace

QString TitleKindName(int kind) {
    if (kind < 0 || kind >= TitleKindCount) return QString::number(kind);
    return QString::fromUtf8(KindNames[kind]);
}

QStringList TitleKindNames() {
    QStringList names;
    for (int k = 0; k < TitleKindCount; ++k)
        names << TitleKindName(k);
    return names;
}

QString TitleKindDescription(int kind) {
    if (kind < 0 || kind >= TitleKindCount) return QString();
    return QString::fromUtf8(KindDescriptions[kind]);
}

QString EncodeTitleOptions(const QStringList& options) {
    QString text;
    for (const QString& o : options)
        text += o + QLatin1String(TitleListSeparator);
    return text;
}

QStringList DecodeTitleOptions(const QString& text) {
    const QString sep = QLatin1String(TitleListSeparator);
    // Every position is tested, so overlapping occurrences count too.
    int count = 0;
    for (int i = 0; i + sep.size() <= text.size(); ++i)
        if (QStringView(text).mid(i, sep.size()) == sep) ++count;
    QStringList options;
    QString rest = text;
    for (int i = 0; i < count; ++i) {
        const int at = rest.indexOf(sep);
        if (at < 0) {
            options << QString();
            continue;
        }
        options << rest.left(at);
        rest.remove(0, at + sep.size());
    }
    return options;
}

QStringList TitleLinesFromText(const QString& boxText) {
    if (boxText.isEmpty()) return {};
    QString text = boxText;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) lines.removeLast();
    return lines;
}

QString TitleTextFromLines(const QStringList& lines) {
    QString text = lines.join(QLatin1Char('\n'));
    // A last empty line needs its own line break to survive the next read.
    if (!lines.isEmpty() && lines.last().isEmpty()) text += QLatin1Char('\n');
    return text;
}

QString EncodeTitleDate(bool today, const QDate& date) {
    return today ? QString::fromLatin1(TitleDateToday) : date.toString(Qt::ISODate);
}

QDate ParseTitleDate(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    QDate d = QDate::fromString(t, Qt::ISODate);
    if (!d.isValid()) d = QLocale::system().toDate(t, QLocale::ShortFormat);
    if (!d.isValid()) d = QDate::fromString(t, QStringLiteral("yyyy/M/d"));
    return d;
}

QDate TitleDateValue(const QString& titleValues, const QDate& today) {
    if (titleValues == QLatin1String(TitleDateToday)) return today;
    const QDate d = ParseTitleDate(titleValues);
    return d.isValid() ? d : today;
}

void CheckReservedTitleName(const QString& typed) {
    for (const TReserved& r : ReservedNames)
        if (typed == QString::fromUtf8(r.name)) throw EAppError(QString::fromUtf8(r.message));
}

bool IsPlainTitleIdentifier(const QString& name) {
    if (name.isEmpty() || name.front().isDigit()) return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_'))) return false;
    return true;
}

void CheckTitleIdentifier(const QString& name) {
    if (!IsPlainTitleIdentifier(name))
        throw EAppError(QStringLiteral("标题名称只能包含文字、字母、数字和下划线，且不能以数字开头！"));
    // The goods list joins the group table; a field named like one of its columns would make every goods
    // query ambiguous and leave the goods page empty.
    for (const char* column : {"SelfIndex", "ParentIndex", "TypeName"})
        if (name.compare(QLatin1String(column), Qt::CaseInsensitive) == 0)
            throw EAppError(QStringLiteral("标题名称不能与分组字段同名！"));
}

void CheckTitleDuplicate(const QString& typed) {
    const int n = QueryInt(
        QStringLiteral("select count(TitleName) from AppTitle where TitleName='%1' ").arg(QuotedSql(typed)));
    if (n > 0) throw EAppError(QStringLiteral("标题名称不能重复！"));
}

QString NewTitleBatch(const TTitleDef& def) {
    const QString name = def.Name.trimmed();
    return QStringLiteral("insert into AppTitle(TitleName,TitleType,TitleValues,Titlebt,Titlewy) values "
                          "('%1',%2,'%3','%4','%5')")
               .arg(QuotedSql(name), QString::number(def.Type), QuotedSql(def.Values), Flag(def.Required),
                    Flag(def.Unique)) +
           Sep() + QStringLiteral("alter table Customer add %1 varchar(100)").arg(name);
}

QString ModTitleBatch(const TTitleDef& def, const QString& oldName) {
    QString batch =
        QStringLiteral("update AppTitle set TitleName='%1',TitleType=%2,TitleValues='%3',Titlebt='%4',"
                       "Titlewy='%5'  where  TitleName='%6'  ")
            .arg(QuotedSql(def.Name), QString::number(def.Type), QuotedSql(def.Values), Flag(def.Required),
                 Flag(def.Unique), QuotedSql(oldName));
    if (def.Name != oldName) {
        batch += Sep() + QStringLiteral("alter table Customer add %1 varchar(100)").arg(def.Name);
        batch += Sep() + QStringLiteral("update Customer set %1=[%2] ").arg(def.Name, oldName);
        batch += Sep() + QStringLiteral("alter table Customer drop %1  ").arg(oldName);
    }
    return batch;
}

QString RemoveTitleBatch(const QString& name) {
    return QStringLiteral("alter table Customer drop COLUMN %1 ").arg(name) + Sep() +
           QStringLiteral("delete from Apptitle where titleName='%1' ").arg(QuotedSql(name));
}

void SaveNewTitle(const TTitleDef& typed) {
    CheckReservedTitleName(typed.Name);
    CheckTitleIdentifier(typed.Name.trimmed()); // the column is made from the trimmed name
    CheckTitleDuplicate(typed.Name);
    ExecSql(NewTitleBatch(typed));
}

void SaveModTitle(const TTitleDef& typed, const QString& oldName) {
    CheckReservedTitleName(typed.Name);
    CheckTitleIdentifier(typed.Name); // change mode uses the name as typed
    ExecSql(ModTitleBatch(typed, oldName));
}

void RemoveTitle(const QString& name) {
    ExecSql(RemoveTitleBatch(name));
}

bool LoadTitle(const QString& name, TTitleDef& def) {
    gDbAccess->OpenQuery(QStringLiteral("select * from APPTitle where TitleName='%1' ").arg(QuotedSql(name)));
    TResultSet* rs = gDbAccess->QueryData;
    if (rs->Eof()) return false;
    def.Name = rs->FieldByName(QStringLiteral("TitleName")).AsString();
    def.Type = rs->FieldByName(QStringLiteral("TitleType")).AsInteger();
    def.Values = rs->FieldByName(QStringLiteral("TitleValues")).AsString();
    def.Required = rs->FieldByName(QStringLiteral("Titlebt")).AsBoolean();
    def.Unique = rs->FieldByName(QStringLiteral("Titlewy")).AsBoolean();
    return true;
}

QStringList TitleNames() {
    gDbAccess->OpenQuery(QStringLiteral("select TitleName from AppTitle "));
    TResultSet* rs = gDbAccess->QueryData;
    QStringList names;
    for (rs->First(); !rs->Eof(); rs->Next())
        names << rs->Fields(0).AsString();
    return names;
}

TFieldCellKinds TitleCellKinds() {
    gDbAccess->OpenQuery(QStringLiteral("select TitleName,TitleType from AppTitle "));
    TResultSet* rs = gDbAccess->QueryData;
    TFieldCellKinds kinds;
    for (rs->First(); !rs->Eof(); rs->Next()) {
        const int type = rs->Fields(1).AsInteger();
        if (type == tkNumber || type == tkDate)
            kinds[rs->Fields(0).AsString()] = type == tkNumber ? TCellKind::Number : TCellKind::Date;
    }
    return kinds;
}

QString TitleNameList() {
    return TitleNames().join(QLatin1Char(','));
}

QString SqlQuoted(const QString& text) {
    return QLatin1Char('\'') + QuotedSql(text) + QLatin1Char('\'');
}

QString UniqueCountSql(const QString& field, const QString& value, const QString& guid, bool change) {
    if (!change)
        return QStringLiteral("select Count(*) from Customer where %1='%2' ").arg(field, QuotedSql(value));
    return QStringLiteral("select Count(*) from Customer where %1='%2' and [GUID]<>'%3' ")
        .arg(field, QuotedSql(value), QuotedSql(guid));
}

QString UniqueTakenMessage(const QString& field, const QString& value) {
    return QStringLiteral("标题名称 ") + field + QStringLiteral(" 输入的信息 ") + value +
           QStringLiteral(" 已经存在，不能重复输入！");
}

QString RequiredEmptyMessage(const QString& field) {
    return field + QStringLiteral("不能为空！");
}

QString PanelDateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}
